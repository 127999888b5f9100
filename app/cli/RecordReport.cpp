#include "app/cli/RecordReport.h"

#include "core/Formats.h"
#include "core/Keys.h"
#include "core/TextFileOut.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"

#include <QJsonArray>
#include <charconv>
#include <cmath>

#include <QJsonDocument>
#include <QTextStream>

#include <algorithm>

namespace tz4::cli {

namespace {

// A single-precision value as the double its shortest decimal form names: JSON readers see
// the 5.2 that was stored, not 5.199999809265137.
double asStored(float value)
{
    if (!std::isfinite(value))
        return double(value);
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    double stored = 0;
    std::from_chars(text, end, stored);
    return stored;
}

QJsonValue jsonValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Float: return asStored(value.toFloat());
    case QMetaType::QDateTime: // a missing date is null, never an empty text
        return value.toDateTime().isValid() ? QJsonValue(value.toDateTime().toString(Qt::ISODate)) : QJsonValue();
    case QMetaType::QString: return value.toString();
    default: return QJsonValue::fromVariant(value);
    }
}

struct Result {
    const char* name;
    double value;
};

QList<Result> results(const clsTz4DataSet& record)
{
    return {{"work_function", record.WorkFunction()},
            {"work_function_uncertainty", record.WorkFunctionUncertainty()},
            {"work_function_uncertainty_statistical", record.WorkFunctionUncertaintyStatistical()},
            {"work_function_uncertainty_range", record.WorkFunctionUncertaintyRange()},
            {"gradient", record.Gradient()},
            {"intercept", record.Intercept()},
            {"ground_level", record.GroundLevel()},
            {"correlation", record.Correlation()}};
}

QString resultText(const char* name, double value)
{
    return QStringLiteral("%1 %2\n").arg(QString::fromLatin1(name), -26).arg(shortestText(float(value)));
}

bool hasRanges(const clsTz4DataSet& record)
{
    return record.Kind() == clsTz4DataSet::KindW || record.Kind() == clsTz4DataSet::KindT;
}

// The energies the flagged points span: what the stored flags select, whether or not the
// rectangles that set them are still known. [0, 0] when no point is flagged.
std::pair<float, float> flaggedSpan(const clsTz4DataSet& record, bool fit)
{
    float from = 0, to = 0;
    bool any = false;
    for (int i = 0; i < record.DataCount(); ++i) {
        if (!(fit ? record.ValueF(i) : record.ValueG(i)))
            continue;
        const float x = record.OrgValueX(i);
        from = any ? std::min(from, x) : x;
        to = any ? std::max(to, x) : x;
        any = true;
    }
    return {from, to};
}

QJsonArray rangeJson(const clsTz4DataSet& record, bool fit)
{
    const auto [from, to] = flaggedSpan(record, fit);
    return {asStored(from), asStored(to)};
}

QString rangeText(const char* name, const clsTz4DataSet& record, bool fit)
{
    const auto [from, to] = flaggedSpan(record, fit);
    return QStringLiteral("%1 %2:%3\n").arg(QString::fromLatin1(name), -26).arg(shortestText(from), shortestText(to));
}

} // namespace

QString kindName(const QString& letter)
{
    if (letter == QLatin1String("W"))
        return QStringLiteral("Work Function");
    if (letter == QLatin1String("C"))
        return QStringLiteral("Thickness･Counting Rate");
    if (letter == QLatin1String("L"))
        return QStringLiteral("Quantity of light correction coefficient");
    if (letter == QLatin1String("D"))
        return QStringLiteral("Calibration Data");
    if (letter == QLatin1String("T"))
        return QStringLiteral("Calibration Line");
    return {};
}

QJsonObject recordJson(const clsTz4DataSet& record)
{
    QJsonObject object{{QStringLiteral("key"), record.Key()},
                       {QStringLiteral("sample_name"), record.Parameters(param::SampleName).toString()},
                       {QStringLiteral("kind"), GetKeyType(record.Key())},
                       {QStringLiteral("date"), jsonValue(record.Parameters(param::MeasurementDate))}};
    for (const Result& r : results(record))
        object.insert(QLatin1String(r.name), asStored(float(r.value)));
    if (hasRanges(record)) {
        object.insert(QStringLiteral("fit"), rangeJson(record, true));
        object.insert(QStringLiteral("ground"), rangeJson(record, false));
    }
    if (record.Kind() == clsTz4DataSet::KindW) {
        const QString warning = record.LowCountWarning();
        object.insert(QStringLiteral("low_count_warning"), warning.isEmpty() ? QJsonValue() : QJsonValue(warning));
    }
    QJsonObject parameters;
    for (int n = 0; n <= param::Last; ++n) {
        const QVariant value = record.Parameters(n);
        if (value.isValid())
            parameters.insert(QString::number(n), jsonValue(value));
    }
    object.insert(QStringLiteral("parameters"), parameters);
    QJsonArray points;
    for (int i = 0; i < record.DataCount(); ++i)
        points.append(QJsonArray{asStored(record.OrgValueX(i)), asStored(record.OrgValueY(i))});
    object.insert(QStringLiteral("points"), points);
    return object;
}

QString analysisText(const clsTz4DataSet& record)
{
    QString out;
    for (const Result& r : results(record))
        out += resultText(r.name, r.value);
    if (hasRanges(record)) {
        out += rangeText("fit", record, true);
        out += rangeText("ground", record, false);
    }
    if (record.Kind() == clsTz4DataSet::KindW) {
        const QString warning = record.LowCountWarning();
        if (!warning.isEmpty())
            out += QStringLiteral("warning: %1\n").arg(warning);
    }
    return out;
}

QString recordText(const clsTz4DataSet& record)
{
    const QString letter = GetKeyType(record.Key());
    QString out;
    out += QStringLiteral("%1 %2\n").arg(QStringLiteral("key"), -26).arg(record.Key());
    out += QStringLiteral("%1 %2\n").arg(QStringLiteral("sample_name"), -26).arg(record.Parameters(param::SampleName).toString());
    out += QStringLiteral("%1 %2 (%3)\n").arg(QStringLiteral("kind"), -26).arg(letter, kindName(letter));
    const QDateTime date = record.Parameters(param::MeasurementDate).toDateTime();
    out += QStringLiteral("%1 %2\n")
               .arg(QStringLiteral("date"), -26)
               .arg(date.isValid() ? parameterText(date) : QStringLiteral("Measure Date None"));
    out += analysisText(record);
    out += QStringLiteral("\nparameters\n");
    for (const RecordParameterName& p : recordParameterNames()) {
        const QVariant value = record.Parameters(p.number);
        if (value.isValid())
            out += QStringLiteral("  %1 %2 %3\n").arg(p.number, 2).arg(QString::fromLatin1(p.name), -34).arg(parameterText(value));
    }
    out += QStringLiteral("\npoints (%1)\n").arg(record.DataCount());
    for (int i = 0; i < record.DataCount(); ++i)
        out += QStringLiteral("  %1\t%2\n").arg(shortestText(record.OrgValueX(i)), shortestText(record.OrgValueY(i)));
    return out;
}

void printRecord(const clsTz4DataSet& record, bool json, QString (*asText)(const clsTz4DataSet&))
{
    QTextStream out(stdout);
    if (json)
        out << QJsonDocument(recordJson(record)).toJson(QJsonDocument::Compact) << Qt::endl;
    else
        out << asText(record);
    out.flush();
}

} // namespace tz4::cli
