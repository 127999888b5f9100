#include "datawin/DataWindowControl.h"
#include "datawin/GridRowShapes.h"
#include "datawin/LightSignal.h"
#include "datawin/ParameterGridModel.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/Tz4DataSet.h"
#include "graph/Tz4GraphDisp.h"

namespace tz4 {

namespace {

using Row = clsTz4GridData;
using namespace gridrow;

// The unit of the Y axis: the powered yield for W, the logarithm or the thickness for the
// counting-rate modes.
QString yUnit(const clsTz4DataSet& record)
{
    switch (record.Kind()) {
    case clsTz4DataSet::KindW:
        return QStringLiteral("CPS^") + shortestText(record.Parameters(param::PowerNumber).toFloat());
    case clsTz4DataSet::KindC:
    case clsTz4DataSet::KindD:
        if (record.AdjustFlag())
            return angstrom;
        return record.ExpLog() ? QStringLiteral("LogCPS") : QStringLiteral("CPS");
    case clsTz4DataSet::KindL: return nW;
    default: return {};
    }
}

} // namespace

void ParameterGridModel::MakeParameterList()
{
    EnterProcedure here("frmData:MakeParameterList");
    if (building_)
        return;
    building_ = true;
    clsTz4GridDatas before = rows_;
    rows_.Clear();
    if (const clsTz4DataSet* record = window_.selected()) {
        switch (tab_) {
        case Meas: addMeasRows(*record); break;
        case Disp: addDispRows(*record, window_.currentDisp()); break;
        case Data: addDataRows(*record, window_.currentDisp()); break;
        }
    }
    // The same rows with new values are updated in place, so an open editor and the
    // selection survive a refresh; other rows make a new table.
    bool sameRows = before.Count() == rows_.Count();
    for (int i = 0; sameRows && i < rows_.Count(); ++i)
        sameRows = before.Item(i).Key == rows_.Item(i).Key;
    if (sameRows && rows_.Count() > 0) {
        emit dataChanged(index(0, 0), index(rows_.Count() - 1, 1));
    } else {
        // Views must see the old rows until the reset begins.
        std::swap(rows_, before);
        beginResetModel();
        std::swap(rows_, before);
        endResetModel();
    }
    building_ = false;
}

void ParameterGridModel::addMeasRows(const clsTz4DataSet& record)
{
    const int kind = record.Kind();
    auto value = [&](int number) { return record.Parameters(number); };
    rows_.Add(QStringLiteral("SampleName"), titled(msg::GridSampleName), value(param::SampleName));

    QStringList folders;
    int chosen = -1;
    for (const auto& [number, name] : window_.folderChoices()) {
        if (window_.location() == number)
            chosen = int(folders.size());
        folders << name;
    }
    Row& path = rows_.Add(QStringLiteral("Path"), titled(msg::GridLocation), chosen >= 0 ? folders.at(chosen) : QString(),
                          {}, true, Row::EditList);
    asList(path, folders, chosen);

    if (kind == clsTz4DataSet::KindT || kind == clsTz4DataSet::KindNone)
        return;
    const bool scan = is(kind, {clsTz4DataSet::KindW, clsTz4DataSet::KindL});
    const bool counting = is(kind, {clsTz4DataSet::KindC, clsTz4DataSet::KindD});
    if (scan) {
        rows_.Add(QStringLiteral("StartEng"), titled(msg::GridStartEnergy, eV), value(param::StartEnergy), QStringLiteral("0.00"));
        rows_.Add(QStringLiteral("FinishEng"), titled(msg::GridFinishEnergy, eV), value(param::FinishEnergy), QStringLiteral("0.00"));
        rows_.Add(QStringLiteral("StepEng"), titled(msg::GridStep, eV), value(param::EnergyStep), QStringLiteral("0.00"));
    }
    if (counting) {
        rows_.Add(QStringLiteral("MeasEng"), titled(msg::GridMeasureEnergy, eV), value(param::FixedEnergy), QStringLiteral("0.00"));
        rows_.Add(QStringLiteral("MeasCount"), titled(msg::GridCountingCount), value(param::MeasureCount), QStringLiteral("##0"));
    }
    if (kind != clsTz4DataSet::KindL)
        rows_.Add(QStringLiteral("MeasTime"), titled(msg::GridCountingTime, sec), value(param::CountingTime), QStringLiteral("##0"));
    const float target = value(param::TargetLight).toFloat();
    const float measured = value(param::MeasuredLight).toFloat();
    rows_.Add(QStringLiteral("SetLight"), titled(msg::GridTargetLight, nW), target, QStringLiteral("###0.0"));
    // The measured intensity carries the indicator colour of its distance from the target.
    rows_.Add(QStringLiteral("MeasLight"), titled(msg::GridMeasuredLight, nW), measured, QStringLiteral("###0.0"), false)
        .BackColor = qint32(GetLightSignal(measured, target));
    rows_.Add(QStringLiteral("MinLight"), titled(msg::GridMinLight, nW), 0.8 * double(target), QStringLiteral("###0.0"), false);
    rows_.Add(QStringLiteral("MaxLight"), titled(msg::GridMaxLight, nW), 1.2 * double(target), QStringLiteral("###0.0"), false);
    rows_.Add(QStringLiteral("Notes1"), titled(msg::GridNotes1), value(param::Notes1));
    if (kind != clsTz4DataSet::KindL) {
        rows_.Add(QStringLiteral("AnodeVolts"), titled(msg::GridAnodeVoltage, volts), value(param::AnodeVoltage), QStringLiteral("###0"), false);
        rows_.Add(QStringLiteral("DeadTime"), titled(msg::GridDeadTime), value(param::DeadTime), QStringLiteral("0.00000"), false);
    }
    if (kind == clsTz4DataSet::KindW)
        rows_.Add(QStringLiteral("AdjustName"), titled(msg::GridLightCoefficientName), recordNameShown(value(param::CalibrationName)), {}, false);
    if (kind == clsTz4DataSet::KindC)
        rows_.Add(QStringLiteral("AdjustName"), titled(msg::GridCalibrationLineName), recordNameShown(value(param::CalibrationName)), {}, false);
    if (kind == clsTz4DataSet::KindW)
        rows_.Add(QStringLiteral("PowerNumber"), titled(msg::GridPowerNumber), value(param::PowerNumber), QStringLiteral("0.00"));
    if (kind == clsTz4DataSet::KindC) {
        rows_.Add(QStringLiteral("ThkValue"), titled(msg::GridCalibrationThickness, angstrom), value(param::CalibrationThickness))
            .Numeric = true;
        rows_.Add(QStringLiteral("ThkShift"), titled(msg::GridCalibrationShift), value(param::CalibrationShift), QStringLiteral("##0.0"));
        asBoolean(rows_.Add(QStringLiteral("ThkDisp"), titled(msg::GridThicknessOn), {}), record.AdjustFlag());
        asBoolean(rows_.Add(QStringLiteral("LogDisp"), titled(msg::GridLogDisplay), {}), record.ExpLog());
    }
    if (kind == clsTz4DataSet::KindD)
        rows_.Add(QStringLiteral("ThickValue"), titled(msg::GridThickness, angstrom), value(param::CalibrationShift)).Numeric = true;
}

void ParameterGridModel::addDispRows(const clsTz4DataSet& record, clsTz4GraphDisp* disp)
{
    const int kind = record.Kind();
    const QString xUnit = is(kind, {clsTz4DataSet::KindW, clsTz4DataSet::KindL}) ? eV : QString();
    const QString y = yUnit(record);
    const QString range = QStringLiteral("###0.00");
    rows_.Add(QStringLiteral("XMin"), titled(msg::GridXMin, xUnit), record.GraphX(0), range);
    rows_.Add(QStringLiteral("XMax"), titled(msg::GridXMax, xUnit), record.GraphX(1), range);
    rows_.Add(QStringLiteral("XStep"), titled(msg::GridXStep, xUnit), record.GraphX(2), range);
    rows_.Add(QStringLiteral("YMin"), titled(msg::GridYMin, y), record.GraphY(0), range);
    rows_.Add(QStringLiteral("YMax"), titled(msg::GridYMax, y), record.GraphY(1), range);
    rows_.Add(QStringLiteral("YStep"), titled(msg::GridYStep, y), record.GraphY(2), range);
    if (!disp)
        return;

    asColour(rows_.Add(QStringLiteral("BackColor"), titled(msg::GridBackColor), disp->BackColor()), disp->BackColor());
    asColour(rows_.Add(QStringLiteral("ForeColor"), titled(msg::GridForeColor), disp->ForeColor()), disp->ForeColor());
    asBoolean(rows_.Add(QStringLiteral("XVisible"), titled(msg::GridXVisible), {}), disp->XscaleVisible());
    asBoolean(rows_.Add(QStringLiteral("YVisible"), titled(msg::GridYVisible), {}), disp->YscaleVisible());
    asColour(rows_.Add(QStringLiteral("ScaleColor"), titled(msg::GridScaleColor), disp->ScaleColor()), disp->ScaleColor());
    asBoolean(rows_.Add(QStringLiteral("Grid"), titled(msg::GridGrid), {}), disp->GridVisible());
    asList(rows_.Add(QStringLiteral("DotStyle"), titled(msg::GridDotStyle), {}, {}, true, Row::EditList), shapeList(),
           disp->DotStyle());
    rows_.Add(QStringLiteral("DotSize"), titled(msg::GridDotSize), disp->DotSize(), QStringLiteral("#00"));
    asColour(rows_.Add(QStringLiteral("DotColor"), titled(msg::GridDotColor), disp->DotColor()), disp->DotColor());
    asBoolean(rows_.Add(QStringLiteral("LineVisible"), titled(msg::GridLineVisible), {}), disp->LineVisible());
    asList(rows_.Add(QStringLiteral("LineStyle"), titled(msg::GridLineStyle), {}, {}, true, Row::EditList),
           lineStyleList(), disp->LineStyle());
    asColour(rows_.Add(QStringLiteral("LineColor"), titled(msg::GridLineColor), disp->LineColor()), disp->LineColor());
    if (is(kind, {clsTz4DataSet::KindW, clsTz4DataSet::KindT})) {
        asBoolean(rows_.Add(QStringLiteral("SelVisible"), titled(msg::GridSelVisible), {}), disp->SelectVisible());
        asList(rows_.Add(QStringLiteral("SelStyle"), titled(msg::GridSelStyle), {}, {}, true, Row::EditList),
               shapeList(), disp->SelectStyle());
        rows_.Add(QStringLiteral("SelSize"), titled(msg::GridSelSize), disp->SelectSize(), QStringLiteral("#00"));
        asColour(rows_.Add(QStringLiteral("SelColor"), titled(msg::GridSelColor), disp->SelectColor()), disp->SelectColor());
    }
    rows_.Add(QStringLiteral("OverLay"), titled(msg::GridOverLay), disp->OverLayLevel(), QStringLiteral("0.000"));
}

} // namespace tz4
