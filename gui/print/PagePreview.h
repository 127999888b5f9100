#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

namespace tz4 {
class PrintControl;
}

namespace tz4::gui {

// The report page on screen at a zoom (the page's width in pixels follows it, its height the
// paper's proportions). Graph and table are painted into a picture kept until they change;
// the labels lie on a layer of their own, so moving one repaints only them. With editing on,
// a click selects the label under the pointer, a drag moves it, the right button asks for its
// pop-up menu, arrow keys nudge it and Delete removes it.
class PagePreview : public QWidget {
    Q_OBJECT

public:
    explicit PagePreview(PrintControl& control, QWidget* parent = nullptr);

    // Share of the page's true size at the screen's resolution (1.0 = 100 %).
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    void setEditable(bool on) { editable_ = on; }
    bool editable() const { return editable_; }

    // Paper millimetres of a widget position, and back.
    QPointF toMM(QPointF pixels) const;
    QPointF toPixels(QPointF mm) const;
    // How often graph and table were painted again (labels alone never repaint them).
    int backgroundPaints() const { return backgroundPaints_; }
    int labelPaints() const { return labelPaints_; }

    QSize sizeHint() const override;

signals:
    // The right button was pressed on a label, which is now selected.
    void labelMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pageChanged(int layers);
    QImage layerImage(QImage::Format format) const;
    double pixelsPerMM() const;

    PrintControl& control_;
    double zoom_ = 1.0;
    bool editable_ = false;
    QImage background_;
    QImage labels_;
    bool backgroundStale_ = true;
    bool labelsStale_ = true;
    int backgroundPaints_ = 0;
    int labelPaints_ = 0;
    // While a label is dragged: where on the label it was taken, in millimetres.
    bool dragging_ = false;
    QPointF grip_;
};

} // namespace tz4::gui
