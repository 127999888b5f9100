#include "graph/Tz4Graph.h"

#include "core/Keys.h"
#include "data/Tz4DataSets.h"

#include <cmath>

namespace tz4 {

uclTz4Graph::uclTz4Graph() = default;
uclTz4Graph::~uclTz4Graph() = default;

clsTz4DataSets* uclTz4Graph::DataItems()
{
    if (!dataItems_) {
        ownDataItems_ = std::make_unique<clsTz4DataSets>();
        dataItems_ = ownDataItems_.get();
    }
    return dataItems_;
}

void uclTz4Graph::setDataItems(clsTz4DataSets* items)
{
    dataItems_ = items;
}

clsTz4GraphDisps* uclTz4Graph::DispItems()
{
    if (!dispItems_) {
        ownDispItems_ = std::make_unique<clsTz4GraphDisps>();
        dispItems_ = ownDispItems_.get();
    }
    return dispItems_;
}

void uclTz4Graph::setDispItems(clsTz4GraphDisps* items)
{
    dispItems_ = items;
}

clsTz4DataSet* uclTz4Graph::SelectedItem()
{
    return DataItems()->Count() == 0 ? nullptr : DataItems()->SelectedItem();
}

void uclTz4Graph::setSelectedItem(const clsTz4DataSet* record)
{
    DataItems()->setSelectedItem(record);
}

clsTz4GraphDisp* uclTz4Graph::currentDisp()
{
    clsTz4GraphDisps* disps = DispItems();
    if (disps->Count() == 0)
        return nullptr;
    const clsTz4DataSet* selected = SelectedItem();
    if (!selected)
        return disps->Item(1);
    clsTz4GraphDisp* disp = disps->Item(GetKeyType(selected->Key()));
    return disp ? disp : disps->Item(1);
}

void uclTz4Graph::setSize(double widthTwips, double heightTwips)
{
    width_ = widthTwips;
    height_ = heightTwips;
}

float uclTz4Graph::xPos(float x) const { return (x - posXMin_) * scaleFactorX_ + plotLeft_; }
float uclTz4Graph::yPos(float y) const { return plotHeight_ + plotTop_ - (y - posYMin_) * scaleFactorY_; }

float uclTz4Graph::xData(float px) const
{
    return scaleFactorX_ == 0 ? posXMin_ : (px - plotLeft_) / scaleFactorX_ + posXMin_;
}

float uclTz4Graph::yData(float py) const
{
    return scaleFactorY_ == 0 ? posYMin_ : (plotHeight_ + plotTop_ - py) / scaleFactorY_ + posYMin_;
}

bool uclTz4Graph::Plottable() const
{
    return posXMax_ > 0 && posYMax_ > 0 && posXStp_ > 0 && posYStp_ > 0 && scaleFactorX_ > 0 && scaleFactorY_ > 0
        && std::isfinite(scaleFactorX_) && std::isfinite(scaleFactorY_);
}

void uclTz4Graph::MouseDown(Qt::MouseButtons buttons, QPointF at)
{
    if (pictureEnabled_ && (buttons & Qt::LeftButton) && !band_.dragging())
        band_.start(at);
}

void uclTz4Graph::MouseMove(QPointF at)
{
    if (pictureEnabled_)
        band_.moveTo(at);
}

bool uclTz4Graph::MouseUp(QPointF at)
{
    if (!pictureEnabled_ || !band_.dragging())
        return false;
    band_.finish(at);
    clsTz4GraphDisp* disp = currentDisp();
    if (!disp)
        return false;
    const float x1 = xData(float(band_.startPoint().x()));
    const float x2 = xData(float(at.x()));
    const float y1 = yData(float(band_.startPoint().y()));
    const float y2 = yData(float(at.y()));
    disp->setSelectX1(std::min(x1, x2));
    disp->setSelectX2(std::max(x1, x2));
    disp->setSelectY1(std::min(y1, y2));
    disp->setSelectY2(std::max(y1, y2));
    return true;
}

int uclTz4Graph::PointAt(QPointF at) const
{
    const clsTz4DataSet* record = dataItems_ ? dataItems_->SelectedItem() : nullptr;
    if (!record || !Plottable())
        return -1;
    const clsTz4GraphDisp* disp = dispItems_ ? dispItems_->Item(GetKeyType(record->Key())) : nullptr;
    // Within the marker, and never less than a small reach so tiny markers can still be hit.
    const double reach = std::max(60.0, disp ? 1.7 * std::max(disp->DotSize(), disp->SelectSize()) : 60.0);
    int nearest = -1;
    double best = reach * reach;
    for (int i = 0; i < record->DataCount(); ++i) {
        const float x = record->ValueX(i);
        const float y = record->ValueY(i);
        if (!std::isfinite(x) || !std::isfinite(y) || x < posXMin_ || x > posXMax_ || y < posYMin_ || y > posYMax_)
            continue;
        const double dx = xPos(x) - at.x();
        const double dy = yPos(y) - at.y();
        if (dx * dx + dy * dy <= best) {
            best = dx * dx + dy * dy;
            nearest = i;
        }
    }
    return nearest;
}

} // namespace tz4
