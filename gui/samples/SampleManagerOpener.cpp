#include "gui/samples/SampleManagerOpener.h"
#include "gui/samples/SampleManagerWindow.h"

#include "gui/mainwin/MainWindow.h"

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
    frame.addChildWindow(window);
    return window;
}

} // namespace tz4::gui
