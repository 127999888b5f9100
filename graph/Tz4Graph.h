#pragma once

#include "graph/RubberBand.h"
#include "graph/Tz4GraphDisps.h"

#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QString>

#include <memory>

class QPainter;

namespace tz4 {

class clsTz4DataSet;
class clsTz4DataSets;
class GraphSurface;

// The graph of a data window without any window: it scales the records of a collection onto
// a plot area, draws frame, ticks, labels and curves with the selected display set on any
// QPainter, and keeps the rubber band the user drags. All positions are in twips.
class uclTz4Graph {
public:
    // Where the drawing goes: the graph's own picture, or a page it is placed on.
    enum class Surface { Own, Foreign };

    uclTz4Graph();
    ~uclTz4Graph();
    uclTz4Graph(const uclTz4Graph&) = delete;
    uclTz4Graph& operator=(const uclTz4Graph&) = delete;

    // The records drawn and the display sets; both are owned by the caller and created empty
    // when none was given.
    clsTz4DataSets* DataItems();
    void setDataItems(clsTz4DataSets* items);
    clsTz4GraphDisps* DispItems();
    void setDispItems(clsTz4GraphDisps* items);
    clsTz4DataSet* SelectedItem();
    void setSelectedItem(const clsTz4DataSet* record);
    // The display set of the selected record's mode (the first set without records).
    clsTz4GraphDisp* currentDisp();

    // The component's inner size in twips, used on a foreign surface (the own picture is the
    // whole device).
    double Width() const { return width_; }
    double Height() const { return height_; }
    void setSize(double widthTwips, double heightTwips);

    float OriginLeft() const { return originLeft_; }
    void setOriginLeft(float value) { originLeft_ = value; }
    float OriginTop() const { return originTop_; }
    void setOriginTop(float value) { originTop_ = value; }
    float PlotLeft() const { return plotLeft_; }
    float PlotTop() const { return plotTop_; }
    float PlotWidth() const { return plotWidth_; }
    float PlotHeight() const { return plotHeight_; }
    float PosXMin() const { return posXMin_; }
    float PosXMax() const { return posXMax_; }
    float PosYMin() const { return posYMin_; }
    float PosYMax() const { return posYMax_; }
    float PosXStp() const { return posXStp_; }
    float PosYStp() const { return posYStp_; }
    float ScaleFactorX() const { return scaleFactorX_; }
    float ScaleFactorY() const { return scaleFactorY_; }
    const QString& ScaleXFormat() const { return scaleXFormat_; }
    void setScaleXFormat(const QString& format) { scaleXFormat_ = format; }
    const QString& ScaleYFormat() const { return scaleYFormat_; }
    void setScaleYFormat(const QString& format) { scaleYFormat_ = format; }
    const QString& TitleX() const { return titleX_; }
    void setTitleX(const QString& title) { titleX_ = title; }
    const QString& TitleY() const { return titleY_; }
    void setTitleY(const QString& title) { titleY_ = title; }
    // The axis titles and the X label picture follow the selected record's kind (in windows,
    // plot files and report pages); off, they stay as set.
    bool TitlesFollowRecord() const { return titlesFollowRecord_; }
    void setTitlesFollowRecord(bool on) { titlesFollowRecord_ = on; }
    bool AutoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool on) { autoRedraw_ = on; }
    bool RectPoint() const { return rectPoint_; }
    void setRectPoint(bool on) { rectPoint_ = on; }
    bool PictureEnabled() const { return pictureEnabled_; }
    void setPictureEnabled(bool on) { pictureEnabled_ = on; }
    const QFont& Font() const { return font_; }
    void setFont(const QFont& font) { font_ = font; }

    // Data value <-> surface position.
    float xPos(float x) const;
    float yPos(float y) const;
    float xData(float px) const;
    float yData(float py) const;

    // Plot rectangle, ranges, steps and factors for a surface of the given size (twips).
    void RefreshBaseParam(const GraphSurface& surface, double innerWidth, double innerHeight, Surface kind);
    // True when the ranges, steps and factors allow anything to be drawn.
    bool Plottable() const;
    void ChartSet(GraphSurface& surface, const clsTz4GraphDisp& disp, double innerWidth);

    // The paint step; runs only with AutoRedraw on, or from Refresh.
    void paint(QPainter& painter, Surface kind = Surface::Own);
    void Refresh(QPainter& painter, Surface kind = Surface::Own);

    void DotPoint(GraphSurface& surface, int style, double x, double y, double size, qint32 color, bool filled);
    void GraphLine(GraphSurface& surface, const clsTz4DataSet& record, const clsTz4GraphDisp& disp, bool faded);
    static qint32 OverLayColor(const clsTz4GraphDisp& disp, qint32 color);
    // The line y = a x + b cut to the shown range, in data units.
    QLineF ClipWFSegment(float a, float b) const;
    void ClipWFLine(GraphSurface& surface, float a, float b, int penStyle, qint32 color);

    // Rubber band. A left press starts it, moves stretch it, the release stores it in the
    // current display set with its smaller values first; true when that happened.
    void MouseDown(Qt::MouseButtons buttons, QPointF at);
    void MouseMove(QPointF at);
    bool MouseUp(QPointF at);
    const RubberBand& Band() const { return band_; }

    // The point of the selected record whose marker lies under a surface position; -1 for none.
    int PointAt(QPointF at) const;

    // The plot area in twips.
    QRectF plotRect() const { return {plotLeft_, plotTop_, plotWidth_, plotHeight_}; }

private:
    void drawRecord(GraphSurface& surface, const clsTz4DataSet& record, const clsTz4GraphDisp& disp, bool faded,
                    bool withLines);

    clsTz4DataSets* dataItems_ = nullptr;
    clsTz4GraphDisps* dispItems_ = nullptr;
    std::unique_ptr<clsTz4DataSets> ownDataItems_;
    std::unique_ptr<clsTz4GraphDisps> ownDispItems_;

    double width_ = 0, height_ = 0;
    float originLeft_ = 0, originTop_ = 0;
    float plotLeft_ = 0, plotTop_ = 0, plotWidth_ = 1, plotHeight_ = 1;
    float posXMin_ = 0, posXMax_ = 0, posYMin_ = 0, posYMax_ = 0;
    float posXStp_ = 0, posYStp_ = 0;
    float scaleFactorX_ = 0, scaleFactorY_ = 0;
    QString scaleXFormat_, scaleYFormat_, titleX_, titleY_;
    bool titlesFollowRecord_ = false;
    bool autoRedraw_ = true, rectPoint_ = false, pictureEnabled_ = true;
    bool paintNow_ = false;
    QFont font_;
    RubberBand band_;
};

} // namespace tz4
