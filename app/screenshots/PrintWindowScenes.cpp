#include "app/screenshots/Scenes.h"

#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "datawin/DataWindowControl.h"
#include "datawin/ParameterGridModel.h"
#include "gui/datawin/DataWindow.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/print/PrintWindow.h"
#include "gui/print/PrintWindowOpener.h"
#include "mainwin/MainControl.h"
#include "print/PrintControl.h"
#include "sim/SimulatorLine.h"

#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace tz4::screens {

namespace {

// The print window with editing on, over the page of a simulated gold scan with its
// suggested ranges and the label of the sample name selected.
bool renderPrint(const QString& path)
{
    QTemporaryDir home;
    if (!home.isValid())
        return false;
    setDataDirectory(home.path());
    if (!createDatabaseIfMissing(home.path()))
        return false;
    InitSystemParam();
    SystemParam().EditablePrint = true;
    VirtualClock clock;
    sim::SimulatorLine line{clock, sim::SimOptions{}};
    gui::MainWindow frame(clock, line);
    frame.resize(1280, 900);
    frame.show();
    if (frame.control().GetBodyStatus() != MainControl::Ready)
        return false;

    auto* data = new gui::DataWindow(SystemParam().DatabasePath, QStringLiteral("0 W"), &frame.control());
    frame.addChildWindow(data);
    ParameterGridModel& grid = data->gridModel();
    const QList<QPair<QString, QString>> settings = {
        {QStringLiteral("SampleName"), QStringLiteral("Gold")}, {QStringLiteral("StartEng"), QStringLiteral("4.5")},
        {QStringLiteral("FinishEng"), QStringLiteral("6.0")},   {QStringLiteral("StepEng"), QStringLiteral("0.05")},
        {QStringLiteral("MeasTime"), QStringLiteral("2")},      {QStringLiteral("SetLight"), QStringLiteral("10")}};
    for (const auto& [key, value] : settings)
        if (!grid.ValidateEdit(grid.rowOf(key), value))
            return false;
    data->measurementAction(4)->trigger();
    data->measurementAction(2)->trigger();
    const clsTz4DataSet* record = data->control().selected();
    if (!record || record->SeqNo() == 0 || !data->control().SuggestRanges().isEmpty()) {
        std::fprintf(stderr, "tz4-screenshots: the gold scan was not stored with its ranges\n");
        return false;
    }
    const QString key = record->Key();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(data->parentWidget()))
        sub->close();

    gui::PrintWindow* print = gui::openPrintWindow(frame, {key});
    if (!print)
        return false;
    PrintControl& control = print->control();
    control.selectLabel(control.templ().Labels.Item(2));
    return saveWidget(frame, path);
}

} // namespace

QList<Scene> printWindowScenes()
{
    return {{QStringLiteral("print.png"), renderPrint}};
}

} // namespace tz4::screens
