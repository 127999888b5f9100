#include "gui/datawin/DataWindow.h"
#include "gui/datawin/ParameterGridView.h"
#include "gui/graph/GraphWidget.h"

#include "core/ErrorReporter.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"
#include "datawin/ParameterGridModel.h"
#include "datawin/SampleTableModel.h"
#include "instrument/Tz4Body.h"
#include "mainwin/MainControl.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace tz4::gui {

namespace {

// The grid follows live points at most this often; the table and graph follow every point.
constexpr int GridRefreshMs = 100;
constexpr int SuggestIndex = 100;
constexpr int TableSizingRows = 40;

} // namespace

DataWindow::DataWindow(const QString& databasePath, const QString& keyList, MainControl* main, QWidget* parent)
    : QWidget(parent), control_(std::make_unique<DataWindowControl>(databasePath)), main_(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    for (const QString& key : control_->SetStartUp(keyList))
        showCatalogMessage(msg::NoSuchRecord, msg::TabData, MessageIcon::Exclamation, MessageButtons::Ok, {key});
    gridModel_ = std::make_unique<ParameterGridModel>(*control_);
    tableModel_ = std::make_unique<SampleTableModel>(control_->records());
    if (main_ && control_->isMeasurementWindow()) {
        measurement_ = control_->attachInstrument(*main_);
        measurement_->MakeMeasDefault(control_->selected()->Key());
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    if (measurement_) {
        auto* bar = new QMenuBar(this);
        bar->setNativeMenuBar(false);
        buildMeasurementMenu(bar);
        layout->setMenuBar(bar);
    }

    recordChoice_ = new QComboBox(this);
    grid_ = new ParameterGridView(*gridModel_, this);
    table_ = new QTableView(this);
    table_->setModel(tableModel_.get());
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setMinimumSectionSize(table_->fontMetrics().horizontalAdvance(QStringLiteral("00000.0")) + 12);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    // Widths follow the first rows once per table; sizing every column on every live point
    // would cost more the longer the scan.
    table_->horizontalHeader()->setResizeContentsPrecision(TableSizingRows);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    graph_ = new GraphWidget(this);
    graph_->setDataItems(&control_->records());
    graph_->setDispItems(&control_->disps());

    auto* left = new QSplitter(Qt::Vertical, this);
    auto* gridBox = new QWidget(left);
    auto* gridLayout = new QVBoxLayout(gridBox);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(2);
    gridLayout->addWidget(recordChoice_);
    gridLayout->addWidget(grid_);
    left->addWidget(gridBox);
    left->addWidget(table_);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 2);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(graph_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({fontMetrics().horizontalAdvance(QLatin1Char('x')) * 72, 600});
    layout->addWidget(split, 1);
    status_ = new QLabel(this);
    layout->addWidget(status_);

    buildPopup();
    gridRefresh_ = new QTimer(this);
    gridRefresh_->setSingleShot(true);
    gridRefresh_->setInterval(GridRefreshMs);
    connect(gridRefresh_, &QTimer::timeout, gridModel_.get(), &ParameterGridModel::MakeParameterList);

    connect(control_.get(), &DataWindowControl::recordsChanged, this, &DataWindow::refreshAll);
    connect(control_.get(), &DataWindowControl::analysisChanged, this, &DataWindow::refreshAnalysis);
    connect(control_.get(), &DataWindowControl::pointAdded, this, &DataWindow::pointAdded);
    connect(control_.get(), &DataWindowControl::captionChanged, this, &DataWindow::updateCaption);
    connect(gridModel_.get(), &ParameterGridModel::edited, this, [this](const QString& key) {
        control_->changed();
        if (key == QLatin1String("SampleName")) {
            tableModel_->MakeSampleTable();
            updateCaption();
        }
    });
    connect(recordChoice_, &QComboBox::activated, this, [this](int index) {
        control_->select(control_->records().Item(index + 1));
        gridModel_->MakeParameterList();
        graph_->Refresh();
    });
    connect(graph_, &GraphWidget::mouseDown, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPointF twips) { graphMouseDown(buttons, twips); });
    connect(graph_, &GraphWidget::mouseMove, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF twips) { graphMouseMove(twips); });
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        float low = 0, high = 0;
        bool any = false;
        for (const QModelIndex& cell : table_->selectionModel()->selectedIndexes()) {
            float x = 0;
            if (!tableModel_->xAt(cell.row(), cell.column() % 2 == 0 && cell.column() > 0 ? cell.column() - 1 : cell.column(), &x))
                continue;
            low = any ? std::min(low, x) : x;
            high = any ? std::max(high, x) : x;
            any = true;
        }
        if (!any)
            return;
        control_->setTableSelection(low, high);
        showPopup(false, table_->viewport()->mapToGlobal(at));
    });

    refreshAll();
    resize(900, 560);
}

