#include "app/cli/CommandLine.h"
#include "app/cli/Commands.h"
#include "app/cli/InstrumentSession.h"
#include "data/DatabaseWait.h"
#include "gui/datawin/DataWindow.h"
#include "gui/datawin/DataWindowOpener.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/print/PrintWindowOpener.h"
#include "gui/widgets/MessageBoxReporter.h"
#include "gui/widgets/QtTranslations.h"
#include "gui/mainwin/SplashWindow.h"
#include "gui/mainwin/TerminationSignals.h"
#include "gui/samples/SampleManagerOpener.h"
#include "core/LocalTimeZone.h"
#include "core/Startup.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>

#include <QScopeGuard>

#include <cstdio>
#include <stdexcept>

namespace {

// The window program, once its application object exists: start-up, splash and the frame.
int runWindows(const QStringList& args)
{
    tz4::gui::TerminationSignals closeOnSignal;
    const tz4::cli::CommandLine line = tz4::cli::parseCommandLine(args);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "tz4: %s\n", qUtf8Printable(line.error));
        return 2;
    }
    tz4::cli::applyGlobalOptions(line.options);
    tz4::gui::installQtTranslations();
    tz4::gui::MessageBoxReporter reporter;
    tz4::setErrorReporter(&reporter);
    // The reporter lives on this stack: every way out restores the standard one.
    const auto done = [](int code) {
        tz4::setErrorReporter(nullptr);
        return code;
    };

    QApplication::setOverrideCursor(Qt::WaitCursor);
    tz4::Startup startup(tz4::createDatabaseIfMissing);
    if (!startup.run(line.options.home)) {
        QApplication::restoreOverrideCursor();
        return done(1);
    }
    {
        tz4::gui::SplashWindow splash;
        splash.showAndWait();
    }
    QApplication::restoreOverrideCursor();
    // Stopped before the main window opened: nothing was loaded, so nothing is written back.
    if (tz4::gui::TerminationSignals::requested())
        return done(closeOnSignal.exitCode());

    tz4::RealClock clock;
    std::unique_ptr<tz4::SerialLine> serial;
    try {
        serial = tz4::cli::makeSerialLine(clock, line.options);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "tz4: %s\n", error.what());
        return done(2);
    }
    tz4::gui::MainWindow window(clock, *serial);
    // A signal during a measurement cancels it safely before the windows close.
    closeOnSignal.watch(&window.control());
    // A database another program holds is waited for with a word on the status bar, and a
    // stop signal ends the wait.
    tz4::DatabaseWait::setNotice([&window](const QString& text) { window.showBusyNotice(text); });
    tz4::DatabaseWait::setStopRequest([] { return tz4::gui::TerminationSignals::requested(); });
    const auto forgetWait = qScopeGuard([] {
        tz4::gui::DataWindow::setPrintOpener({});
        tz4::DatabaseWait::setNotice({});
        tz4::DatabaseWait::setStopRequest({});
    });
    tz4::gui::DataWindow::setPrintOpener([&window](const QStringList& keys) { tz4::gui::openPrintWindow(window, keys); });
    window.show();
    // Operators find and open their measurements in the sample manager: it opens with the frame.
    const QString database = tz4::SystemParam().DatabasePath;
    window.setDataManagerOpener([&window, database] { tz4::gui::openSampleManager(window, database); });
    tz4::gui::openSampleManager(window, database);
    tz4::gui::openDataWindows(tz4::SystemParam().DatabasePath, line.open, &window.control(),
                              [&window](QWidget* child) { window.addChildWindow(child); });
    return done(QApplication::exec());
}

} // namespace

int main(int argc, char** argv)
{
    tz4::readLocalTimeZoneOnce();
    const QStringList args = tz4::cli::commandArguments(argc, argv);

    // Headless sub-commands must run without a display.
    if (tz4::cli::needsPainting(args)) {
        // Pictures are painted off screen, with or without a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return tz4::cli::run(args);
    }
    if (tz4::cli::isHeadless(args)) {
        QCoreApplication app(argc, argv);
        return tz4::cli::run(args);
    }
    QApplication app(argc, argv);
    // The desktop matches the window to its launcher and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tz4desktop.TZ4Desktop"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tz4/icons/org.tz4desktop.TZ4Desktop.svg")));
    return runWindows(args);
}
