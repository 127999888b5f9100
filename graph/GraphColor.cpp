#include "graph/GraphColor.h"

namespace tz4 {

QColor colorFromBgr(qint32 bgr)
{
    return QColor(bgrRed(bgr), bgrGreen(bgr), bgrBlue(bgr));
}

qint32 bgrFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return bgrOf(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace tz4
