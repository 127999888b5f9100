#include "datawin/MeasurementSettingsCheck.h"

#include "core/Formats.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"

#include <QStringList>

#include <cfloat>
#include <cmath>

namespace tz4 {

namespace {

// A sentence in both languages, with the same arguments filled into each.
struct Sentence {
    QString english, japanese;

    Sentence(const char* en, const char* ja) : english(QString::fromUtf8(en)), japanese(QString::fromUtf8(ja))
    {
    }
    Sentence(QString en, QString ja) : english(std::move(en)), japanese(std::move(ja)) {}
    Sentence arg(const QString& a) const { return {english.arg(a), japanese.arg(a)}; }
    Sentence arg(qint64 a) const { return {english.arg(a), japanese.arg(a)}; }
    Sentence arg(const Sentence& a) const { return {english.arg(a.english), japanese.arg(a.japanese)}; }
};

SettingProblem problem(int parameter, const Sentence& sentence, int textId = 0, int titleId = 0)
{
    return {parameter, textId, titleId, sentence.english, sentence.japanese};
}

// Settings are single floats; 0.07 must not read as 0.07000000029802322.
QString text(double value) { return std::fabs(value) <= FLT_MAX ? shortestText(float(value)) : shortestText(value); }

bool whole(double value) { return value == std::floor(value); }

// Stored settings come back as single floats: 6.8 reads as 6.8000002.
constexpr double Tolerance = 1e-5;

// Energies are stored and sent in hundredths of an eV; a finer value would be rounded.
bool hundredths(double eV) { return std::fabs(eV * 100 - std::round(eV * 100)) < 1e-3; }

Sentence energyName(int parameter)
{
    switch (parameter) {
    case param::StartEnergy: return {"the start energy", "開始エネルギー"};
    case param::FinishEnergy: return {"the end energy", "終了エネルギー"};
    case param::EnergyStep: return {"the energy step", "エネルギーステップ"};
    default: return {"the measuring energy", "測定エネルギー"};
    }
}

std::optional<SettingProblem> checkEnergy(int parameter, double eV)
{
    if (parameter == param::EnergyStep) {
        if (!(eV > 0))
            return problem(parameter,
                           Sentence("the energy step must be above 0 eV, not %1",
                                    "エネルギーステップは 0 eV より大きくしてください (%1 は使えません)")
                               .arg(text(eV)),
                           msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
        if (eV > limits::MaxEnergy - limits::MinEnergy + Tolerance)
            return problem(parameter,
                           Sentence("the energy step %1 eV is wider than the instrument's range",
                                    "エネルギーステップ %1 eV は装置の範囲より広すぎます")
                               .arg(text(eV)),
                           msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
    } else if (!(eV >= limits::MinEnergy - Tolerance && eV <= limits::MaxEnergy + Tolerance)) {
        return problem(parameter,
                       Sentence("%1 %2 eV lies outside the instrument's range %3 to %4 eV",
                                "%1 %2 eV は装置の範囲 %3～%4 eV の外です")
                           .arg(energyName(parameter))
                           .arg(text(eV))
                           .arg(text(limits::MinEnergy))
                           .arg(text(limits::MaxEnergy)),
                       msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
    }
    if (!hundredths(eV))
        return problem(parameter,
                       Sentence("%1 %2 eV has more than two decimals; energies are set in hundredths of an eV",
                                "%1 %2 eV は小数点以下が 2 桁を超えています。エネルギーは 0.01 eV 単位で設定します")
                           .arg(energyName(parameter))
                           .arg(text(eV)));
    return std::nullopt;
}

} // namespace

std::optional<SettingProblem> checkSettingValue(int parameter, double value)
{
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX)
        return problem(parameter,
                       Sentence("%1 is not a number the record can hold", "%1 は記録できる数値ではありません")
                           .arg(text(value)));
    switch (parameter) {
    case param::StartEnergy:
    case param::FinishEnergy:
    case param::EnergyStep:
    case param::FixedEnergy:
        return checkEnergy(parameter, value);
    case param::TargetLight:
        if (!(value > 0))
            return problem(parameter,
                           Sentence("the target UV intensity must be above 0 nW, not %1",
                                    "UV 強度の目標値は 0 nW より大きくしてください (%1 は使えません)")
                               .arg(text(value)));
        break;
    case param::PowerNumber:
        if (!(value > 0 && value <= limits::MaxPowerNumber))
            return problem(parameter,
                           Sentence("the power number must lie above 0 and at most %1, not %2",
                                    "べき数は 0 より大きく %1 以下にしてください (%2 は使えません)")
                               .arg(text(limits::MaxPowerNumber))
                               .arg(text(value)));
        break;
    case param::MeasureCount:
        if (!whole(value) || value < 1 || value > limits::MaxWhole)
            return problem(parameter,
                           Sentence("the measure count must be a whole number from 1 to %1, not %2",
                                    "測定回数は 1～%1 の整数にしてください (%2 は使えません)")
                               .arg(limits::MaxWhole)
                               .arg(text(value)));
        break;
    case param::CountingTime:
        if (value <= 0)
            return problem(parameter,
                           Sentence("the counting time must be at least %1 s, not %2",
                                    "計数時間は %1 秒以上にしてください (%2 は使えません)")
                               .arg(limits::MinCountingTime)
                               .arg(text(value)),
                           msg::SetCountingTime, msg::NoCountingTimeTitle);
        if (!whole(value) || value < limits::MinCountingTime || value > limits::MaxWhole)
            return problem(parameter,
                           Sentence("the counting time must be a whole number of seconds from %1 to %2, not %3",
                                    "計数時間は %1～%2 秒の整数にしてください (%3 は使えません)")
                               .arg(limits::MinCountingTime)
                               .arg(limits::MaxWhole)
                               .arg(text(value)));
        break;
    case param::CalibrationShift:
        if (value < 0)
            return problem(parameter,
                           Sentence("the sample thickness must not be negative, not %1",
                                    "試料の膜厚は負にできません (%1 は使えません)")
                               .arg(text(value)),
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
        return problem(param::SampleName, Sentence("the sample name is empty", "試料名が空です"), msg::EnterSampleName,
                       msg::NoSampleNameTitle);
    if (name.size() > limits::SampleNameLength)
        return problem(param::SampleName,
                       Sentence("the sample name has %1 characters; the database holds at most %2",
                                "試料名が %1 文字あります。データベースに保存できるのは %2 文字までです")
                           .arg(name.size())
                           .arg(limits::SampleNameLength));
    return std::nullopt;
}

std::optional<SettingProblem> checkScan(double start, double end, double step)
{
    if (!(end > start))
        return problem(param::FinishEnergy,
                       Sentence("the end energy %1 eV must lie above the start energy %2 eV",
                                "終了エネルギー %1 eV は開始エネルギー %2 eV より大きくしてください")
                           .arg(text(end))
                           .arg(text(start)),
                       msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
    const qint64 span = std::llround((end - start) * 100);
    const qint64 hundredthsStep = std::llround(step * 100);
    if (hundredthsStep <= 0 || span % hundredthsStep != 0)
        return problem(param::EnergyStep,
                       Sentence("the step %1 eV does not divide the range %2 to %3 eV into whole steps",
                                "ステップ %1 eV では範囲 %2～%3 eV を整数個のステップに分けられません")
                           .arg(text(step))
                           .arg(text(start))
                           .arg(text(end)),
                       msg::EnergyOutOfRange, msg::EnergyOutOfRangeTitle);
    return std::nullopt;
}

SettingProblem uvOutOfBand(double measured, double target)
{
    return problem(param::MeasuredLight,
                   Sentence("the UV intensity %1 nW must lie within 80 to 120 % of the target %2 nW (%3 to %4 nW); "
                            "adjust it first with Measurement > UV Intensity adjustment",
                            "UV 強度 %1 nW は目標値 %2 nW の 80～120 % (%3～%4 nW) にしてください。"
                            "先に「測定」>「UV強度調整」で調整してください")
                       .arg(text(measured))
                       .arg(text(target))
                       .arg(text(0.8 * target))
                       .arg(text(1.2 * target)),
                   msg::UvOutOfRange, msg::UvOutOfRangeTitle);
}

SettingProblem anodeNotSet(int volts)
{
    return problem(param::AnodeVoltage,
                   Sentence("the anode voltage is %1 V; a measurement needs 2501 V or more: set it with "
                            "Measurement > Anode Voltage",
                            "アノード電圧は %1 V です。測定には 2501 V 以上が必要です。"
                            "「測定」>「アノード電圧」で設定してください")
                       .arg(volts),
                   msg::SetAnodeVoltage, msg::NoAnodeVoltageTitle);
}

SettingProblem notANumber(const QString& setting, const QString& typed)
{
    return problem(0,
                   Sentence("\"%1\" is not a number; %2 takes a number such as 5.25",
                            "「%1」は数値ではありません。%2 には 5.25 のような数値を入力してください")
                       .arg(typed)
                       .arg(Sentence(setting, setting)));
}

SettingProblem notAChoice(const QString& setting, const QString& typed, const QStringList& choices)
{
    return problem(0,
                   Sentence("\"%1\" is not one of the choices of %2: %3",
                            "「%1」は %2 の選択肢にありません: %3")
                       .arg(typed)
                       .arg(Sentence(setting, setting))
                       .arg(choices.join(QStringLiteral(", "))));
}

SettingProblem cannotUse(const QString& setting, const QString& typed, const QString& rule, const QString& ruleJapanese)
{
    return problem(0,
                   Sentence("%1 cannot be %2: %3", "%1 に %2 は使えません: %3")
                       .arg(Sentence(setting, setting))
                       .arg(typed)
                       .arg(Sentence(rule, ruleJapanese)));
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

    if (kind == clsTz4DataSet::KindW || kind == clsTz4DataSet::KindL)
        return checkScan(record.Parameters(param::StartEnergy).toDouble(), record.Parameters(param::FinishEnergy).toDouble(),
                         record.Parameters(param::EnergyStep).toDouble());
    return std::nullopt;
}

} // namespace tz4
