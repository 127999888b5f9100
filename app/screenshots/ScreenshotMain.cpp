#include "app/screenshots/Scenes.h"

#include "core/ErrorReporter.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QWidget>

#include <cstdio>

namespace tz4::screens {

QList<Scene> allScenes()
{
    return mainWindowScenes() + dataWindowScenes() + serialPortScenes() + sampleManagerScenes() + printWindowScenes();
}

bool saveWidget(QWidget& widget, const QString& path)
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    return widget.grab().save(path, "PNG");
}

} // namespace tz4::screens

// Renders the program's windows off screen, on the simulated instrument, as PNG files:
// tz4-screenshots DIR [NAME...] (only the named pictures when names are given).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: tz4-screenshots DIR [NAME.png...]\n");
        return 2;
    }
    const QString dir = args.takeFirst();
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "tz4-screenshots: cannot create %s\n", qUtf8Printable(dir));
        return 1;
    }
    // Messages of the scenes go to standard error; questions are answered Yes.
    tz4::StandardErrorReporter reporter(tz4::MessageAnswer::Yes);
    tz4::setErrorReporter(&reporter);
    int failures = 0;
    for (const tz4::screens::Scene& scene : tz4::screens::allScenes()) {
        if (!args.isEmpty() && !args.contains(scene.fileName))
            continue;
        const QString path = QDir(dir).filePath(scene.fileName);
        if (scene.render(path)) {
            std::printf("%s\n", qUtf8Printable(path));
        } else {
            std::fprintf(stderr, "tz4-screenshots: %s was not rendered\n", qUtf8Printable(scene.fileName));
            ++failures;
        }
    }
    tz4::setErrorReporter(nullptr);
    return failures == 0 ? 0 : 1;
}
