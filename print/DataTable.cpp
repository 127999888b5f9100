#include "print/DataTable.h"

#include "core/Formats.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"
#include "print/ReferenceDevice.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tz4 {

namespace {

// Photons per second and nanowatt at 1 eV: 1e-9 W / 1.6e-19 J.
constexpr double kPhotonsPerNanowattEv = 0.625e10;

// Row and heading heights in device units for a font on a device.
struct TableMetrics {
    double line, header, row, padding;
    explicit TableMetrics(const QFontMetricsF& metrics)
        : line(metrics.height()), header(2 * metrics.height() + 0.4 * metrics.height()),
          row(1.2 * metrics.height()), padding(0.25 * metrics.averageCharWidth())
    {
    }
    int rowsIn(double height) const { return std::max(0, int(std::floor((height - header) / row + 1e-9))); }
};

// The record's graph values after switching its representation on a copy, so the record
// itself keeps what its graph shows.
std::vector<double> graphValues(const clsTz4DataSet& record, bool expLog, bool adjust, bool xAxis)
{
    clsTz4DataSet view = record;
    view.setExpLog(expLog);
    view.setAdjustFlag(adjust);
    std::vector<double> values(size_t(view.DataCount()));
    for (int i = 0; i < view.DataCount(); ++i)
        values[size_t(i)] = xAxis ? view.ValueX(i) : view.ValueY(i);
    return values;
}

template <class Value>
std::vector<double> each(const clsTz4DataSet& record, Value value)
{
    std::vector<double> values(size_t(record.DataCount()));
    for (int i = 0; i < record.DataCount(); ++i)
        values[size_t(i)] = value(i);
    return values;
}

// Headings break between words where every word fits the cell, else anywhere.
int headingWrap(const QFontMetricsF& metrics, const QString& title, double width)
{
    for (const QString& word : title.split(QLatin1Char(' ')))
        if (metrics.horizontalAdvance(word) > width)
            return Qt::TextWrapAnywhere;
    return Qt::TextWordWrap;
}

bool withAdjustment(const clsTz4DataSet& record)
{
    return record.Parameters(param::AdjustmentRecord).toInt() > 0;
}

} // namespace

void PrintDataTable::add(const QString& title, const QString& format, std::vector<double> values)
{
    columns_.append({title, format});
    rows_ = std::max(rows_, int(values.size()));
    values_.push_back(std::move(values));
}

PrintDataTable PrintDataTable::MakeTableCol(const clsTz4DataSet& record)
{
    PrintDataTable table;
    const auto orgX = [&](int i) { return double(record.OrgValueX(i)); };
    const auto orgY = [&](int i) { return double(record.OrgValueY(i)); };
    const QString cps = QStringLiteral("Counting Rate[cps]");
    const QString logCps = QStringLiteral("Log.CR[Log(cps)]");
    const QString thickness = QStringLiteral("Thickness[A]");
    switch (record.Kind()) {
    case clsTz4DataSet::KindW: {
        const QString n = formatNumber(record.Parameters(param::PowerNumber).toDouble(), QStringLiteral("0.00"));
        table.add(QStringLiteral("Energy[eV]"), QStringLiteral("#0.00"), each(record, orgX));
        table.add(cps, QStringLiteral("####0.0"), graphValues(record, false, false, false));
        table.add(QStringLiteral("CR^%1[cps^%1]").arg(n), QStringLiteral("####0.0"),
                  graphValues(record, true, false, false));
        if (withAdjustment(record)) {
            table.add(QStringLiteral("Yield[cps]"), QStringLiteral("####0.0"), graphValues(record, false, true, false));
            table.add(QStringLiteral("Yield^%1[cps^%1]").arg(n), QStringLiteral("####0.0"),
                      graphValues(record, true, true, false));
        }
        break;
    }
    case clsTz4DataSet::KindC:
        table.add(QStringLiteral("No."), QStringLiteral("#0"), each(record, orgX));
        table.add(cps, QStringLiteral("####0.0"), each(record, orgY));
        table.add(logCps, QStringLiteral("##0.00"), graphValues(record, true, false, false));
        if (withAdjustment(record))
            table.add(thickness, QStringLiteral("##0.0"), graphValues(record, true, true, false));
        break;
    case clsTz4DataSet::KindL:
        table.add(QStringLiteral("Energy[eV]"), QStringLiteral("#0.00"), each(record, orgX));
        table.add(QStringLiteral("UV Intensity[nW]"), QStringLiteral("####0.0"), each(record, orgY));
        table.add(QStringLiteral("Photon Number[cps]"), QStringLiteral("0.00E+"), each(record, [&](int i) {
                      const double energy = record.OrgValueX(i);
                      return energy > 0 ? record.OrgValueY(i) * kPhotonsPerNanowattEv / energy : 0.0;
                  }));
        break;
    case clsTz4DataSet::KindD:
        table.add(QStringLiteral("No."), QStringLiteral("##0"), each(record, orgX));
        table.add(cps, QStringLiteral("####0.0"), each(record, orgY));
        table.add(logCps, QStringLiteral("##0.00"), graphValues(record, true, false, false));
        table.add(thickness, QStringLiteral("##0.0"), each(record, [&](int i) { return double(record.ValueZ(i)); }));
        break;
    case clsTz4DataSet::KindT:
        table.add(QStringLiteral("No."), QStringLiteral("###0"), each(record, [](int i) { return double(i + 1); }));
        table.add(cps, QStringLiteral("#0.0"), each(record, orgX));
        table.add(logCps, QStringLiteral("##0.00"), graphValues(record, true, false, true));
        table.add(thickness, QStringLiteral("##0.0"), each(record, orgY));
        break;
    default:
        break;
    }
    return table;
}

