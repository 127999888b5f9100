#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

namespace tz4 {

// The rules of the window task bar without its widgets: twenty slots, each holding one open
// child window and its caption, one of them highlighted as the active window. A slot whose
// window has been destroyed counts as free.
class TaskList : public QObject {
    Q_OBJECT

public:
    static constexpr int SlotCount = 20;

    struct Slot {
        QPointer<QObject> window;
        QString caption;
        bool active = false;
    };

    using QObject::QObject;

    // Registers `window` in the first free slot as the active one. A window already registered
    // is only selected; with every slot taken the window gets no slot. Returns its slot or -1.
    int AddTask(QObject* window, const QString& caption);
    // Unregisters `window`, whichever slot it holds, so no button outlives its window.
    void RemoveTask(QObject* window);
    // Highlights the slot of `window` and no other.
    void SetTask(QObject* window);
    // The window of the highlighted slot; nullptr when none is.
    QObject* Selected() const;
    // Selects the slot that holds `window`, as a click on it would.
    void setSelected(QObject* window);
    QString SelectedCaption() const;
    // A click on the button of slot `index`: highlights it and raises Click.
    void click(int index);
    // A registered window's caption changed.
    void setCaption(QObject* window, const QString& caption);

    const Slot& slot(int index) const { return slots_[index]; }
    bool occupied(int index) const { return !slots_[index].window.isNull(); }
    int slotOf(const QObject* window) const;
    // Slots in use, lowest first.
    QList<int> occupiedSlots() const;

    // Where the buttons of the occupied slots stand on a strip of `strip`'s size: side by
    // side from the left, each the strip's width shared equally (plus one), full height.
    QList<QRect> Layout(const QRect& strip) const;

signals:
    void Click(int index);
    // Slots, captions or the highlight changed: the strip lays itself out again.
    void changed();

private:
    void highlight(int index);

    Slot slots_[SlotCount];
};

} // namespace tz4
