#pragma once

#include <QList>

class QMenu;

namespace tz4::gui {

// A child window of the frame that has menus of its own. While it is the active window the
// frame shows them in its menu bar, as multiple-document programs do: a menu whose title the
// frame also has (File, Measurement) is merged into the frame's, the others stand before the
// Window menu. The window hides its own menu bar meanwhile and shows it again when it is
// taken out of the frame.
class ChildMenus {
public:
    virtual ~ChildMenus() = default;
    virtual QList<QMenu*> childMenus() const = 0;
    virtual void setMenusInFrame(bool inFrame) = 0;
};

} // namespace tz4::gui
