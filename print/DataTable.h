#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace tz4 {

class clsTz4DataSet;

// One column of the data table: its heading and the number picture of its values.
struct TableColumn {
    QString title;
    QString format;
};

// The points of the selected record as the report's data table (MakeTableCol): the columns of
// its kind, their values, and the table drawn in column groups side by side, the rows split
// evenly over the groups.
class PrintDataTable {
public:
    PrintDataTable() = default;
    // W: energy, counting rate, counting rate to the power number, and with a light
    // correction the corrected yield both ways; C: number, counting rate, its logarithm, and
    // with a calibration line the thickness; L: energy, UV intensity, photon number; D and T:
    // number, counting rate, logarithm, thickness.
    static PrintDataTable MakeTableCol(const clsTz4DataSet& record);

    const QList<TableColumn>& columns() const { return columns_; }
    int rowCount() const { return rows_; }
    double value(int row, int column) const { return values_[size_t(column)][size_t(row)]; }
    QString text(int row, int column) const;

    // Rows per column group when the points are split over `groups` groups.
    int rowsPerGroup(int groups) const;

    // Draws the table inside `rect` (device units) in `font`, split into `groups` column
    // groups. Returns the number of rows per group that fit.
    int paint(QPainter& painter, const QRectF& rect, const QFont& font, int groups) const;
    // The rows per group that fit in a rectangle of that height (millimetres) in the font.
    int rowsThatFit(double heightMM, const QFont& font) const;

private:
    void add(const QString& title, const QString& format, std::vector<double> values);

    QList<TableColumn> columns_;
    std::vector<std::vector<double>> values_;
    int rows_ = 0;
};

} // namespace tz4
