#pragma once

#include <QString>

namespace tz4 {

class clsTz4DataSet;

// What a record's graph plots on each axis, in the interface's language, with its unit:
// photon energy for scans, the yield to the power number, counting rates or their logarithm,
// thicknesses through a calibration line, point numbers for counts.
struct AxisTitles {
    QString x;
    QString y;
};

AxisTitles axisTitles(const clsTz4DataSet& record);

// The number picture of the X labels: whole numbers for point numbers, two decimals for
// energies and logarithms.
QString xLabelFormat(const clsTz4DataSet& record);

} // namespace tz4
