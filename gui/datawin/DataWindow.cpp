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
    buildViews();
    layOutViews(*layout);
    buildPopup();
    connectViews();
    refreshAll();
    resize(900, 560);
}

DataWindow::~DataWindow() = default;

void DataWindow::buildViews()
{
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
    status_ = new QLabel(this);
    gridRefresh_ = new QTimer(this);
    gridRefresh_->setSingleShot(true);
    gridRefresh_->setInterval(GridRefreshMs);
}

// The record choice above the grid and the points table below it on the left, the graph on
// the right, the status line at the foot.
void DataWindow::layOutViews(QVBoxLayout& layout)
{
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
    layout.addWidget(split, 1);
    layout.addWidget(status_);
}

void DataWindow::connectViews()
{
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
    connect(table_, &QWidget::customContextMenuRequested, this, &DataWindow::tableContextMenu);
}

bool DataWindow::hasRecords() const
{
    return control_->records().Count() > 0;
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
