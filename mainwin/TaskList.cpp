#include "mainwin/TaskList.h"

#include "core/ErrorLocation.h"

namespace tz4 {

int TaskList::slotOf(const QObject* window) const
{
    if (!window)
        return -1;
    for (int i = 0; i < SlotCount; ++i)
        if (slots_[i].window == window)
            return i;
    return -1;
}

QList<int> TaskList::occupiedSlots() const
{
    QList<int> used;
    for (int i = 0; i < SlotCount; ++i)
        if (occupied(i))
            used << i;
    return used;
}

void TaskList::highlight(int index)
{
    for (int i = 0; i < SlotCount; ++i)
        slots_[i].active = i == index && occupied(i);
}

int TaskList::AddTask(QObject* window, const QString& caption)
{
    EnterProcedure here("uclTz4TaskBar:AddTask");
    if (const int existing = slotOf(window); existing >= 0) {
        click(existing);
        return existing;
    }
    for (int i = 0; i < SlotCount; ++i) {
        if (occupied(i))
            continue;
        slots_[i] = {window, caption, false};
        highlight(i);
        emit changed();
        return i;
    }
    return -1;
}

void TaskList::RemoveTask(QObject* window)
{
    EnterProcedure here("uclTz4TaskBar:RemoveTask");
    for (int i = 0; i < SlotCount; ++i) {
        if (window && slots_[i].window == window)
            slots_[i] = {};
    }
    emit changed();
}

void TaskList::SetTask(QObject* window)
{
    EnterProcedure here("uclTz4TaskBar:SetTask");
    highlight(slotOf(window));
    emit changed();
}

QObject* TaskList::Selected() const
{
    for (const Slot& s : slots_)
        if (s.active && s.window)
            return s.window;
    return nullptr;
}

void TaskList::setSelected(QObject* window)
{
    if (const int index = slotOf(window); index >= 0)
        click(index);
}

QString TaskList::SelectedCaption() const
{
    for (const Slot& s : slots_)
        if (s.active && s.window)
            return s.caption;
    return {};
}

void TaskList::click(int index)
{
    if (index < 0 || index >= SlotCount || !occupied(index))
        return;
    highlight(index);
    emit changed();
    emit Click(index);
}

void TaskList::setCaption(QObject* window, const QString& caption)
{
    if (const int index = slotOf(window); index >= 0 && slots_[index].caption != caption) {
        slots_[index].caption = caption;
        emit changed();
    }
}

QList<QRect> TaskList::Layout(const QRect& strip) const
{
    const QList<int> used = occupiedSlots();
    QList<QRect> places;
    if (used.isEmpty())
        return places;
    const int width = strip.width() / int(used.size()) + 1;
    int left = strip.left();
    for (int i = 0; i < used.size(); ++i) {
        places << QRect(left, strip.top(), width, strip.height());
        left += width;
    }
    return places;
}

} // namespace tz4
