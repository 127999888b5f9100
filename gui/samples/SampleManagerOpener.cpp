#include "gui/samples/SampleManagerOpener.h"
#include "gui/samples/SampleManagerWindow.h"

#include "gui/mainwin/MainWindow.h"
#include "gui/print/PrintWindowOpener.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace tz4::gui {

SampleManagerWindow* openSampleManager(MainWindow& frame, const QString& databasePath)
{
    for (QMdiSubWindow* window : frame.mdiArea()->subWindowList()) {
        if (auto* open = qobject_cast<SampleManagerWindow*>(window->widget())) {
            if (window->isMinimized())
                window->showNormal();
            frame.mdiArea()->setActiveSubWindow(window);
            return open;
        }
    }
    auto* window = new SampleManagerWindow(databasePath, &frame);
    // File > Print prints the chosen records with their kind's default template.
    window->setPrintOpener([&frame](const QStringList& keys) { openPrintWindow(frame, keys); });
    frame.addChildWindow(window);
    return window;
}

} // namespace tz4::gui
