// `tz4`: answers the commands that only read the database itself and hands everything else,
// the window program included, to the whole program.
#include "app/cli/CommandLine.h"
#include "app/cli/LeanCommands.h"
#include "core/LocalTimeZone.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {

// Beside this program in a build tree; under libexec once installed.
QString wholeProgram()
{
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {here.filePath(QStringLiteral("tz4-desktop")), here.filePath(QStringLiteral(TZ4_DESKTOP_FROM_BINDIR))}) {
        if (QFileInfo(candidate).isExecutable())
            return QDir::cleanPath(candidate);
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    tz4::readLocalTimeZoneOnce();
    const QStringList args = tz4::cli::commandArguments(argc, argv);
    QByteArray program;
    {
        QCoreApplication app(argc, argv);
        if (const std::optional<int> code = tz4::cli::runLean(args))
            return *code;
        program = QFile::encodeName(wholeProgram());
    }
    if (program.isEmpty()) {
        std::fprintf(stderr, "tz4: the program tz4-desktop is missing beside %s; reinstall the package\n", argv[0]);
        return 1;
    }
    // The name stays "tz4": the desktop and the accessibility bus know the program by it.
    execv(program.constData(), argv);
    std::perror("tz4: cannot start tz4-desktop");
    return 1;
}
