#include "app/screenshots/Scenes.h"

#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/Tz4DataSets.h"
#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"
#include "datawin/ParameterGridModel.h"
#include "gui/datawin/DataWindow.h"
#include "gui/datawin/ParameterGridView.h"
#include "gui/mainwin/MainWindow.h"
#include "mainwin/MainControl.h"
#include "sim/SimulatorLine.h"

#include <QMdiSubWindow>
#include <QTabBar>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <memory>

namespace tz4::screens {

namespace {

// A fresh data directory, the frame on a warm simulated instrument connected in virtual time.
class MeasuredScene {
public:
    bool connect()
    {
        if (!home_.isValid())
            return false;
        setDataDirectory(home_.path());
        if (!createDatabaseIfMissing(home_.path()))
            return false;
        InitSystemParam();
        frame_ = std::make_unique<gui::MainWindow>(clock_, line_);
        frame_->resize(1100, 720);
        frame_->show();
        return frame_->control().GetBodyStatus() == MainControl::Ready;
    }

    // A data window on a new record of `kind` in the frame: the settings typed into its grid,
    // the UV intensity adjusted and the measurement run from its menu, then saved.
    gui::DataWindow* measure(const QString& kind, const QList<QPair<QString, QString>>& settings)
    {
        auto* window = new gui::DataWindow(SystemParam().DatabasePath, QStringLiteral("0 ") + kind, &frame_->control());
        QMdiSubWindow* sub = frame_->addChildWindow(window);
        sub->showMaximized();
        ParameterGridModel& grid = window->gridModel();
        for (const auto& [key, value] : settings) {
            if (!grid.ValidateEdit(grid.rowOf(key), value)) {
                std::fprintf(stderr, "tz4-screenshots: %s %s was refused\n", qUtf8Printable(key), qUtf8Printable(value));
                return nullptr;
            }
        }
        window->measurementAction(4)->trigger();
        window->measurementAction(2)->trigger();
        if (window->control().selected()->SeqNo() == 0) {
            std::fprintf(stderr, "tz4-screenshots: the %s measurement was not stored\n", qUtf8Printable(kind));
            return nullptr;
        }
        return window;
    }

    gui::MainWindow& frame() { return *frame_; }

    ~MeasuredScene()
    {
        if (frame_)
            frame_->close();
    }

private:
    QTemporaryDir home_;
    VirtualClock clock_;
    sim::SimulatorLine line_{clock_, sim::SimOptions{}};
    std::unique_ptr<gui::MainWindow> frame_;
};

// A gold-like scan from 4.5 to 6.0 eV, with the ranges the data suggests and a scale that
// shows them.
gui::DataWindow* measuredGold(MeasuredScene& scene)
{
    gui::DataWindow* window = scene.measure(QStringLiteral("W"), {{QStringLiteral("SampleName"), QStringLiteral("Gold")},
                                                                  {QStringLiteral("StartEng"), QStringLiteral("4.5")},
                                                                  {QStringLiteral("FinishEng"), QStringLiteral("6.0")},
                                                                  {QStringLiteral("StepEng"), QStringLiteral("0.05")},
                                                                  {QStringLiteral("MeasTime"), QStringLiteral("2")},
                                                                  {QStringLiteral("SetLight"), QStringLiteral("10")},
                                                                  {QStringLiteral("PowerNumber"), QStringLiteral("0.5")}});
    if (!window || !window->control().SuggestRanges().isEmpty())
        return nullptr;
    // A Y scale a little above the highest point, typed into the display tab.
    ParameterGridModel& grid = window->gridModel();
    window->grid()->tabs()->setCurrentIndex(ParameterGridModel::Disp);
    const double top = std::ceil(window->control().records().TotalMaxY() * 1.15 / 5) * 5;
    grid.ValidateEdit(grid.rowOf(QStringLiteral("YMax")), QString::number(top));
    grid.ValidateEdit(grid.rowOf(QStringLiteral("YStep")), QString::number(top / 5));
    grid.ValidateEdit(grid.rowOf(QStringLiteral("XMin")), QStringLiteral("4.4"));
    grid.ValidateEdit(grid.rowOf(QStringLiteral("XStep")), QStringLiteral("0.2"));
    window->grid()->tabs()->setCurrentIndex(ParameterGridModel::Data);
    // The fit range shown as the band the operator drew for it: its points marked.
    const clsTz4DataSet& record = *window->control().selected();
    clsTz4GraphDisp& disp = *window->control().currentDisp();
    disp.setSelectX1(record.Parameters(param::FitX1).toFloat());
    disp.setSelectX2(record.Parameters(param::FitX2).toFloat());
    disp.setSelectY1(-1e6f);
    disp.setSelectY2(1e6f);
    window->control().changed();
    return window;
}

bool renderGold(const QString& path)
{
    MeasuredScene scene;
    if (!scene.connect() || !measuredGold(scene))
        return false;
    return saveWidget(scene.frame(), path);
}

bool renderGridTab(const QString& path, ParameterGridModel::Tab tab)
{
    MeasuredScene scene;
    gui::DataWindow* window = scene.connect() ? measuredGold(scene) : nullptr;
    if (!window)
        return false;
    window->grid()->tabs()->setCurrentIndex(tab);
    return saveWidget(*window, path);
}

bool renderCountingRate(const QString& path)
{
    MeasuredScene scene;
    if (!scene.connect())
        return false;
    gui::DataWindow* window = scene.measure(QStringLiteral("C"), {{QStringLiteral("SampleName"), QStringLiteral("Pentacene film")},
                                                                  {QStringLiteral("MeasEng"), QStringLiteral("5.9")},
                                                                  {QStringLiteral("MeasCount"), QStringLiteral("30")},
                                                                  {QStringLiteral("MeasTime"), QStringLiteral("2")},
                                                                  {QStringLiteral("SetLight"), QStringLiteral("10")}});
    if (!window)
        return false;
    window->grid()->tabs()->setCurrentIndex(ParameterGridModel::Data);
    return saveWidget(scene.frame(), path);
}

} // namespace

QList<Scene> dataWindowScenes()
{
    return {
        {QStringLiteral("data-w.png"), renderGold},
        {QStringLiteral("grid-meas.png"), [](const QString& path) { return renderGridTab(path, ParameterGridModel::Meas); }},
        {QStringLiteral("grid-disp.png"), [](const QString& path) { return renderGridTab(path, ParameterGridModel::Disp); }},
        {QStringLiteral("grid-data.png"), [](const QString& path) { return renderGridTab(path, ParameterGridModel::Data); }},
        {QStringLiteral("data-c.png"), renderCountingRate},
    };
}

} // namespace tz4::screens
