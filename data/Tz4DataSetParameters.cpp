#include "data/Tz4DataSet.h"

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

} // namespace

QVariant clsTz4DataSet::Parameters(int number) const
{
    if (number >= param::StatisticsFirst && number <= param::StatisticsLast)
        return statistics_[size_t(number - param::StatisticsFirst)];
    switch (number) {
    case param::RecordNumber: return SeqNo();
    case param::SampleName: return sampleName_;
    case param::FolderPath: return folderPath_;
    case param::MeasurementDate: return dataTime_;
    case param::FolderNumber: return GetKeySeq(parentKey_);
    case param::StartEnergy: return startEnergy_;
    case param::FinishEnergy: return finishEnergy_;
    case param::EnergyStep: return stepEnergy_;
    case param::FixedEnergy: return fixedEnergy_;
    case param::MeasuredLight: return measLight_;
    case param::TargetLight: return setLight_;
    case param::PowerNumber: return powerNumber_;
    case param::MeasureCount: return measCount_;
    case param::AdjustmentRecord: return adjustNo_;
    case param::CalibrationName: return calibName_;
    case param::CalibrationShift: return thick_;
    case param::CalibrationThickness: return calibThick_;
    case param::PhotonFlux: return double(measLight_) * 0.625 / 5.9 * 1e10;
    case param::BackgroundCps: return backGndCps_;
    case param::CountingTime: return measTime_;
    case param::AnodeVoltage: return volts_;
    case param::DeadTime: return tau_;
    case param::Notes1: case param::Notes2: case param::Notes3: return notes_[size_t(number - param::Notes1)];
    case param::WorkFunction: return workFunction_;
    case param::Gradient: return gradient_;
    case param::Intercept: return intercept_;
    case param::GroundLevel: return groundLevel_;
    case param::Correlation: return correlation_;
    case param::GroundX1: return groundRect_.x1;
    case param::GroundY1: return groundRect_.y1;
    case param::GroundX2: return groundRect_.x2;
    case param::GroundY2: return groundRect_.y2;
    case param::FitX1: return fitRect_.x1;
    case param::FitY1: return fitRect_.y1;
    case param::FitX2: return fitRect_.x2;
    case param::FitY2: return fitRect_.y2;
    case param::CalibrationMembers: return qint32(members_.size());
    default: return {};
    }
}

// A value that does not fit the number's rule leaves the setting unchanged.
void clsTz4DataSet::setParameters(int number, const QVariant& value)
{
    switch (number) {
    case param::SampleName: sampleName_ = value.toString(); break;
    case param::FolderPath: folderPath_ = value.toString(); break;
    case param::MeasurementDate: {
        const QDateTime when = dateValue(value);
        if (when.isValid())
            dataTime_ = when;
        break;
    }
    case param::FolderNumber: {
        qint32 folder = 0;
        if (setWhole(value, &folder))
            parentKey_ = makeKey(folder, QStringLiteral("F"));
        break;
    }
    case param::StartEnergy: setFloat(value, &startEnergy_); break;
    case param::FinishEnergy: setFloat(value, &finishEnergy_); break;
    case param::EnergyStep: setFloat(value, &stepEnergy_); break;
    case param::FixedEnergy: setFloat(value, &fixedEnergy_); break;
    case param::MeasuredLight: setFloat(value, &measLight_); break;
    case param::TargetLight: setFloat(value, &setLight_); break;
    case param::PowerNumber: {
        double n = 0;
        if (numeric(value, &n) && n > 0 && n <= 2) {
            powerNumber_ = float(n);
            Refresh();
        }
        break;
    }
    case param::MeasureCount: setWhole(value, &measCount_); break;
    case param::AdjustmentRecord: setWhole(value, &adjustNo_); break;
    case param::CalibrationName: calibName_ = value.toString(); break;
    case param::CalibrationShift:
        if (setFloat(value, &thick_))
            Refresh();
        break;
    case param::CalibrationThickness:
        if (setFloat(value, &calibThick_))
            Refresh();
        break;
    case param::PhotonFlux: setFloat(value, &unitLight_); break;
    case param::BackgroundCps: setFloat(value, &backGndCps_); break;
    case param::CountingTime: setWhole(value, &measTime_); break;
    case param::AnodeVoltage: setWhole(value, &volts_); break;
    case param::DeadTime: setFloat(value, &tau_); break;
    case param::Notes1: case param::Notes2: case param::Notes3: notes_[size_t(number - param::Notes1)] = value.toString(); break;
    case param::GroundX1: case param::GroundY1: case param::GroundX2: case param::GroundY2: {
        float* fields[] = {&groundRect_.x1, &groundRect_.y1, &groundRect_.x2, &groundRect_.y2};
        if (setFloat(value, fields[number - param::GroundX1]))
            Refresh();
        break;
    }
    case param::FitX1: case param::FitY1: case param::FitX2: case param::FitY2: {
        float* fields[] = {&fitRect_.x1, &fitRect_.y1, &fitRect_.x2, &fitRect_.y2};
        if (setFloat(value, fields[number - param::FitX1])) {
            applyFitRect();
            Refresh();
        }
        break;
    }
    default: break;
    }
}

} // namespace tz4
