#include "datawin/GridRowShapes.h"
#include "datawin/ParameterGridModel.h"

#include "core/Formats.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/Tz4DataSet.h"
#include "graph/Tz4GraphDisp.h"

// The rows of the Data tab: a record's settings as measured and its results, read-only but
// for the display switches.
namespace tz4 {

namespace {

using namespace gridrow;

class DataRows {
public:
    DataRows(clsTz4GridDatas& rows, const clsTz4DataSet& record) : rows_(rows), record_(record) {}

    QVariant value(int number) const { return record_.Parameters(number); }
    void readOnly(const QString& key, const QString& title, const QVariant& shown, const QString& format = {})
    {
        rows_.Add(key, title, shown, format, false);
    }

    void heading()
    {
        readOnly(QStringLiteral("SampleName"), titled(msg::GridSampleName), value(param::SampleName));
        readOnly(QStringLiteral("MeasDate"), titled(msg::GridMeasureDate),
                 formatDate(value(param::MeasurementDate).toDateTime(), SystemParam().DateTimeFormat));
    }

    void settings(bool withCounting)
    {
        readOnly(QStringLiteral("MeasLight"), titled(msg::GridMeasuredLight, nW), value(param::MeasuredLight), QStringLiteral("###0.0"));
        readOnly(QStringLiteral("SetLight"), titled(msg::GridTargetLight, nW), value(param::TargetLight), QStringLiteral("###0.0"));
        if (!withCounting)
            return;
        readOnly(QStringLiteral("AdjustName"), titled(msg::GridCalibrationLineName), recordNameShown(value(param::CalibrationName)));
        readOnly(QStringLiteral("MeasTime"), titled(msg::GridCountingTime, sec), value(param::CountingTime), QStringLiteral("##0"));
        readOnly(QStringLiteral("AnodeVolts"), titled(msg::GridAnodeVoltage, volts), value(param::AnodeVoltage), QStringLiteral("###0"));
        readOnly(QStringLiteral("DeadTime"), titled(msg::GridDeadTime), value(param::DeadTime), QStringLiteral("0.00000"));
    }

    void energies(int stepTitle)
    {
        readOnly(QStringLiteral("StartEng"), titled(msg::GridStartEnergy, eV), value(param::StartEnergy), QStringLiteral("0.00"));
        readOnly(QStringLiteral("FinishEng"), titled(msg::GridFinishEnergy, eV), value(param::FinishEnergy), QStringLiteral("0.00"));
        readOnly(QStringLiteral("StepEng"), titled(stepTitle, eV), value(param::EnergyStep), QStringLiteral("0.00"));
    }

    void workFunction(const clsTz4GraphDisp* disp)
    {
        settings(true);
        energies(msg::GridDataStep);
        readOnly(QStringLiteral("WowkFunc"), titled(msg::GridWorkFunction, eV), record_.WorkFunction(), QStringLiteral("0.00"));
        readOnly(QStringLiteral("WfUncertainty"), titled(msg::GridUncertainty, eV), record_.WorkFunctionUncertainty(),
                 QStringLiteral("0.000"));
        readOnly(QStringLiteral("Angle"), titled(msg::GridGradient), record_.Gradient(), QStringLiteral("####0.00"));
        rows_.Add(QStringLiteral("PowerNumber"), titled(msg::GridPowerNumber), value(param::PowerNumber), QStringLiteral("0.00"));
        readOnly(QStringLiteral("GndLevel"), titled(msg::GridGroundLevel), record_.GroundLevel(), QStringLiteral("###0.00"));
        asBoolean(rows_.Add(QStringLiteral("Calib"), titled(msg::GridLightCoefficient), {}, {}, false), record_.AdjustFlag());
        asBoolean(rows_.Add(QStringLiteral("WfLine"), titled(msg::GridWfLine), {}), disp && disp->FuncVisible());
        asBoolean(rows_.Add(QStringLiteral("GlLine"), titled(msg::GridGlLine), {}), disp && disp->GndVisible());
        asBoolean(rows_.Add(QStringLiteral("GlLineSub"), titled(msg::GridGlLineSub), {}), record_.GndDown());
    }

