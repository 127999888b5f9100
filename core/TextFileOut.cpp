#include "core/TextFileOut.h"

#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/FileTargets.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/RecordParameters.h"
#include "core/MessageIds.h"

#include <QFile>

#include <cmath>
#include <filesystem>

namespace tz4 {

QString parameterText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Float: return shortestText(value.toFloat());
    case QMetaType::Double: return shortestText(value.toDouble());
    // A date that is missing or unreadable is shown as missing, never as some other date.
    case QMetaType::QDateTime: return value.toDateTime().isValid() ? generalDate(value.toDateTime()) : QString();
    default: return value.toString();
    }
}

QString quotedField(const QString& text, const QString& delimiter)
{
    if (!text.contains(delimiter) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\t')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

namespace {

class TextLines {
public:
    TextLines(const TextOutSource& record, int delimiter) : record_(record), d_(textDelimiter(delimiter)) {}

    QString P(int number) const { return parameterText(record_.Parameters(number)); }
    const QString& d() const { return d_; }
    void add(const QString& line) { bytes_ += (line + QStringLiteral("\r\n")).toUtf8(); }

    // A text a person typed, kept one field on one line.
    QString field(int number) const { return quotedField(P(number), d_); }

    // The header both layouts share, up to and including the anode voltage.
    void header(int modeTextId)
    {
        add(QStringLiteral("TZ-4 Data"));
        add(GetRes(msg::TextDate) + d_ + P(param::MeasurementDate));
        add(QStringLiteral("Sample Name") + d_ + field(param::SampleName));
        add(QString());
        add(QStringLiteral("Mode") + d_ + GetRes(modeTextId));
        add(GetRes(msg::TextUvIntensity, {d_, P(param::MeasuredLight), P(param::TargetLight)}));
        add(GetRes(msg::TextCountingTime, {d_, P(param::CountingTime)}));
        add(GetRes(msg::TextAnodeVoltage, {d_, P(param::AnodeVoltage)}));
    }

    bool referenced() const { return record_.Parameters(param::AdjustmentRecord).toDouble() > 0; }

    // Written whole or not at all: a failed write never replaces a good file with half a one.
    bool write(const QString& fileName, QString* failure) const
    {
        if (isDataDirectoryFile(fileName)) {
            const QString reason = QStringLiteral("%1 is one of the program's own files").arg(fileName);
            const Tz4Error error(err::PermissionDenied, reason);
            WriteCautionLog({}, &error);
            if (failure)
                *failure = reason;
            return false;
        }
        const auto failed = [&](const QFileDevice& file) {
            const Tz4Error error = fileError(file);
            WriteCautionLog({}, &error);
            if (failure)
                *failure = file.errorString();
            return false;
        };
        // A device (a terminal, /dev/full) cannot be replaced, only written; its errors show
        // when the buffer is flushed.
        std::error_code ignored;
        const auto type = std::filesystem::status(fileName.toStdString(), ignored).type();
        if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular
            && type != std::filesystem::file_type::none) {
            QFile device(fileName);
            if (!device.open(QIODevice::WriteOnly) || device.write(bytes_) != bytes_.size() || !device.flush())
                return failed(device);
            return true;
        }
        try {
            writeWholeFile(fileName, bytes_);
        } catch (const Tz4Error& error) {
            WriteCautionLog({}, &error);
            if (failure)
                *failure = error.description();
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

bool TextFileOutWrk(const QString& fileName, const TextOutSource& record, int delimiter, QString* failure)
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
    return out.write(fileName, failure);
}

bool TextFileOutCps(const QString& fileName, const TextOutSource& record, int delimiter, QString* failure)
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
    return out.write(fileName, failure);
}

} // namespace tz4
