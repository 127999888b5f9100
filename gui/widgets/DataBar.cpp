#include "gui/widgets/DataBar.h"

#include "graph/GraphColor.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace tz4::gui {

uclTz4DataBar::uclTz4DataBar(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void uclTz4DataBar::Refresh() { repaint(); }

void uclTz4DataBar::changed()
{
    if (toolTip() != ToolTipText())
        setToolTip(ToolTipText());
    update();
}

QSize uclTz4DataBar::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 20, line + 8};
}

double uclTz4DataBar::filledFraction() const
{
    const double range = double(Max()) - double(Min());
    if (range <= 0)
        return 0;
    return qBound(0.0, (double(Value()) - double(Min())) / range, 1.0);
}

void uclTz4DataBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect();
    painter.fillRect(frame, palette().base());
    const QRect inner = frame.adjusted(2, 2, -2, -2);
    const QColor bar = colorFromBgr(qint32(BarColor()));
    const QRect filled(inner.topLeft(), QSize(int(inner.width() * filledFraction() + 0.5), inner.height()));
    painter.fillRect(filled, bar);

    const QString text = Caption();
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    painter.setPen(colorFromBgr(qint32(ForeColor())));
    painter.setClipRect(inner.adjusted(filled.width(), 0, 0, 0));
    painter.drawText(inner, flags, text);
    // Over the filled part the caption takes whichever of black and white stands out more.
    painter.setClipRect(filled);
    painter.setPen(bar.lightnessF() < 0.5 ? Qt::white : Qt::black);
    painter.drawText(inner, flags, text);
    painter.setClipping(false);

    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = frame;
    option.lineWidth = 1;
    option.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &option, &painter, this);
}

} // namespace tz4::gui
