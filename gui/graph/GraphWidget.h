#pragma once

#include "graph/Tz4Graph.h"

#include <QImage>
#include <QWidget>

namespace tz4 {
class clsTz4DataSets;
class clsTz4GraphDisps;
} // namespace tz4

namespace tz4::gui {

// The graph of a data window on screen: paints through the UI-free graph, keeps the picture
// until the records or the display settings change, and turns mouse gestures into the rubber
// band and into events for its owner. Positions in signals are surface twips.
class GraphWidget : public QWidget {
    Q_OBJECT

public:
    explicit GraphWidget(QWidget* parent = nullptr);

    uclTz4Graph& graph() { return graph_; }
    const uclTz4Graph& graph() const { return graph_; }
    void setDataItems(clsTz4DataSets* items);
    void setDispItems(clsTz4GraphDisps* items);
    // Paints the graph again: call when the records, their analysis or a display set changed.
    void Refresh();

    // How often the graph itself has been painted (the rubber band alone never repaints it).
    int paintCount() const { return paintCount_; }
    QPointF toTwips(QPointF pixels) const;

signals:
    void mouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF twips);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF twips);
    void mouseUp(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF twips);
    // The band was stored in the current display set (`SelectX1` .. `SelectY2`), smaller
    // values first; an empty rectangle after a click without moving.
    void bandFinished(const QRectF& dataRect);
    // A click without moving, on a point of the selected record.
    void pointClicked(const QString& key, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void renderPicture();
    QRect bandPixels() const;

    uclTz4Graph graph_;
    QImage picture_;
    bool stale_ = true;
    int paintCount_ = 0;
};

} // namespace tz4::gui
