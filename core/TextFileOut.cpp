#include "core/TextFileOut.h"

#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/RecordParameters.h"
#include "core/MessageIds.h"

#include <QFile>

#include <cmath>

namespace tz4 {

QString parameterText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Float: return shortestText(value.toFloat());
    case QMetaType::Double: return shortestText(value.toDouble());
    case QMetaType::QDateTime: return generalDate(value.toDateTime());
    default: return value.toString();
    }
}

namespace {

class TextLines {
public:
    TextLines(const TextOutSource& record, int delimiter) : record_(record), d_(textDelimiter(delimiter)) {}

    QString P(int number) const { return parameterText(record_.Parameters(number)); }
    const QString& d() const { return d_; }
    void add(const QString& line) { bytes_ += (line + QStringLiteral("\r\n")).toUtf8(); }

    // The header both layouts share, up to and including the anode voltage.
    void header(int modeTextId)
    {
        add(QStringLiteral("TZ-4 Data"));
        add(GetRes(msg::TextDate) + d_ + generalDate(record_.Parameters(param::MeasurementDate).toDateTime()));
        add(QStringLiteral("Sample Name") + d_ + P(param::SampleName));
        add(QString());
        add(QStringLiteral("Mode") + d_ + GetRes(modeTextId));
        add(GetRes(msg::TextUvIntensity, {d_, P(param::MeasuredLight), P(param::TargetLight)}));
        add(GetRes(msg::TextCountingTime, {d_, P(param::CountingTime)}));
        add(GetRes(msg::TextAnodeVoltage, {d_, P(param::AnodeVoltage)}));
    }

    bool referenced() const { return record_.Parameters(param::AdjustmentRecord).toDouble() > 0; }

    bool write(const QString& fileName) const
    {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes_) != bytes_.size()) {
            const Tz4Error error = fileError(file);
            WriteCautionLog({}, &error);
            return false;
        }
        return true;
    }

private:
    const TextOutSource& record_;
    QString d_;
    QByteArray bytes_;
};

} // namespace

QString textDelimiter(int delimiter)
{
    switch (delimiter) {
    case 1: return QStringLiteral(",");
    case 2: return QStringLiteral("\t");
    default: return QStringLiteral(" ");
    }
}

bool TextFileOutWrk(const QString& fileName, const TextOutSource& record, int delimiter)
{
    EnterProcedure here("modUtility:TextFileOutWrk");
    TextLines out(record, delimiter);
    const QString& d = out.d();
    out.header(msg::TextModeWorkFunction);
    if (out.referenced())
        out.add(GetRes(msg::TextLightCoefficientName, {d, out.P(param::CalibrationName)}));
    out.add(QString());
    out.add(GetRes(msg::TextEnergyRange, {d, out.P(param::StartEnergy), out.P(param::FinishEnergy), out.P(param::EnergyStep)}));
    out.add(QString());
    out.add(GetRes(msg::TextYieldColumns, {d, out.P(param::PowerNumber)}));
    out.add(QString());
    for (int i = 0; i < record.DataCount(); ++i)
        out.add(shortestText(record.ValueX(i)) + d + shortestText(record.ValueY(i)));
    return out.write(fileName);
}

bool TextFileOutCps(const QString& fileName, const TextOutSource& record, int delimiter)
{
    EnterProcedure here("modUtility:TextFileOutCps");
    TextLines out(record, delimiter);
    const QString& d = out.d();
    const bool referenced = out.referenced();
    out.header(msg::TextModeThickness);
    if (referenced)
        out.add(GetRes(msg::TextCalibrationLineName, {d, out.P(param::CalibrationName)}));
    out.add(QString());
    out.add(GetRes(msg::TextMeasureEnergy, {d, out.P(param::FixedEnergy)}));
    out.add(GetRes(msg::TextMeasureCount, {d, QString::number(record.DataCount())}));
    out.add(QString());
    out.add(QString());
    out.add(GetRes(msg::TextCountColumns, {d, referenced ? d + GetRes(msg::TextThicknessColumn) : QString()}));
    out.add(QString());
    for (int i = 0; i < record.DataCount(); ++i) {
        const float rate = record.OrgValueY(i);
        const double logRate = std::log10(rate > 0 ? double(rate) : 1e-10);
        QString line = shortestText(record.ValueX(i)) + d + formatNumber(rate, QStringLiteral("###0.0")) + d
            + formatNumber(logRate, QStringLiteral("###0.0")) + d;
        if (referenced)
            line += formatNumber(record.ValueY(i), QStringLiteral("####0.0"));
        out.add(line);
    }
    return out.write(fileName);
}

} // namespace tz4
