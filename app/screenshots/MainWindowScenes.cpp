#include "app/screenshots/Scenes.h"

#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/MessageCatalog.h"
#include "core/SystemParam.h"
#include "gui/mainwin/MainWindow.h"
#include "mainwin/MainControl.h"
#include "sim/SimulatorLine.h"

#include <QTemporaryDir>

namespace tz4::screens {

namespace {

// The frame on a cold simulated instrument ten minutes into its warm-up: the countdown on the
// status bar, the menus in `language`.
bool renderWarmingFrame(const QString& path, Language language)
{
    QTemporaryDir home;
    if (!home.isValid())
        return false;
    setDataDirectory(home.path());
    InitSystemParam();
    setLanguage(language);
    VirtualClock clock;
    sim::SimOptions options;
    options.cold = true;
    sim::SimulatorLine line(clock, options);
    bool saved = false;
    {
        gui::MainWindow frame(clock, line);
        frame.show();
        if (frame.control().GetBodyStatus() != MainControl::WarmingUp)
            return false;
        clock.advance(10 * 60 * 1000);
        saved = saveWidget(frame, path);
        frame.close();
    }
    setLanguage(Language::English);
    return saved;
}

} // namespace

QList<Scene> mainWindowScenes()
{
    return {
        {QStringLiteral("main.png"), [](const QString& path) { return renderWarmingFrame(path, Language::English); }},
        {QStringLiteral("main-ja.png"), [](const QString& path) { return renderWarmingFrame(path, Language::Japanese); }},
    };
}

} // namespace tz4::screens
