#include "graph/AxisTitles.h"

#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"

namespace tz4 {

namespace {

// The column headings of the text output name the same quantities; they are split at the
// separator placed between them.
const QString Separator = QStringLiteral("\t");

QStringList yieldHeadings(const QString& power) { return GetRes(msg::TextYieldColumns, {Separator, power}).split(Separator); }

QStringList countHeadings() { return GetRes(msg::TextCountColumns, {Separator, QString()}).split(Separator); }

QString spaced(QString heading)
{
    // "Energy[eV]" reads "Energy [eV]".
    const qsizetype unit = heading.indexOf(QLatin1Char('['));
    if (unit > 0 && heading[unit - 1] != QLatin1Char(' '))
        heading.insert(unit, QLatin1Char(' '));
    return heading;
}

} // namespace

AxisTitles axisTitles(const clsTz4DataSet& record)
{
    const QStringList counts = countHeadings();
    const QString thickness = spaced(GetRes(msg::TextThicknessColumn));
    const QString logRate = spaced(counts.value(2));
    switch (record.Kind()) {
    case clsTz4DataSet::KindW: {
        const float power = record.Parameters(param::PowerNumber).toFloat();
        const bool powered = record.ExpLog() && power > 0 && power < 2;
        const QStringList headings = yieldHeadings(powered ? shortestText(power) : QStringLiteral("1"));
        QString y = spaced(headings.value(1));
        if (!powered)
            y = spaced(counts.value(1));
        return {spaced(headings.value(0)), y};
    }
    case clsTz4DataSet::KindL:
        return {spaced(yieldHeadings(QStringLiteral("1")).value(0)),
                GetRes(msg::GridMeasuredLight) + QStringLiteral(" [nW]")};
    case clsTz4DataSet::KindC:
    case clsTz4DataSet::KindD: {
        QString y = spaced(counts.value(1));
        if (record.AdjustFlag() && record.Parameters(param::AdjustmentRecord).toInt() >= 1)
            y = thickness;
        else if (record.ExpLog() || record.Kind() == clsTz4DataSet::KindD)
            y = logRate;
        return {counts.value(0), y};
    }
    case clsTz4DataSet::KindT:
        return {record.ExpLog() ? logRate : spaced(counts.value(1)), thickness};
    default:
        return {};
    }
}

QString xLabelFormat(const clsTz4DataSet& record)
{
    const int kind = record.Kind();
    return kind == clsTz4DataSet::KindC || kind == clsTz4DataSet::KindD ? QStringLiteral("##0") : QStringLiteral("##0.00");
}

} // namespace tz4
