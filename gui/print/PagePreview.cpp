#include "gui/print/PagePreview.h"

#include "print/PrintControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace tz4::gui {

namespace {

constexpr double kMMPerInch = 25.4;
constexpr double kInchesPerMeter = 0.0254;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;
// Arrow keys move a label a millimetre, with Shift a tenth.
constexpr double kNudgeMM = 1.0;
constexpr double kFineNudgeMM = 0.1;

} // namespace

PagePreview::PagePreview(PrintControl& control, QWidget* parent)
    : QWidget(parent), control_(control)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(&control_, &PrintControl::pageChanged, this, &PagePreview::pageChanged);
    connect(&control_, &PrintControl::selectionChanged, this, qOverload<>(&QWidget::update));
    setZoom(zoom_);
}

double PagePreview::pixelsPerMM() const
{
    return logicalDpiX() / kMMPerInch * zoom_;
}

QSize PagePreview::sizeHint() const
{
    const QSizeF paper = control_.page().device().paperMM;
    return QSizeF(paper.width() * pixelsPerMM(), paper.height() * pixelsPerMM()).toSize();
}

void PagePreview::setZoom(double zoom)
{
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    backgroundStale_ = labelsStale_ = true;
    setFixedSize(sizeHint());
    update();
}

QPointF PagePreview::toMM(QPointF pixels) const
{
    return pixels / pixelsPerMM();
}

QPointF PagePreview::toPixels(QPointF mm) const
{
    return mm * pixelsPerMM();
}

void PagePreview::pageChanged(int layers)
{
    if (layers & (PrintPage::Paper | PrintPage::GraphLayer | PrintPage::TableLayer))
        backgroundStale_ = true;
    if (layers & PrintPage::LabelLayer)
        labelsStale_ = true;
    // The paper may have changed size.
    if (size() != sizeHint())
        setZoom(zoom_);
    update();
}

// A picture of the widget's size whose resolution is the zoomed screen's, so the page paints
// itself at the size shown.
QImage PagePreview::layerImage(QImage::Format format) const
{
    const qreal ratio = devicePixelRatioF();
    QImage image((QSizeF(size()) * ratio).toSize(), format);
    image.setDevicePixelRatio(ratio);
    const int dotsPerMeter = int(std::lround(logicalDpiX() * zoom_ / kInchesPerMeter));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

void PagePreview::paintEvent(QPaintEvent*)
{
    if (backgroundStale_ || background_.size() != (QSizeF(size()) * devicePixelRatioF()).toSize()) {
        background_ = layerImage(QImage::Format_RGB32);
        background_.fill(Qt::white);
        QPainter painter(&background_);
        control_.page().paint(painter, PrintPage::Paper | PrintPage::GraphLayer | PrintPage::TableLayer);
        backgroundStale_ = false;
        ++backgroundPaints_;
    }
    if (labelsStale_ || labels_.size() != background_.size()) {
        labels_ = layerImage(QImage::Format_ARGB32_Premultiplied);
        labels_.fill(Qt::transparent);
        QPainter painter(&labels_);
        control_.page().paint(painter, PrintPage::LabelLayer);
        labelsStale_ = false;
        ++labelPaints_;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
    painter.drawImage(0, 0, labels_);
    if (const clsTz4PrintLabel* label = control_.selectedLabel(); label && editable_) {
        const QRectF mm = control_.page().labelRect(*label);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(toPixels(mm.topLeft()), toPixels(mm.bottomRight())).adjusted(-2, -2, 2, 2));
    }
}

void PagePreview::mousePressEvent(QMouseEvent* event)
{
    if (!editable_)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPointF mm = toMM(event->position());
    clsTz4PrintLabel* label = control_.selectLabelAt(mm);
    if (!label)
        return;
    if (event->button() == Qt::RightButton) {
        emit labelMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        grip_ = mm - QPointF(label->mmLeft(), label->mmTop());
    }
}

void PagePreview::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        control_.moveSelectedLabel(toMM(event->position()) - grip_);
}

void PagePreview::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ && event->button() == Qt::LeftButton) {
        control_.moveSelectedLabel(toMM(event->position()) - grip_);
        dragging_ = false;
    }
}

void PagePreview::keyPressEvent(QKeyEvent* event)
{
    const clsTz4PrintLabel* label = control_.selectedLabel();
    if (!editable_ || !label) {
        QWidget::keyPressEvent(event);
        return;
    }
    const double step = event->modifiers() & Qt::ShiftModifier ? kFineNudgeMM : kNudgeMM;
    QPointF at(label->mmLeft(), label->mmTop());
    switch (event->key()) {
    case Qt::Key_Left: at.rx() -= step; break;
    case Qt::Key_Right: at.rx() += step; break;
    case Qt::Key_Up: at.ry() -= step; break;
    case Qt::Key_Down: at.ry() += step; break;
    case Qt::Key_Delete: control_.DeleteSelectedLabel(); return;
    default: QWidget::keyPressEvent(event); return;
    }
    control_.moveSelectedLabel(at);
}

} // namespace tz4::gui
