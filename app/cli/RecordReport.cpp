#include "app/cli/RecordReport.h"

#include "core/Formats.h"
#include "core/Keys.h"
#include "core/TextFileOut.h"
#include "data/Tz4DataSet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace tz4::cli {

namespace {

struct ParameterName {
    int number;
    const char* name;
};

const ParameterName ParameterNames[] = {
    {0, "record number"}, {2, "sample name"}, {3, "folder path"}, {4, "measurement date"}, {5, "folder number"},
    {6, "counting rate average"}, {7, "counting rate minimum"}, {8, "counting rate maximum"},
    {9, "counting rate std. deviation"}, {10, "log counting rate average"}, {11, "log counting rate minimum"},
    {12, "log counting rate maximum"}, {13, "log counting rate std. deviation"}, {14, "aData average"},
    {15, "aData minimum"}, {16, "aData maximum"}, {17, "aData std. deviation"}, {18, "start energy [eV]"},
    {19, "finish energy [eV]"}, {20, "energy step [eV]"}, {21, "fixed energy [eV]"},
    {22, "measured UV intensity [nW]"}, {23, "target UV intensity [nW]"}, {24, "power number"},
    {26, "measure count"}, {27, "adjustment record"}, {28, "calibration name"},
    {29, "calibration shift / thickness"}, {30, "calibration-sample thickness"}, {31, "photon flux"},
    {32, "background counting rate [cps]"}, {33, "counting time [s]"}, {34, "anode voltage [V]"},
    {35, "dead time"}, {36, "notes 1"}, {37, "notes 2"}, {38, "notes 3"}, {39, "work function [eV]"},
    {40, "regression gradient"}, {41, "regression intercept"}, {42, "ground level"},
    {43, "correlation coefficient"}, {44, "ground x1"}, {45, "ground y1"}, {46, "ground x2"}, {47, "ground y2"},
    {48, "fit x1"}, {49, "fit y1"}, {50, "fit x2"}, {51, "fit y2"}, {58, "calibration line members"},
};

QJsonValue jsonValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Float: return double(value.toFloat());
    case QMetaType::QDateTime: return value.toDateTime().toString(Qt::ISODate);
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
            {"gradient", record.Gradient()},
            {"intercept", record.Intercept()},
            {"ground_level", record.GroundLevel()},
            {"correlation", record.Correlation()}};
}

QString resultText(const char* name, double value)
{
    return QStringLiteral("%1 %2\n").arg(QString::fromLatin1(name), -26).arg(shortestText(float(value)));
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
                       {QStringLiteral("sample_name"), record.Parameters(2).toString()},
                       {QStringLiteral("kind"), GetKeyType(record.Key())},
                       {QStringLiteral("date"), jsonValue(record.Parameters(4))}};
    for (const Result& r : results(record))
        object.insert(QLatin1String(r.name), r.value);
    QJsonObject parameters;
    for (int n = 0; n <= 60; ++n) {
        const QVariant value = record.Parameters(n);
        if (value.isValid())
            parameters.insert(QString::number(n), jsonValue(value));
    }
    object.insert(QStringLiteral("parameters"), parameters);
    QJsonArray points;
    for (int i = 0; i < record.DataCount(); ++i)
        points.append(QJsonArray{double(record.OrgValueX(i)), double(record.OrgValueY(i))});
    object.insert(QStringLiteral("points"), points);
    return object;
}

QString analysisText(const clsTz4DataSet& record)
{
    QString out;
    for (const Result& r : results(record))
        out += resultText(r.name, r.value);
    return out;
}

QString recordText(const clsTz4DataSet& record)
{
    const QString letter = GetKeyType(record.Key());
    QString out;
    out += QStringLiteral("%1 %2\n").arg(QStringLiteral("key"), -26).arg(record.Key());
    out += QStringLiteral("%1 %2\n").arg(QStringLiteral("sample_name"), -26).arg(record.Parameters(2).toString());
    out += QStringLiteral("%1 %2 (%3)\n").arg(QStringLiteral("kind"), -26).arg(letter, kindName(letter));
    out += QStringLiteral("%1 %2\n").arg(QStringLiteral("date"), -26).arg(parameterText(record.Parameters(4)));
    out += analysisText(record);
    out += QStringLiteral("\nparameters\n");
    for (const ParameterName& p : ParameterNames) {
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
