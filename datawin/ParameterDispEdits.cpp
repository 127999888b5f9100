#include "datawin/DataWindowControl.h"
#include "datawin/ParameterGridModel.h"

#include "data/Tz4DataSet.h"
#include "graph/Tz4GraphDisp.h"

#include <cmath>
#include <limits>

// Edits on the Disp tab: the graph's ranges, shared by every record of the window, and the
// display set of the selected record's mode.
namespace tz4 {

namespace {

bool inShortRange(double value) { return value >= 0 && value <= std::numeric_limits<qint16>::max(); }

} // namespace

bool ParameterGridModel::writeDisp(const QString& key, clsTz4GraphDisp* disp, const QVariant&, double number,
                                   bool isNumber)
{
    if (!isNumber)
        return false;
    static const QStringList ranges = {QStringLiteral("XMin"), QStringLiteral("XMax"), QStringLiteral("XStep"),
                                       QStringLiteral("YMin"), QStringLiteral("YMax"), QStringLiteral("YStep")};
    if (const int at = int(ranges.indexOf(key)); at >= 0) {
        // A step must advance; every record the graph shows shares one scale.
        if ((at % 3 == 2 && number <= 0))
            return false;
        for (clsTz4DataSet& record : window_.records()) {
            if (!window_.records().Shows(record))
                continue;
            if (at < 3)
                record.setGraphX(at, float(number));
            else
                record.setGraphY(at - 3, float(number));
            window_.storeRanges(record);
        }
        return true;
    }
    if (!disp)
        return false;
    const bool on = number != 0;
    if (key == QLatin1String("XVisible"))
        disp->setXscaleVisible(on);
    else if (key == QLatin1String("YVisible"))
        disp->setYscaleVisible(on);
    else if (key == QLatin1String("Grid"))
        disp->setGridVisible(on);
    else if (key == QLatin1String("LineVisible"))
        disp->setLineVisible(on);
    else if (key == QLatin1String("SelVisible"))
        disp->setSelectVisible(on);
    else if (key == QLatin1String("DotStyle"))
        disp->setDotStyle(qint32(number));
    else if (key == QLatin1String("LineStyle"))
        disp->setLineStyle(qint32(number));
    else if (key == QLatin1String("SelStyle"))
        disp->setSelectStyle(qint32(number));
    else if (key == QLatin1String("DotSize") || key == QLatin1String("SelSize")) {
        if (!inShortRange(number))
            return false;
        (key == QLatin1String("DotSize") ? disp->setDotSize(qint16(std::lround(number)))
                                         : disp->setSelectSize(qint16(std::lround(number))));
    } else if (key == QLatin1String("OverLay")) {
        const float before = disp->OverLayLevel();
        disp->setOverLayLevel(float(number));
        if (disp->OverLayLevel() == before && float(number) != before)
            return false;
    } else {
        return false;
    }
    store(nullptr, disp);
    return true;
}

} // namespace tz4
