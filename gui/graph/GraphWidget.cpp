#include "gui/graph/GraphWidget.h"

#include "data/Tz4DataSets.h"
#include "graph/GraphSurface.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace tz4::gui {

namespace {
constexpr double kInchesPerMeter = 0.0254;
}

GraphWidget::GraphWidget(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(160, 100);
    graph_.setTitlesFollowRecord(true);
}

void GraphWidget::setDataItems(clsTz4DataSets* items)
{
    graph_.setDataItems(items);
    Refresh();
}

void GraphWidget::setDispItems(clsTz4GraphDisps* items)
{
    graph_.setDispItems(items);
    Refresh();
}

void GraphWidget::Refresh()
{
    stale_ = true;
    update();
}

QPointF GraphWidget::toTwips(QPointF pixels) const
{
    return {pixels.x() * twipsPerPixelX(*this), pixels.y() * twipsPerPixelY(*this)};
}

void GraphWidget::renderPicture()
{
    const qreal ratio = devicePixelRatioF();
    picture_ = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
    picture_.setDotsPerMeterX(int(std::lround(logicalDpiX() / kInchesPerMeter)));
    picture_.setDotsPerMeterY(int(std::lround(logicalDpiY() / kInchesPerMeter)));
    // What a display set leaves unpainted follows the window's palette.
    picture_.fill(palette().color(QPalette::Window));
    QPainter painter(&picture_);
    graph_.setFont(font());
    graph_.Refresh(painter);
    ++paintCount_;
    stale_ = false;
}

QRect GraphWidget::bandPixels() const
{
    const QRectF twips = graph_.Band().rect();
    const double tx = twipsPerPixelX(*this);
    const double ty = twipsPerPixelY(*this);
    return QRectF(twips.left() / tx, twips.top() / ty, twips.width() / tx, twips.height() / ty).toAlignedRect();
}

void GraphWidget::paintEvent(QPaintEvent*)
{
    if (stale_ || picture_.size() != (QSizeF(size()) * devicePixelRatioF()).toSize())
        renderPicture();
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    if (graph_.Band().dragging()) {
        // Drawn over the picture, which stays as it is.
        painter.setPen(QPen(QColor(64, 64, 64), 0, Qt::DotLine));
        painter.setBrush(QColor(128, 128, 128, 48));
        painter.drawRect(bandPixels());
    }
}

void GraphWidget::resizeEvent(QResizeEvent* event)
{
    stale_ = true;
    QWidget::resizeEvent(event);
}

void GraphWidget::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = toTwips(event->position());
    graph_.MouseDown(event->buttons(), at);
    if (graph_.Band().dragging())
        update();
    emit mouseDown(event->buttons(), event->modifiers(), at);
}

void GraphWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = toTwips(event->position());
    if (graph_.Band().dragging()) {
        const QRect before = bandPixels();
        graph_.MouseMove(at);
        update(before.united(bandPixels()).adjusted(-2, -2, 2, 2));
    }
    emit mouseMove(event->buttons(), event->modifiers(), at);
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = toTwips(event->position());
    const QPointF start = graph_.Band().startPoint();
    const bool wasDragging = graph_.Band().dragging();
    if (graph_.MouseUp(at)) {
        const clsTz4GraphDisp* disp = graph_.currentDisp();
        const QRectF band(QPointF(disp->SelectX1(), disp->SelectY1()), QPointF(disp->SelectX2(), disp->SelectY2()));
        Refresh();
        emit bandFinished(band);
    } else if (wasDragging) {
        update();
    }
    if (wasDragging && start == at) {
        const int index = graph_.PointAt(at);
        const clsTz4DataSet* selected = graph_.SelectedItem();
        if (index >= 0 && selected)
            emit pointClicked(selected->Key(), index);
    }
    emit mouseUp(event->button(), event->modifiers(), at);
}

} // namespace tz4::gui