DataWindow::~DataWindow() = default;

bool DataWindow::hasRecords() const
{
    return control_->records().Count() > 0;
}

void DataWindow::buildMeasurementMenu(QMenuBar* bar)
{
    measMenu_ = bar->addMenu(GetRes(msg::MenuMeasurement));
    int previous = -1;
    for (const auto& [index, caption, enabled] : measurement_->MeasMenuEnabled()) {
        // Separators stand at the indexes the items leave free.
        if (previous >= 0 && index != previous + 1)
            measMenu_->addSeparator();
        QAction* action = measMenu_->addAction(GetRes(caption));
        connect(action, &QAction::triggered, this, [this, index = index] { runMeasurementItem(index); });
        measActions_.append({index, action});
        previous = index;
    }
    MeasMenuEnabled();
}

QAction* DataWindow::measurementAction(int index) const
{
    for (const auto& [at, action] : measActions_)
        if (at == index)
            return action;
    return nullptr;
}

void DataWindow::MeasMenuEnabled()
{
    if (!measurement_)
        return;
    for (const MeasurementControl::MenuItem& item : measurement_->MeasMenuEnabled()) {
        if (QAction* action = measurementAction(item.index)) {
            action->setText(GetRes(item.captionId));
            action->setEnabled(item.enabled);
        }
    }
}

void DataWindow::runMeasurementItem(int index)
{
    if (!measurement_)
        return;
    if (running_) {
        // Only the measurement item is live while something runs: it cancels, once.
        if (index == MeasurementControl::MeasMeasure && measurement_->measuring())
            measurement_->Measure();
        MeasMenuEnabled();
        return;
    }
    running_ = true;
    for (const auto& [at, action] : measActions_)
        action->setEnabled(false);
    status_->clear();
    switch (index) {
    case MeasurementControl::MeasSampleStage: measurement_->MoveSample(); break;
    case MeasurementControl::MeasMeasure: measurement_->Measure(); break;
    case MeasurementControl::MeasUvAdjustment: measurement_->AdjustUvIntensity(); break;
    case MeasurementControl::MeasAnodeVoltage: measurement_->SetAnodeVoltage(); break;
    case MeasurementControl::MeasCalibration: measurement_->Calibrate(); break;
    case MeasurementControl::MeasInitLightAdjuster: measurement_->InitLightAdjuster(); break;
    default: break;
    }
    running_ = false;
    MeasMenuEnabled();
    control_->afterMeasurement();
    if (closeAfterRun_)
        close();
}

void DataWindow::buildPopup()
{
    popup_ = new QMenu(this);
    const QList<QPair<int, int>> items = {{DataWindowControl::PopUpDataClear, msg::PopupDataClear},
                                          {DataWindowControl::PopUpGround, msg::PopupGroundLevel},
                                          {DataWindowControl::PopUpFit, msg::PopupRegressionLine},
                                          {DataWindowControl::PopUpDifference, msg::PopupDifference},
                                          {SuggestIndex, msg::PopupSuggestRanges}};
    for (const auto& [index, caption] : items) {
        if (index == DataWindowControl::PopUpGround || index == SuggestIndex)
            popup_->addSeparator();
        QAction* action = popup_->addAction(GetRes(caption));
        action->setData(index);
        connect(action, &QAction::triggered, this, [this, index = index] {
            if (index == SuggestIndex)
                suggestRanges();
            else
                control_->mnuPopUp1_Click(index);
        });
    }
}

