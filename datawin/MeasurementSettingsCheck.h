#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tz4 {

class clsTz4DataSet;

// Why a measurement setting cannot be used: the catalogue's own message pair where one fits,
// and always a plain sentence saying what is wrong and what is allowed.
struct SettingProblem {
    int parameter = 0; // the record parameter the problem is about
    int textId = 0;    // 0: the catalogue has no message for it
    int titleId = 0;
    QString sentence; // English, as the command line says it
    QString japanese; // the same for a Japanese interface
};

// What the instrument can do and what the stored fields can hold.
namespace limits {
constexpr double MinEnergy = 3.4; // eV, the monochromator's range
constexpr double MaxEnergy = 6.8;
constexpr int MaxWhole = 32767;   // 16-bit Integer columns (counting time, measure count)
constexpr int MinCountingTime = 2; // one of the one-second readings is dropped as an outlier
constexpr double MaxPowerNumber = 2;
constexpr int SampleNameLength = 80; // Setting.SampleName VarChar(80)
} // namespace limits

// One value typed for a setting, checked before it goes into the record (which would round
// it or drop it without a word).
std::optional<SettingProblem> checkSettingValue(int parameter, double value);
std::optional<SettingProblem> checkSampleName(const QString& name);

// Every setting the record's kind is measured with, together (the scan must be a whole
// number of steps, for example); nothing for a kind that measures nothing.
std::optional<SettingProblem> checkMeasurementSettings(const clsTz4DataSet& record);

// A scan from `start` to `end` in whole steps of `step` eV, the end above the start.
std::optional<SettingProblem> checkScan(double start, double end, double step);

// Refusals of a start that name the value and the rule.
SettingProblem uvOutOfBand(double measured, double target);
SettingProblem anodeNotSet(int volts);

// Refusals of a typed value: not a number, not one of a list's choices, or against a rule
// (given in both languages). `setting` is the grid row's title.
SettingProblem notANumber(const QString& setting, const QString& typed);
SettingProblem notAChoice(const QString& setting, const QString& typed, const QStringList& choices);
SettingProblem cannotUse(const QString& setting, const QString& typed, const QString& rule, const QString& ruleJapanese);

// Shows the problem as a refusal: the catalogue's message (if any) with the sentence below it.
void showSettingProblem(const SettingProblem& problem);
// How many refusals have been shown so far, so an edit can tell whether its refusal was said.
int settingProblemsShown();

} // namespace tz4
