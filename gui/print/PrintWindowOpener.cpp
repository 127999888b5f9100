#include "gui/print/PrintWindowOpener.h"
#include "gui/print/PrintWindow.h"

#include "core/SystemParam.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/mainwin/WindowState.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace tz4::gui {

namespace {

// Room beside the page for the zoom bar, frames and, with editing on, the property grid.
constexpr int kBesidePage = 60;
constexpr int kGridWidth = 380;
// Above the page: the window's title and menu bars.
constexpr int kAbovePage = 90;
constexpr double kPaperAspect = 210.0 / 297.0;

} // namespace

PrintWindow* openPrintWindow(MainWindow& frame, const QStringList& keys, qint32 templateNo)
{
    auto* window = new PrintWindow(SystemParam().DatabasePath, keys, templateNo);
    if (!window->hasRecords()) {
        delete window;
        return nullptr;
    }
    QMdiSubWindow* sub = frame.addChildWindow(window);
    // The first time, as tall as the frame allows, so the page can be read.
    WindowState remembered;
    if (!remembered.restoreChild(*sub, window->objectName())) {
        const QSize area = frame.mdiArea()->viewport()->size();
        const int width = int((area.height() - kAbovePage) * kPaperAspect) + kBesidePage
            + (window->grid() ? kGridWidth : 0);
        sub->setGeometry(0, 0, std::min(width, area.width()), area.height());
    }
    return window;
}

} // namespace tz4::gui
