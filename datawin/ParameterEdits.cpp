#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementSettingsCheck.h"
#include "datawin/ParameterGridModel.h"

#include "core/ErrorLocation.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"
#include "graph/Tz4GraphDisp.h"

#include <QLocale>

#include <cmath>

namespace tz4 {

namespace {

// Typed text in the user's locale, or in the C locale; nothing else is a number.
bool parseNumber(const QVariant& value, double* number)
{
    if (value.typeId() != QMetaType::QString) {
        bool ok = false;
        *number = value.toDouble(&ok);
        return ok && std::isfinite(*number);
    }
    const QString text = value.toString().trimmed();
    bool ok = false;
    *number = QLocale().toDouble(text, &ok);
    if (!ok)
        *number = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(*number);
}

// A list position, given as its index or as the text of the choice.
int listPosition(const clsTz4GridData& row, const QVariant& value)
{
    if (value.typeId() == QMetaType::QString) {
        const int at = int(row.ListItem.indexOf(value.toString()));
        if (at >= 0)
            return at;
    }
    bool ok = false;
    const int index = value.toInt(&ok);
    return ok && index >= 0 && index < row.ListCount() ? index : -1;
}

// Writes a setting and tells whether the record took it: it keeps its value when the new one
// does not fit the setting's type.
bool setChecked(clsTz4DataSet& record, int number, double value)
{
    record.setParameters(number, value);
    const double now = record.Parameters(number).toDouble();
    return std::fabs(now - value) <= 1e-4 * std::max(1.0, std::fabs(value));
}

// A value the instrument or the record cannot take is refused with the reason.
bool acceptable(int parameter, double value)
{
    if (const auto problem = checkSettingValue(parameter, value)) {
        showSettingProblem(*problem);
        return false;
    }
    return true;
}

// A scan's energies must keep it a whole number of steps.
bool scanStaysWhole(const clsTz4DataSet& record, int parameter, double value)
{
    if (record.Kind() != clsTz4DataSet::KindW && record.Kind() != clsTz4DataSet::KindL)
        return true;
    if (parameter != param::StartEnergy && parameter != param::FinishEnergy && parameter != param::EnergyStep)
        return true;
    auto energy = [&](int number) { return number == parameter ? value : record.Parameters(number).toDouble(); };
    if (const auto problem = checkScan(energy(param::StartEnergy), energy(param::FinishEnergy), energy(param::EnergyStep))) {
        showSettingProblem(*problem);
        return false;
    }
    return true;
}

// The rule a refused value broke, for the rows whose writers refuse without a message.
SettingProblem refusalOf(const clsTz4GridData& cell, const QString& typed)
{
    const QString& key = cell.Key;
    if (key.endsWith(QLatin1String("Step")))
        return cannotUse(cell.Title, typed, QStringLiteral("a scale step must be above 0"),
                         QStringLiteral("目盛の間隔は 0 より大きくしてください"));
    if (key == QLatin1String("DotSize") || key == QLatin1String("SelSize"))
        return cannotUse(cell.Title, typed, QStringLiteral("a dot size is a whole number from 0 to 32767"),
                         QStringLiteral("点の大きさは 0～32767 の整数です"));
    if (key == QLatin1String("OverLay"))
        return cannotUse(cell.Title, typed, QStringLiteral("the level lies from 0 to 1"),
                         QStringLiteral("レベルは 0～1 の範囲です"));
    return cannotUse(cell.Title, typed, QStringLiteral("the value does not fit this setting"),
                     QStringLiteral("この設定には使えない値です"));
}

} // namespace

bool ParameterGridModel::ValidateEdit(int row, const QVariant& value)
{
    EnterProcedure here("frmData:tz4Grid_ValidateEdit");
    if (!editable(row))
        return false;
    clsTz4DataSet* record = window_.selected();
    if (!record)
        return false;
    const clsTz4GridData& cell = rows_.Item(row);
    const QString key = cell.Key;
    double number = 0;
    const bool isNumber = parseNumber(value, &number);
    // Nothing typed is dropped without a word.
    if (cell.Numeric && !isNumber) {
        showSettingProblem(notANumber(cell.Title, value.toString()));
        return false;
    }
    int position = -1;
    if (cell.EditType == clsTz4GridData::EditList || cell.EditType == clsTz4GridData::EditBoolList) {
        position = listPosition(cell, value);
        if (position < 0) {
            showSettingProblem(notAChoice(cell.Title, value.toString(), cell.ListItem));
            return false;
        }
        number = position;
    }

    // Settings typed after a measurement was stored are for the next one.
    if (tab_ == Meas && window_.isMeasurementWindow() && record->SeqNo() > 0) {
        window_.renewMeasurementRecord();
        record = window_.selected();
        if (!record)
            return false;
    }
    bool written = false;
    const int refusalsBefore = settingProblemsShown();
    switch (tab_) {
    case Meas: written = writeMeas(key, *record, value, number, isNumber || position >= 0); break;
    case Disp: written = writeDisp(key, window_.currentDisp(), value, number, isNumber || position >= 0); break;
    case Data: written = writeData(key, *record, window_.currentDisp(), value, number, isNumber || position >= 0); break;
    }
    if (!written) {
        if (settingProblemsShown() == refusalsBefore)
            showSettingProblem(refusalOf(cell, value.toString()));
        return false;
    }
    // Derived rows (the UV band, the analysis, the Y unit) follow the new value.
    MakeParameterList();
    emit edited(key);
    return true;
}

bool ParameterGridModel::PushEditButton(int row, qint32 colour)
{
    EnterProcedure here("frmData:tz4Grid_PushEditButton");
    if (row < 0 || row >= rows_.Count() || rows_.Item(row).EditType != clsTz4GridData::EditButton)
        return false;
    clsTz4GraphDisp* disp = window_.currentDisp();
    if (!disp || colour < 0 || colour > 0xFFFFFF)
        return false;
    const QString key = rows_.Item(row).Key;
    if (key == QLatin1String("BackColor"))
        disp->setBackColor(colour);
    else if (key == QLatin1String("ForeColor"))
        disp->setForeColor(colour);
    else if (key == QLatin1String("ScaleColor"))
        disp->setScaleColor(colour);
    else if (key == QLatin1String("DotColor"))
        disp->setDotColor(colour);
    else if (key == QLatin1String("LineColor"))
        disp->setLineColor(colour);
    else if (key == QLatin1String("SelColor"))
        disp->setSelectColor(colour);
    else
        return false;
    store(nullptr, disp);
    MakeParameterList();
    emit edited(key);
    return true;
}

// The Y maximum of a powered scale follows the power number, so the curve keeps its height.
void ParameterGridModel::setPowerNumber(clsTz4DataSet& record, double number)
{
    record.setParameters(param::PowerNumber, number);
    const float yMax = float(std::llround(std::pow(2000.0, number)));
    record.setGraphY(1, yMax);
    record.setGraphY(2, yMax / 10);
    record.setDataY(1, yMax);
    record.setDataY(2, yMax / 10);
}

// Logarithms and plain counting rates have scales of their own.
void ParameterGridModel::setLogDisplay(clsTz4DataSet& record, bool on)
{
    record.setExpLog(on);
    const float yMax = record.ExpLog() ? 4 : 1600;
    record.setGraphY(1, yMax);
    record.setGraphY(2, yMax / 4);
}

// The X scale of a record still to be measured follows its scan or its count.
void ParameterGridModel::followScan(clsTz4DataSet& record)
{
    switch (record.Kind()) {
    case clsTz4DataSet::KindW:
    case clsTz4DataSet::KindL:
        record.setGraphX(0, record.Parameters(param::StartEnergy).toFloat());
        record.setGraphX(1, record.Parameters(param::FinishEnergy).toFloat());
        // Ticks stand on the measured energies; labels thin out by themselves.
        record.setGraphX(2, record.Parameters(param::EnergyStep).toFloat());
        break;
    case clsTz4DataSet::KindC:
    case clsTz4DataSet::KindD: {
        const float count = record.Parameters(param::MeasureCount).toFloat();
        record.setGraphX(0, 1);
        record.setGraphX(1, count);
        record.setGraphX(2, std::max(1.0f, std::round(count / 10)));
        break;
    }
    default: break;
    }
}

bool ParameterGridModel::writeMeas(const QString& key, clsTz4DataSet& record, const QVariant& value, double number,
                                   bool isNumber)
{
    static const QHash<QString, int> plain = {
        {QStringLiteral("StartEng"), param::StartEnergy}, {QStringLiteral("FinishEng"), param::FinishEnergy},
        {QStringLiteral("StepEng"), param::EnergyStep},   {QStringLiteral("MeasEng"), param::FixedEnergy},
        {QStringLiteral("SetLight"), param::TargetLight}, {QStringLiteral("MeasCount"), param::MeasureCount},
        {QStringLiteral("MeasTime"), param::CountingTime}};
    if (key == QLatin1String("SampleName")) {
        const QString name = value.toString().trimmed();
        if (const auto problem = checkSampleName(name)) {
            showSettingProblem(*problem);
            return false;
        }
        record.setParameters(param::SampleName, name);
        store(&record, nullptr);
        return true;
    }
    if (key == QLatin1String("Notes1")) {
        record.setParameters(param::Notes1, value.toString());
        store(&record, nullptr);
        return true;
    }
    if (key == QLatin1String("Path")) {
        const auto& folders = window_.folderChoices();
        const int at = int(number);
        if (at < 0 || at >= folders.size())
            return false;
        window_.setLocation(folders.at(at).first);
        return true;
    }
    if (!isNumber)
        return false;
    if (const auto it = plain.find(key); it != plain.end()) {
        if (!acceptable(*it, number) || !scanStaysWhole(record, *it, number) || !setChecked(record, *it, number))
            return false;
        if (record.SeqNo() == 0)
            followScan(record);
    } else if (key == QLatin1String("PowerNumber")) {
        if (!acceptable(param::PowerNumber, number))
            return false;
        setPowerNumber(record, number);
    } else if (key == QLatin1String("ThkValue")) {
        if (!setChecked(record, param::CalibrationThickness, number))
            return false;
    } else if (key == QLatin1String("ThkShift") || key == QLatin1String("ThickValue")) {
        if ((key == QLatin1String("ThickValue") && !acceptable(param::CalibrationShift, number))
            || !setChecked(record, param::CalibrationShift, number))
            return false;
    } else if (key == QLatin1String("ThkDisp")) {
        record.setAdjustFlag(number != 0);
    } else if (key == QLatin1String("LogDisp")) {
        setLogDisplay(record, number != 0);
    } else {
        return false;
    }
    store(&record, nullptr);
    return true;
}

bool ParameterGridModel::writeData(const QString& key, clsTz4DataSet& record, clsTz4GraphDisp* disp,
                                   const QVariant& value, double number, bool isNumber)
{
    if (key.startsWith(QLatin1String("Notes"))) {
        const int which = key.right(1).toInt();
        if (which < 1 || which > 3)
            return false;
        record.setParameters(param::Notes1 + which - 1, value.toString());
        store(&record, nullptr);
        return true;
    }
    if (!isNumber)
        return false;
    const bool on = number != 0;
    if (key == QLatin1String("PowerNumber")) {
        if (!acceptable(param::PowerNumber, number))
            return false;
        setPowerNumber(record, number);
        store(&record, nullptr);
    } else if (key == QLatin1String("GlLineSub")) {
        record.setGndDown(on);
        store(&record, nullptr);
    } else if (key == QLatin1String("LogDisp")) {
        setLogDisplay(record, on);
        store(&record, nullptr);
    } else if (disp && key == QLatin1String("WfLine")) {
        disp->setFuncVisible(on);
        store(nullptr, disp);
    } else if (disp && key == QLatin1String("GlLine")) {
        disp->setGndVisible(on);
        store(nullptr, disp);
    } else {
        return false;
    }
    return true;
}

// Edits of a stored record reach its settings row at once; display sets follow the window's
// rule for them.
void ParameterGridModel::store(clsTz4DataSet* record, clsTz4GraphDisp* disp)
{
    if (record)
        window_.storeSettings(*record);
    if (disp)
        window_.storeDisplay(*disp);
}

} // namespace tz4
