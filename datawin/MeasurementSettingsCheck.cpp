#include "datawin/MeasurementSettingsCheck.h"

#include "core/Formats.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"

#include <cfloat>
#include <cmath>

namespace tz4 {

namespace {

SettingProblem problem(int parameter, const QString& sentence, int textId = 0, int titleId = 0)
{
    return {parameter, textId, titleId, sentence};
}

// Settings are single floats; 0.07 must not read as 0.07000000029802322.
QString text(double value) { return std::fabs(value) <= FLT_MAX ? shortestText(float(value)) : shortestText(value); }

bool whole(double value) { return value == std::floor(value); }

// Stored settings come back as single floats: 6.8 reads as 6.8000002.
constexpr double Tolerance = 1e-5;

// Energies are stored and sent in hundredths of an eV; a finer value would be rounded.
bool hundredths(double eV) { return std::fabs(eV * 100 - std::round(eV * 100)) < 1e-3; }

QString energyName(int parameter)
{
    switch (parameter) {
    case param::StartEnergy: return QStringLiteral("the start energy");
    case param::FinishEnergy: return QStringLiteral("the end energy");
    case param::EnergyStep: return QStringLiteral("the energy step");
    default: return QStringLiteral("the measuring energy");
    }
}

std::optional<SettingProblem> checkEnergy(int parameter, double eV)
{
    if (parameter == param::EnergyStep) {
        if (!(eV > 0))
            return problem(parameter, QStringLiteral("the energy step must be above 0 eV, not %1").arg(text(eV)),
                           msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
        if (eV > limits::MaxEnergy - limits::MinEnergy + Tolerance)
            return problem(parameter, QStringLiteral("the energy step %1 eV is wider than the instrument's range")
                                          .arg(text(eV)),
                           msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
    } else if (!(eV >= limits::MinEnergy - Tolerance && eV <= limits::MaxEnergy + Tolerance)) {
        return problem(parameter, QStringLiteral("%1 %2 eV lies outside the instrument's range %3 to %4 eV")
                                      .arg(energyName(parameter), text(eV), text(limits::MinEnergy),
                                           text(limits::MaxEnergy)),
                       msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
    }
    if (!hundredths(eV))
        return problem(parameter, QStringLiteral("%1 %2 eV has more than two decimals; energies are set in "
                                                 "hundredths of an eV")
                                      .arg(energyName(parameter), text(eV)));
    return std::nullopt;
}

} // namespace

std::optional<SettingProblem> checkSettingValue(int parameter, double value)
{
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX)
        return problem(parameter, QStringLiteral("%1 is not a number the record can hold").arg(text(value)));
    switch (parameter) {
    case param::StartEnergy:
    case param::FinishEnergy:
    case param::EnergyStep:
    case param::FixedEnergy:
        return checkEnergy(parameter, value);
    case param::TargetLight:
        if (!(value > 0))
            return problem(parameter, QStringLiteral("the target UV intensity must be above 0 nW, not %1").arg(text(value)));
        break;
    case param::PowerNumber:
        if (!(value > 0 && value <= limits::MaxPowerNumber))
            return problem(parameter, QStringLiteral("the power number must lie above 0 and at most %1, not %2")
                                          .arg(text(limits::MaxPowerNumber), text(value)));
        break;
    case param::MeasureCount:
        if (!whole(value) || value < 1 || value > limits::MaxWhole)
            return problem(parameter, QStringLiteral("the measure count must be a whole number from 1 to %1, not %2")
                                          .arg(limits::MaxWhole)
                                          .arg(text(value)));
        break;
    case param::CountingTime:
        if (value <= 0)
            return problem(parameter, QStringLiteral("the counting time must be at least %1 s, not %2")
                                          .arg(limits::MinCountingTime)
                                          .arg(text(value)),
                           msg::SetCountingTime, msg::NoCountingTimeTitle);
        if (!whole(value) || value < limits::MinCountingTime || value > limits::MaxWhole)
            return problem(parameter, QStringLiteral("the counting time must be a whole number of seconds from %1 "
                                                     "to %2, not %3")
                                          .arg(limits::MinCountingTime)
                                          .arg(limits::MaxWhole)
                                          .arg(text(value)));
        break;
    case param::CalibrationShift:
        if (value < 0)
            return problem(parameter, QStringLiteral("the sample thickness must not be negative, not %1").arg(text(value)),
                           msg::InputThickness, msg::NoThicknessTitle);
        break;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<SettingProblem> checkSampleName(const QString& name)
{
    if (name.isEmpty())
        return problem(param::SampleName, QStringLiteral("the sample name is empty"), msg::EnterSampleName,
                       msg::NoSampleNameTitle);
    if (name.size() > limits::SampleNameLength)
        return problem(param::SampleName, QStringLiteral("the sample name has %1 characters; the database holds "
                                                         "at most %2")
                                              .arg(name.size())
                                              .arg(limits::SampleNameLength));
    return std::nullopt;
}

std::optional<SettingProblem> checkMeasurementSettings(const clsTz4DataSet& record)
{
    const int kind = record.Kind();
    if (kind == clsTz4DataSet::KindT || kind == clsTz4DataSet::KindNone)
        return std::nullopt;
    if (auto name = checkSampleName(record.Parameters(param::SampleName).toString()))
        return name;

    QList<int> used{param::TargetLight};
    if (kind == clsTz4DataSet::KindW || kind == clsTz4DataSet::KindL)
        used << param::StartEnergy << param::FinishEnergy << param::EnergyStep;
    else
        used << param::FixedEnergy << param::MeasureCount;
    if (kind != clsTz4DataSet::KindL)
        used << param::CountingTime;
    if (kind == clsTz4DataSet::KindD)
        used << param::CalibrationShift;
    for (int parameter : used)
        if (auto bad = checkSettingValue(parameter, record.Parameters(parameter).toDouble()))
            return bad;

    if (kind == clsTz4DataSet::KindW || kind == clsTz4DataSet::KindL) {
        const double start = record.Parameters(param::StartEnergy).toDouble();
        const double end = record.Parameters(param::FinishEnergy).toDouble();
        const double step = record.Parameters(param::EnergyStep).toDouble();
        if (!(end > start))
            return problem(param::FinishEnergy, QStringLiteral("the end energy %1 eV must lie above the start energy %2 eV")
                                                    .arg(text(end), text(start)),
                           msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
        const qint64 span = std::llround((end - start) * 100);
        const qint64 hundredthsStep = std::llround(step * 100);
        if (span % hundredthsStep != 0)
            return problem(param::EnergyStep, QStringLiteral("the step %1 eV does not divide the range %2 to %3 eV "
                                                             "into whole steps")
                                                  .arg(text(step), text(start), text(end)),
                           msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
    }
    return std::nullopt;
}

} // namespace tz4
