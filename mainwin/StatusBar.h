#pragma once

#include <QString>
#include <QtGlobal>

namespace tz4 {

// The main window's status bar as the rest of the program sees it: a progress bar with a
// caption, shared by one activity at a time through its owner code `Locked` (0 free, 1 the
// connection sequence and the measurements). The frame draws it as a widget; headless runs
// draw it on the terminal. Every write calls changed() so a display can follow.
class StatusBar {
public:
    virtual ~StatusBar() = default;

    qint32 Locked() const { return locked_; }
    void setLocked(qint32 owner) { assign(locked_, owner); }
    float Min() const { return min_; }
    void setMin(float value) { assign(min_, value); }
    float Max() const { return max_; }
    void setMax(float value) { assign(max_, value); }
    float Value() const { return value_; }
    void setValue(float value) { assign(value_, value); }
    const QString& Caption() const { return caption_; }
    void setCaption(const QString& text) { assign(caption_, text); }
    // Colours as 24-bit 0x00BBGGRR values.
    quint32 BarColor() const { return barColor_; }
    void setBarColor(quint32 colour) { assign(barColor_, colour); }
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 colour) { assign(foreColor_, colour); }
    const QString& ToolTipText() const { return toolTip_; }
    void setToolTipText(const QString& text) { assign(toolTip_, text); }

    // Redraws the bar now.
    virtual void Refresh() {}

protected:
    virtual void changed() {}

private:
    template <typename T>
    void assign(T& field, const T& value)
    {
        field = value;
        changed();
    }

    qint32 locked_ = 0;
    float min_ = 0;
    float max_ = 100;
    float value_ = 0;
    QString caption_;
    quint32 barColor_ = 0x800000; // dark blue
    quint32 foreColor_ = 0x000000;
    QString toolTip_;
};

// The platform's basic colour numbers 0 to 15 as 0x00BBGGRR values.
quint32 basicColour(int number);

} // namespace tz4