QString PrintDataTable::text(int row, int column) const
{
    if (column < 0 || column >= columns_.size() || row < 0 || size_t(row) >= values_[size_t(column)].size())
        return {};
    return formatNumber(values_[size_t(column)][size_t(row)], columns_[column].format);
}

int PrintDataTable::rowsPerGroup(int groups) const
{
    groups = std::max(1, groups);
    return (rows_ + groups - 1) / groups;
}

int PrintDataTable::rowsThatFit(double heightMM, const QFont& font) const
{
    const QPaintDevice& reference = referenceDevice();
    const TableMetrics metrics(QFontMetricsF(font, &reference));
    return metrics.rowsIn(heightMM / 25.4 * reference.logicalDpiY());
}

int PrintDataTable::paint(QPainter& painter, const QRectF& rect, const QFont& font, int groups) const
{
    if (columns_.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return 0;
    groups = std::max(1, groups);
    const QFont deviceFont(font, painter.device());
    const TableMetrics metrics(QFontMetricsF(deviceFont, painter.device()));
    const int perGroup = rowsPerGroup(groups);
    const int shown = std::min(perGroup, metrics.rowsIn(rect.height()));
    const int cellsAcross = int(columns_.size()) * groups;
    const double cellWidth = rect.width() / cellsAcross;
    // Lines a fifth of a millimetre wide on every device.
    const double lineWidth = 0.2 / 25.4 * painter.device()->logicalDpiX();

    painter.save();
    painter.setClipRect(rect.adjusted(-lineWidth, -lineWidth, lineWidth, lineWidth), Qt::IntersectClip);
    painter.setFont(deviceFont);
    painter.setPen(QPen(Qt::black, lineWidth));
    painter.setBrush(Qt::NoBrush);
    const double bottom = rect.top() + metrics.header + shown * metrics.row;
    painter.drawRect(QRectF(rect.left(), rect.top(), rect.width(), bottom - rect.top()));
    painter.drawLine(QPointF(rect.left(), rect.top() + metrics.header), QPointF(rect.right(), rect.top() + metrics.header));
    for (int cell = 1; cell < cellsAcross; ++cell) {
        const double x = rect.left() + cell * cellWidth;
        // Groups are parted by a double line.
        painter.setPen(QPen(Qt::black, cell % columns_.size() == 0 ? 2 * lineWidth : lineWidth));
        painter.drawLine(QPointF(x, rect.top()), QPointF(x, bottom));
    }
    painter.setPen(Qt::black);
    const QFontMetricsF deviceMetrics(deviceFont, painter.device());
    for (int group = 0; group < groups; ++group) {
        for (int column = 0; column < columns_.size(); ++column) {
            const double left = rect.left() + (group * columns_.size() + column) * cellWidth;
            const QRectF heading(left + metrics.padding, rect.top(), cellWidth - 2 * metrics.padding, metrics.header);
            painter.drawText(heading, Qt::AlignCenter | headingWrap(deviceMetrics, columns_[column].title, heading.width()),
                             columns_[column].title);
            for (int row = 0; row < shown; ++row) {
                const int point = group * perGroup + row;
                if (point >= rows_)
                    break;
                const QRectF cellRect(left + metrics.padding, rect.top() + metrics.header + row * metrics.row,
                                      cellWidth - 2 * metrics.padding, metrics.row);
                painter.drawText(cellRect, Qt::AlignRight | Qt::AlignVCenter, text(point, column));
            }
        }
    }
    painter.restore();
    return shown;
}

} // namespace tz4
