#include "app/cli/InitCommand.h"

#include "core/DataDirectory.h"
#include "core/SerialProperties.h"
#include "core/Startup.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

int runInit(const GlobalOptions& options, const QStringList& args)
{
    if (!args.isEmpty()) {
        std::fprintf(stderr, "tz4 init: unexpected argument '%s'\n", qUtf8Printable(args.first()));
        return 2;
    }
    Startup startup(createDatabaseIfMissing);
    if (!startup.run(options.home))
        return 1;

    // An existing settings file is kept as the operator left it; a new one gets the defaults.
    bool settingsWritten = true;
    if (!QFileInfo::exists(systemFilePath())) {
        SerialSettings serial;
        settingsWritten = SetSystemFile(serial);
        if (!settingsWritten)
            std::fprintf(stderr, "tz4 init: the settings file %s could not be written (see Caution.log)\n",
                         qUtf8Printable(systemFilePath()));
    }
    if (!startup.databaseReady())
        std::fprintf(stderr, "tz4 init: the database %s could not be created (see Caution.log)\n",
                     qUtf8Printable(SystemParam().DatabasePath));
    const bool ok = settingsWritten && startup.databaseReady();

    QTextStream out(stdout);
    if (options.json) {
        const QJsonObject result{{QStringLiteral("home"), dataDirectory()},
                                 {QStringLiteral("settings"), systemFilePath()},
                                 {QStringLiteral("database"), SystemParam().DatabasePath},
                                 {QStringLiteral("ok"), ok}};
        out << QJsonDocument(result).toJson(QJsonDocument::Compact) << Qt::endl;
    } else {
        out << dataDirectory() << Qt::endl;
    }
    return ok ? 0 : 1;
}

} // namespace tz4::cli
