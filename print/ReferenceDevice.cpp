#include "print/ReferenceDevice.h"

#include <QImage>

namespace tz4 {

const QPaintDevice& referenceDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        // 1440 per inch in dots per metre.
        image.setDotsPerMeterX(56693);
        image.setDotsPerMeterY(56693);
        return image;
    }();
    return device;
}

} // namespace tz4
