#pragma once

#include "mainwin/TaskList.h"

#include <QColor>
#include <QWidget>

#include <array>

class QToolButton;

namespace tz4::gui {

// The strip of the main window with one flat button per open child window; the active
// window's button is highlighted. The rules live in TaskList; this only draws them.
class uclTz4TaskBar final : public QWidget {
    Q_OBJECT

public:
    explicit uclTz4TaskBar(QWidget* parent = nullptr);

    TaskList& tasks() { return tasks_; }
    const TaskList& tasks() const { return tasks_; }

    QColor ActiveColor() const { return activeColor_; }
    void setActiveColor(const QColor& colour);
    QColor NonActiveColor() const { return nonActiveColor_; }
    void setNonActiveColor(const QColor& colour);

    // Lays the buttons out again.
    void Refresh();
    QSize sizeHint() const override;

    // The button of slot `index` (hidden while the slot is free).
    QToolButton* button(int index) const { return buttons_[size_t(index)]; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TaskList tasks_;
    std::array<QToolButton*, TaskList::SlotCount> buttons_{};
    QColor activeColor_;
    QColor nonActiveColor_;
};

} // namespace tz4::gui
