#pragma once

#include <QRegularExpression>
#include <QString>

namespace tz4::gui {

// A menu caption as a plain label or title: "Work Function(&W)" reads "Work Function".
inline QString withoutAccelerator(QString caption)
{
    static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)$"));
    caption.remove(accelerator);
    return caption.remove(QLatin1Char('&'));
}

} // namespace tz4::gui
