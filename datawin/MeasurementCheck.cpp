#include "datawin/LightSignal.h"
#include "datawin/MeasurementControl.h"
#include "datawin/MeasurementSettingsCheck.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"
#include "instrument/Tz4Body.h"

#include <cmath>

namespace tz4 {

namespace {

bool refuse(int textId, int titleId)
{
    showCatalogMessage(textId, titleId, MessageIcon::Information);
    return false;
}

// Counting-rate energies the monochromator can reach.
bool fixedEnergyInRange(float energy) { return energy >= 3.4f && energy <= 6.8f; }

} // namespace

namespace {
int problemsShown = 0;
} // namespace

int settingProblemsShown() { return problemsShown; }

void showSettingProblem(const SettingProblem& problem)
{
    ++problemsShown;
    const QString title = GetRes(problem.titleId != 0 ? problem.titleId : msg::MeasurementTitle);
    QString sentence;
    if (currentLanguage() == Language::Japanese && !problem.japanese.isEmpty()) {
        sentence = problem.japanese + QStringLiteral("。");
    } else {
        sentence = problem.sentence + QLatin1Char('.');
        sentence[0] = sentence[0].toUpper();
    }
    const QString text = problem.textId != 0 ? GetRes(problem.textId) + QStringLiteral("\r\n") + sentence : sentence;
    errorReporter().showMessage(text, title, MessageIcon::Information, MessageButtons::Ok);
}

// Shows the catalogue's refusal with the value and the rule below it.
bool refuse(const SettingProblem& problem)
{
    showSettingProblem(problem);
    return false;
}

bool MeasurementControl::checkAnode()
{
    const qint16 volts = body_.HV_Volts();
    return volts >= 2501 || refuse(anodeNotSet(volts));
}

bool MeasurementControl::CheckMeasStart()
{
    EnterProcedure here("frmData:CheckMeasStart");
    if (record_.Parameters(param::SampleName).toString().isEmpty())
        return refuse(msg::EnterSampleName, msg::NoSampleNameTitle);
    if (!location_)
        return refuse(msg::SetLocation, msg::NoLocationTitle);

    const int kind = record_.Kind();
    if (kind == clsTz4DataSet::KindT)
        return true;

    const float fixedEnergy = record_.Parameters(param::FixedEnergy).toFloat();
    const bool scan = kind == clsTz4DataSet::KindW || kind == clsTz4DataSet::KindL;
    // A step of zero or below is out of range, not a division by zero.
    const bool energyOk = scan ? record_.Parameters(param::EnergyStep).toFloat() > 0 && body_.EngSetStatus()
                               : fixedEnergyInRange(fixedEnergy);
    if (!energyOk) {
        const auto problem = scan ? checkScan(record_.Parameters(param::StartEnergy).toDouble(),
                                              record_.Parameters(param::FinishEnergy).toDouble(),
                                              record_.Parameters(param::EnergyStep).toDouble())
                                  : checkSettingValue(param::FixedEnergy, fixedEnergy);
        return problem ? refuse(*problem) : refuse(msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
    }
    const float measured = record_.Parameters(param::MeasuredLight).toFloat();
    const float target = record_.Parameters(param::TargetLight).toFloat();
    if (!uvIntensityInBand(measured, target))
        return refuse(uvOutOfBand(measured, target));
    if (kind != clsTz4DataSet::KindL) {
        if (record_.Parameters(param::CountingTime).toInt() == 0)
            return refuse(*checkSettingValue(param::CountingTime, 0));
        if (!checkAnode())
            return false;
        if (kind == clsTz4DataSet::KindD && record_.Parameters(param::CalibrationShift).toFloat() < 0)
            return refuse(*checkSettingValue(param::CalibrationShift, record_.Parameters(param::CalibrationShift).toDouble()));
    }
    // Values no check above catches but the instrument or the stored fields cannot take (a
    // negative counting time, energies outside the monochromator's range).
    if (const auto problem = checkMeasurementSettings(record_)) {
        showSettingProblem(*problem);
        return false;
    }
    return true;
}

void MeasurementControl::MakeMeasDefault(const QString& key)
{
    EnterProcedure here("frmData:MakeMeasDefault");
    Q_UNUSED(key);
    if (defaultsMade_)
        return;
    defaultsMade_ = true;

    record_.setParameters(param::SampleName, QStringLiteral("NewSample"));
    record_.setParameters(param::AnodeVoltage, body_.HV_Volts());
    record_.setParameters(param::DeadTime, body_.SumLost());
    record_.setParameters(param::MeasuredLight, body_.LastLight());

    switch (record_.Kind()) {
    case clsTz4DataSet::KindW:
    case clsTz4DataSet::KindL: {
        for (int type = 0; type < 3; ++type)
            record_.setGraphX(type, record_.Parameters(param::StartEnergy + type).toFloat());
        float yMax = 0;
        if (record_.Kind() == clsTz4DataSet::KindL) {
            yMax = 10 * record_.Parameters(param::TargetLight).toFloat();
        } else {
            const float n = record_.Parameters(param::PowerNumber).toFloat();
            if (n != 0 && record_.ExpLog()) {
                yMax = float(std::llround(std::pow(2000.0, double(n))));
            } else {
                record_.setParameters(param::PowerNumber, 1.0f);
                yMax = 2000;
            }
        }
        record_.setGraphY(0, 0);
        record_.setGraphY(1, yMax);
        record_.setGraphY(2, yMax / 10);
        break;
    }
    case clsTz4DataSet::KindC:
    case clsTz4DataSet::KindD: {
        const float count = record_.Parameters(param::MeasureCount).toFloat();
        record_.setGraphX(0, 1);
        record_.setGraphX(1, count);
        record_.setGraphX(2, std::max(1.0f, std::round(count / 10)));
        const float yMax = record_.ExpLog() || record_.Kind() == clsTz4DataSet::KindD ? 4 : 1600;
        record_.setGraphY(0, 0);
        record_.setGraphY(1, yMax);
        record_.setGraphY(2, yMax / 4);
        break;
    }
    default:
        break;
    }
    RefreshDisplay();
}

} // namespace tz4
