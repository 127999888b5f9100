#include "data/Tz4DataSet.h"

#include "core/Keys.h"
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
    switch (number) {
    case 0: return SeqNo();
    case 2: return sampleName_;
    case 3: return folderPath_;
    case 4: return dataTime_;
    case 5: return GetKeySeq(parentKey_);
    case 6: case 7: case 8: case 9: case 10: case 11: case 12: case 13: case 14: case 15: case 16: case 17:
        return statistics_[size_t(number - 6)];
    case 18: return startEnergy_;
    case 19: return finishEnergy_;
    case 20: return stepEnergy_;
    case 21: return fixedEnergy_;
    case 22: return measLight_;
    case 23: return setLight_;
    case 24: return powerNumber_;
    case 26: return measCount_;
    case 27: return adjustNo_;
    case 28: return calibName_;
    case 29: return thick_;
    case 30: return calibThick_;
    case 31: return double(measLight_) * 0.625 / 5.9 * 1e10;
    case 32: return backGndCps_;
    case 33: return measTime_;
    case 34: return volts_;
    case 35: return tau_;
    case 36: case 37: case 38: return notes_[size_t(number - 36)];
    case 39: return workFunction_;
    case 40: return gradient_;
    case 41: return intercept_;
    case 42: return groundLevel_;
    case 43: return correlation_;
    case 44: return groundRect_.x1;
    case 45: return groundRect_.y1;
    case 46: return groundRect_.x2;
    case 47: return groundRect_.y2;
    case 48: return fitRect_.x1;
    case 49: return fitRect_.y1;
    case 50: return fitRect_.x2;
    case 51: return fitRect_.y2;
    case 58: return qint32(members_.size());
    default: return {};
    }
}

// A value that does not fit the number's rule leaves the setting unchanged.
void clsTz4DataSet::setParameters(int number, const QVariant& value)
{
    switch (number) {
    case 2: sampleName_ = value.toString(); break;
    case 3: folderPath_ = value.toString(); break;
    case 4: {
        const QDateTime when = dateValue(value);
        if (when.isValid())
            dataTime_ = when;
        break;
    }
    case 5: {
        qint32 folder = 0;
        if (setWhole(value, &folder))
            parentKey_ = makeKey(folder, QStringLiteral("F"));
        break;
    }
    case 18: setFloat(value, &startEnergy_); break;
    case 19: setFloat(value, &finishEnergy_); break;
    case 20: setFloat(value, &stepEnergy_); break;
    case 21: setFloat(value, &fixedEnergy_); break;
    case 22: setFloat(value, &measLight_); break;
    case 23: setFloat(value, &setLight_); break;
    case 24: {
        double n = 0;
        if (numeric(value, &n) && n > 0 && n <= 2) {
            powerNumber_ = float(n);
            Refresh();
        }
        break;
    }
    case 26: setWhole(value, &measCount_); break;
    case 27: setWhole(value, &adjustNo_); break;
    case 28: calibName_ = value.toString(); break;
    case 29:
        if (setFloat(value, &thick_))
            Refresh();
        break;
    case 30:
        if (setFloat(value, &calibThick_))
            Refresh();
        break;
    case 31: setFloat(value, &unitLight_); break;
    case 32: setFloat(value, &backGndCps_); break;
    case 33: setWhole(value, &measTime_); break;
    case 34: setWhole(value, &volts_); break;
    case 35: setFloat(value, &tau_); break;
    case 36: case 37: case 38: notes_[size_t(number - 36)] = value.toString(); break;
    case 44: case 45: case 46: case 47: {
        float* fields[] = {&groundRect_.x1, &groundRect_.y1, &groundRect_.x2, &groundRect_.y2};
        if (setFloat(value, fields[number - 44]))
            Refresh();
        break;
    }
    case 48: case 49: case 50: case 51: {
        float* fields[] = {&fitRect_.x1, &fitRect_.y1, &fitRect_.x2, &fitRect_.y2};
        if (setFloat(value, fields[number - 48])) {
            applyFitRect();
            Refresh();
        }
        break;
    }
    default: break;
    }
}

} // namespace tz4