    // Statistics: average, minimum, maximum, deviation of the rate, its logarithm, the thickness.
    void counting()
    {
        settings(true);
        readOnly(QStringLiteral("MeasEng"), titled(msg::GridMeasureEnergy, eV), value(param::FixedEnergy), QStringLiteral("0.00"));
        const int first = param::StatisticsFirst;
        const QString cps = QStringLiteral("###0.0"), logs = QStringLiteral("###0.00");
        readOnly(QStringLiteral("CpsAvr"), titled(msg::GridCpsAvr), value(first), cps);
        readOnly(QStringLiteral("CpsMax"), titled(msg::GridCpsMax), value(first + 2), cps);
        readOnly(QStringLiteral("CpsMin"), titled(msg::GridCpsMin), value(first + 1), cps);
        readOnly(QStringLiteral("CpsDev"), titled(msg::GridCpsDev), value(first + 3), cps);
        readOnly(QStringLiteral("LogAvr"), titled(msg::GridLogAvr), value(first + 4), logs);
        readOnly(QStringLiteral("LogMax"), titled(msg::GridLogMax), value(first + 6), logs);
        readOnly(QStringLiteral("LogMin"), titled(msg::GridLogMin), value(first + 5), logs);
        readOnly(QStringLiteral("LogDev"), titled(msg::GridLogDev), value(first + 7), logs);
        if (value(param::AdjustmentRecord).toInt() != 0) {
            readOnly(QStringLiteral("ThkAvr"), titled(msg::GridThkAvr, angstrom), value(first + 8), cps);
            readOnly(QStringLiteral("ThkMax"), titled(msg::GridThkMax, angstrom), value(first + 10), cps);
            readOnly(QStringLiteral("ThkMin"), titled(msg::GridThkMin, angstrom), value(first + 9), cps);
            readOnly(QStringLiteral("ThkDev"), titled(msg::GridThkDev, angstrom), value(first + 11), cps);
            asBoolean(rows_.Add(QStringLiteral("Calib"), titled(msg::GridThicknessOn), {}, {}, false), record_.AdjustFlag());
        }
        asBoolean(rows_.Add(QStringLiteral("LogDisp"), titled(msg::GridLogDisplay), {}), record_.ExpLog());
    }

    void calibration()
    {
        readOnly(QStringLiteral("Angle"), titled(msg::GridCalibGradient), record_.Gradient(), QStringLiteral("####0.000"));
        readOnly(QStringLiteral("Offset"), titled(msg::GridCalibOffset), record_.Intercept(), QStringLiteral("###0.0"));
    }

    void notes()
    {
        rows_.Add(QStringLiteral("Notes1"), titled(msg::GridDataNotes1), value(param::Notes1));
        rows_.Add(QStringLiteral("Notes2"), titled(msg::GridDataNotes2), value(param::Notes2));
        rows_.Add(QStringLiteral("Notes3"), titled(msg::GridDataNotes3), value(param::Notes3));
    }

private:
    clsTz4GridDatas& rows_;
    const clsTz4DataSet& record_;
};

} // namespace

void ParameterGridModel::addDataRows(const clsTz4DataSet& record, const clsTz4GraphDisp* disp)
{
    DataRows rows(rows_, record);
    rows.heading();
    switch (record.Kind()) {
    case clsTz4DataSet::KindW: rows.workFunction(disp); break;
    case clsTz4DataSet::KindC:
    case clsTz4DataSet::KindD: rows.counting(); break;
    case clsTz4DataSet::KindL:
        rows.settings(false);
        rows.energies(msg::GridStep);
        break;
    case clsTz4DataSet::KindT: rows.calibration(); break;
    default: break;
    }
    rows.notes();
}

} // namespace tz4
