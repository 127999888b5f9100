#include "gui/widgets/TaskBar.h"

#include <QEvent>
#include <QToolButton>

namespace tz4::gui {

uclTz4TaskBar::uclTz4TaskBar(QWidget* parent)
    : QWidget(parent), activeColor_(QColor(0xF0, 0xF0, 0xF0)), nonActiveColor_(palette().color(QPalette::Button))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    for (int i = 0; i < TaskList::SlotCount; ++i) {
        auto* button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setCheckable(true);
        button->setAutoFillBackground(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->hide();
        // The click decides the highlight, not the button's own toggling.
        connect(button, &QToolButton::clicked, this, [this, i] { tasks_.click(i); });
        buttons_[size_t(i)] = button;
    }
    connect(&tasks_, &TaskList::changed, this, &uclTz4TaskBar::Refresh);
}

void uclTz4TaskBar::setActiveColor(const QColor& colour)
{
    activeColor_ = colour;
    Refresh();
}

void uclTz4TaskBar::setNonActiveColor(const QColor& colour)
{
    nonActiveColor_ = colour;
    Refresh();
}

QSize uclTz4TaskBar::sizeHint() const { return {200, fontMetrics().height() + 10}; }

void uclTz4TaskBar::Refresh()
{
    const QList<int> used = tasks_.occupiedSlots();
    const QList<QRect> places = tasks_.Layout(rect());
    for (int i = 0; i < TaskList::SlotCount; ++i) {
        QToolButton* button = buttons_[size_t(i)];
        const qsizetype at = used.indexOf(i);
        if (at < 0) {
            button->hide();
            button->setEnabled(false);
            continue;
        }
        const TaskList::Slot& slot = tasks_.slot(i);
        button->setText(slot.caption);
        button->setToolTip(slot.caption);
        // A screen reader names the button by the window it brings back.
        button->setAccessibleName(slot.caption);
        button->setChecked(slot.active);
        QFont font = this->font();
        font.setBold(slot.active);
        button->setFont(font);
        QPalette colours = palette();
        colours.setColor(QPalette::Button, slot.active ? activeColor_ : nonActiveColor_);
        colours.setColor(QPalette::Window, slot.active ? activeColor_ : nonActiveColor_);
        button->setPalette(colours);
        button->setGeometry(places[at]);
        button->setEnabled(true);
        button->show();
    }
}

void uclTz4TaskBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Refresh();
}

void uclTz4TaskBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Refresh();
}

} // namespace tz4::gui
