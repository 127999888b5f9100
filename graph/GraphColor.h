#pragma once

#include <QColor>

namespace tz4 {

// Colours are stored as 24-bit 0x00BBGGRR values; this is the only place that turns them
// into QColor and back.
QColor colorFromBgr(qint32 bgr);
qint32 bgrFromColor(const QColor& color);

// The blue, green and red bytes of a stored colour.
inline int bgrRed(qint32 bgr) { return bgr & 0xFF; }
inline int bgrGreen(qint32 bgr) { return (bgr >> 8) & 0xFF; }
inline int bgrBlue(qint32 bgr) { return (bgr >> 16) & 0xFF; }
inline qint32 bgrOf(int red, int green, int blue) { return blue * 65536 + green * 256 + red; }

} // namespace tz4