void DataWindow::showPopup(bool fromGraph, const QPoint& globalPos)
{
    const clsTz4DataSet* record = control_->selected();
    if (!record || record->Kind() != clsTz4DataSet::KindW || running_)
        return;
    control_->setPopUpFromGraph(fromGraph);
    popup_->popup(globalPos);
}

void DataWindow::suggestRanges()
{
    const QString refusal = control_->SuggestRanges();
    if (!refusal.isEmpty())
        showCatalogMessage(msg::NoSuggestedRanges, msg::PopupSuggestRanges, MessageIcon::Information,
                           MessageButtons::Ok, {refusal});
}

void DataWindow::graphMouseDown(Qt::MouseButtons buttons, QPointF twips)
{
    Q_UNUSED(twips);
    if (buttons & Qt::RightButton)
        showPopup(true, QCursor::pos());
}

void DataWindow::graphMouseMove(QPointF twips)
{
    if (running_ || !graph_->graph().Plottable())
        return;
    status_->setText(GetRes(msg::GraphPosition, {formatNumber(graph_->graph().xData(float(twips.x())), QStringLiteral("###0.00")),
                                                 formatNumber(graph_->graph().yData(float(twips.y())), QStringLiteral("###0.00"))}));
}

void DataWindow::refreshAll()
{
    recordChoice_->clear();
    for (const clsTz4DataSet& record : control_->records())
        recordChoice_->addItem(record.Key() + QStringLiteral(" - ") + record.Parameters(param::SampleName).toString());
    for (int i = 1; i <= control_->records().Count(); ++i)
        if (control_->records().Item(i) == control_->selected())
            recordChoice_->setCurrentIndex(i - 1);
    recordChoice_->setVisible(control_->records().Count() > 1);
    tableModel_->MakeSampleTable();
    table_->resizeColumnsToContents();
    gridModel_->MakeParameterList();
    graph_->Refresh();
    updateCaption();
}

void DataWindow::refreshAnalysis()
{
    gridModel_->MakeParameterList();
    graph_->Refresh();
}

void DataWindow::pointAdded(int row)
{
    tableModel_->pointAdded(row);
    graph_->Refresh();
    if (!gridRefresh_->isActive())
        gridRefresh_->start();
    if (row >= 0)
        table_->scrollTo(tableModel_->index(row, 0));
    MeasMenuEnabled();
}

void DataWindow::updateCaption()
{
    if (!control_->displayCaption().isEmpty()) {
        setWindowTitle(control_->displayCaption());
        return;
    }
    QStringList keys;
    for (const clsTz4DataSet& record : control_->records())
        keys << record.Key();
    const clsTz4DataSet* selected = control_->selected();
    setWindowTitle(keys.join(QStringLiteral(", "))
                   + (selected ? QStringLiteral(" - ") + selected->Parameters(param::SampleName).toString() : QString()));
}

void DataWindow::closeEvent(QCloseEvent* event)
{
    if (running_) {
        // The running procedure is cancelled first; the window closes once it has ended.
        event->ignore();
        if (closeAfterRun_)
            return;
        if (showCatalogMessage(msg::CloseWhileMeasuring, msg::MeasurementTitle, MessageIcon::Question,
                               MessageButtons::YesNo)
            != MessageAnswer::Yes)
            return;
        closeAfterRun_ = true;
        if (measurement_->measuring())
            measurement_->CancelMeasurement();
        else
            main_->body().setCanceled(true);
        return;
    }
    control_->Unload();
    event->accept();
}

} // namespace tz4::gui
