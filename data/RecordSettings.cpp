#include "data/RecordSettings.h"

#include "core/Keys.h"
#include "core/RecordParameters.h"
#include "data/JetSql.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace tz4 {

namespace {

// A number as the grid or a caller hands it over: a number, or text in the user's locale
// (the C locale is accepted too). Anything else is not a number.
bool numeric(const QVariant& value, double* out)
{
    if (!value.isValid() || value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Float:
    case QMetaType::Double:
        *out = value.toDouble();
        return std::isfinite(*out);
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        bool ok = false;
        double number = QLocale().toDouble(text, &ok);
        if (!ok)
            number = QLocale::c().toDouble(text, &ok);
        if (ok && std::isfinite(number)) {
            *out = number;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool setFloat(const QVariant& value, float* field)
{
    double number = 0;
    if (!numeric(value, &number) || std::fabs(number) > double(std::numeric_limits<float>::max()))
        return false;
    *field = float(number);
    return true;
}

// A date-time, or text in ISO form, the program's date pattern or the user's short format.
QDateTime dateValue(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    QDateTime when = QDateTime::fromString(text, Qt::ISODate);
    if (!when.isValid())
        when = JetSql::parseDateLiteral(text);
    if (!when.isValid())
        when = QLocale().toDateTime(text, QLocale::ShortFormat);
    return when;
}

template <typename Int>
bool setWhole(const QVariant& value, Int* field)
{
    double number = 0;
    if (!numeric(value, &number))
        return false;
    const double rounded = std::nearbyint(number); // halves to even
    if (rounded < double(std::numeric_limits<Int>::min()) || rounded > double(std::numeric_limits<Int>::max()))
        return false;
    *field = Int(rounded);
    return true;
}

bool setText(const QVariant& value, QString* field)
{
    *field = value.toString();
    return true;
}

} // namespace

void RecordSettings::setDefaults()
{
    parentKey = QStringLiteral("1 A");
    folderPath.clear();
    sampleName = QStringLiteral("Sample");
    dataTime = QDateTime::currentDateTime();
    startEnergy = 3.4f;
    finishEnergy = 6.2f;
    stepEnergy = 0.05f;
    fixedEnergy = 5.9f;
    measLight = 0;
    setLight = 10;
    powerNumber = 0.5f;
    unitLight = 0;
    adjustNo = 0;
    backGndCps = 0;
    measTime = 10;
    volts = 0;
    tau = 0;
    thick = 0;
    calibThick = -200;
    calibName.clear();
    measCount = 10;
    notes = {};
    graphX = {};
    graphY = {};
}

qint32 RecordSettings::parentFolder() const
{
    return GetKeyType(parentKey) == QLatin1String("F") ? GetKeySeq(parentKey) : 0;
}

// One switch over the numbers, read as a table.
QVariant RecordSettings::value(int number) const
{
    if (number >= param::StatisticsFirst && number <= param::StatisticsLast)
        return statistics[size_t(number - param::StatisticsFirst)];
    switch (number) {
    case param::SampleName: return sampleName;
    case param::FolderPath: return folderPath;
    case param::MeasurementDate: return dataTime;
    case param::FolderNumber: return GetKeySeq(parentKey);
    case param::StartEnergy: return startEnergy;
    case param::FinishEnergy: return finishEnergy;
    case param::EnergyStep: return stepEnergy;
    case param::FixedEnergy: return fixedEnergy;
    case param::MeasuredLight: return measLight;
    case param::TargetLight: return setLight;
    case param::PowerNumber: return powerNumber;
    case param::MeasureCount: return measCount;
    case param::AdjustmentRecord: return adjustNo;
    case param::CalibrationName: return calibName;
    case param::CalibrationShift: return thick;
    case param::CalibrationThickness: return calibThick;
    case param::PhotonFlux: return double(measLight) * 0.625 / 5.9 * 1e10;
    case param::BackgroundCps: return backGndCps;
    case param::CountingTime: return measTime;
    case param::AnodeVoltage: return volts;
    case param::DeadTime: return tau;
    case param::Notes1: case param::Notes2: case param::Notes3: return notes[size_t(number - param::Notes1)];
    case param::GroundX1: return groundRect.x1;
    case param::GroundY1: return groundRect.y1;
    case param::GroundX2: return groundRect.x2;
    case param::GroundY2: return groundRect.y2;
    case param::FitX1: return fitRect.x1;
    case param::FitY1: return fitRect.y1;
    case param::FitX2: return fitRect.x2;
    case param::FitY2: return fitRect.y2;
    default: return {};
    }
}

// One switch over the numbers, read as a table.
bool RecordSettings::setValue(int number, const QVariant& value)
{
    switch (number) {
    case param::SampleName: return setText(value, &sampleName);
    case param::FolderPath: return setText(value, &folderPath);
    case param::MeasurementDate: {
        const QDateTime when = dateValue(value);
        if (when.isValid())
            dataTime = when;
        return when.isValid();
    }
    case param::FolderNumber: {
        qint32 folder = 0;
        if (!setWhole(value, &folder))
            return false;
        parentKey = makeKey(folder, QStringLiteral("F"));
        return true;
    }
    case param::StartEnergy: return setFloat(value, &startEnergy);
    case param::FinishEnergy: return setFloat(value, &finishEnergy);
    case param::EnergyStep: return setFloat(value, &stepEnergy);
    case param::FixedEnergy: return setFloat(value, &fixedEnergy);
    case param::MeasuredLight: return setFloat(value, &measLight);
    case param::TargetLight: return setFloat(value, &setLight);
    case param::PowerNumber: {
        double n = 0;
        if (!numeric(value, &n) || !(n > 0 && n <= 2))
            return false;
        powerNumber = float(n);
        return true;
    }
    case param::MeasureCount: return setWhole(value, &measCount);
    case param::AdjustmentRecord: return setWhole(value, &adjustNo);
    case param::CalibrationName: return setText(value, &calibName);
    case param::CalibrationShift: return setFloat(value, &thick);
    case param::CalibrationThickness: return setFloat(value, &calibThick);
    case param::PhotonFlux: return setFloat(value, &unitLight);
    case param::BackgroundCps: return setFloat(value, &backGndCps);
    case param::CountingTime: return setWhole(value, &measTime);
    case param::AnodeVoltage: return setWhole(value, &volts);
    case param::DeadTime: return setFloat(value, &tau);
    case param::Notes1: case param::Notes2: case param::Notes3:
        return setText(value, &notes[size_t(number - param::Notes1)]);
    case param::GroundX1: return setFloat(value, &groundRect.x1);
    case param::GroundY1: return setFloat(value, &groundRect.y1);
    case param::GroundX2: return setFloat(value, &groundRect.x2);
    case param::GroundY2: return setFloat(value, &groundRect.y2);
    case param::FitX1: return setFloat(value, &fitRect.x1);
    case param::FitY1: return setFloat(value, &fitRect.y1);
    case param::FitX2: return setFloat(value, &fitRect.x2);
    case param::FitY2: return setFloat(value, &fitRect.y2);
    default: return false;
    }
}

bool RecordSettings::movesPlot(int number)
{
    return number == param::PowerNumber || number == param::CalibrationShift ||
           number == param::CalibrationThickness || (number >= param::GroundX1 && number <= param::FitY2);
}

} // namespace tz4
