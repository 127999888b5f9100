#include "mainwin/StatusBar.h"

namespace tz4 {

void StatusBar::setLocked(qint32 owner)
{
    locked_ = owner;
    changed();
}

void StatusBar::setMin(float value)
{
    min_ = value;
    changed();
}

void StatusBar::setMax(float value)
{
    max_ = value;
    changed();
}

void StatusBar::setValue(float value)
{
    value_ = value;
    changed();
}

void StatusBar::setCaption(const QString& text)
{
    caption_ = text;
    changed();
}

void StatusBar::setBarColor(quint32 colour)
{
    barColor_ = colour;
    changed();
}

void StatusBar::setForeColor(quint32 colour)
{
    foreColor_ = colour;
    changed();
}

void StatusBar::setToolTipText(const QString& text)
{
    toolTip_ = text;
    changed();
}

quint32 basicColour(int number)
{
    static const quint32 colours[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                        0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                        0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return number >= 0 && number < 16 ? colours[number] : 0;
}

} // namespace tz4
