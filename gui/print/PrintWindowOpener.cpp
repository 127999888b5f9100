#include "gui/print/PrintWindowOpener.h"
#include "gui/print/PrintWindow.h"

#include "core/SystemParam.h"
#include "gui/mainwin/MainWindow.h"

#include <QMdiSubWindow>

namespace tz4::gui {

PrintWindow* openPrintWindow(MainWindow& frame, const QStringList& keys, qint32 templateNo)
{
    auto* window = new PrintWindow(SystemParam().DatabasePath, keys, templateNo);
    if (!window->hasRecords()) {
        delete window;
        return nullptr;
    }
    frame.addChildWindow(window);
    return window;
}

} // namespace tz4::gui
