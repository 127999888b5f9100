#include "gui/datawin/DataWindow.h"
#include "gui/datawin/ParameterGridView.h"
#include "gui/graph/GraphWidget.h"
#include "gui/widgets/MenuText.h"

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
#include "mainwin/RunningAction.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QTabBar>
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

// Kinds in the order their display sets take, with the captions of the New menu.
const QString KindOrder = QStringLiteral("WCLDT");
constexpr int KindCaptions[] = {msg::MenuNewWork, msg::MenuNewThickness, msg::MenuNewLight, msg::MenuNewCalibrationData,
                                msg::MenuNewCalibrationLine};

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
    if (main_)
        connect(&main_->action(), &RunningAction::changed, this, &DataWindow::actionChanged);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    buildMenus(menuBar_);
    layout->setMenuBar(menuBar_);
    buildViews();
    layOutViews(*layout);
    buildPopup();
    connectViews();
    refreshAll();
    // Each kind of window remembers its place in the frame under its name.
    setObjectName(QStringLiteral("frmData"));
    resize(sizeHint());
}

DataWindow::~DataWindow() = default;

// Every grid column, a points table and a graph that can be read: the grid's width of text
// beside a graph of about the same width, and some thirty lines high.
QSize DataWindow::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int grid = metrics.horizontalAdvance(QLatin1Char('x')) * 72;
    return {grid + std::max(grid, 480), metrics.lineSpacing() * 32};
}

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
    kindTabs_ = new QTabBar(this);
    kindTabs_->setObjectName(QStringLiteral("kindTabs"));
    kindTabs_->setAccessibleName(GetRes(msg::TabDisplay));
    kindTabs_->setExpanding(false);
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
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(kindTabs_);
    rightLayout->addWidget(graph_, 1);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(right);
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
    connect(recordChoice_, &QComboBox::activated, this,
            [this](int index) { selectRecord(control_->records().Item(index + 1)); });
    connect(kindTabs_, &QTabBar::tabBarClicked, this, &DataWindow::showKind);
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

bool DataWindow::running() const
{
    return measurement_ && measurement_->running();
}

void DataWindow::selectRecord(const clsTz4DataSet* record)
{
    if (!record)
        return;
    control_->select(record);
    refreshAll();
}

// A tab stands for one kind: the window shows that kind's first record and its graph.
void DataWindow::showKind(int tab)
{
    if (tab < 0)
        return;
    const int kind = kindTabs_->tabData(tab).toInt();
    for (const clsTz4DataSet& record : control_->records()) {
        if (record.Kind() == kind) {
            selectRecord(&record);
            return;
        }
    }
}

// Menus and grid follow whatever runs on the instrument; a close asked for during this
// window's action happens once it has ended.
void DataWindow::actionChanged()
{
    MeasMenuEnabled();
    gridModel_->MakeParameterList();
    if (closePending_ && !running())
        QMetaObject::invokeMethod(this, &DataWindow::closeWindow, Qt::QueuedConnection);
}

void DataWindow::closeWindow()
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void DataWindow::graphMouseMove(QPointF twips)
{
    if (running() || !graph_->graph().Plottable())
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
    const QSignalBlocker quiet(kindTabs_);
    while (kindTabs_->count() > 0)
        kindTabs_->removeTab(0);
    for (int kind = 0; kind < KindOrder.size(); ++kind) {
        for (const clsTz4DataSet& record : control_->records()) {
            if (record.Kind() != kind)
                continue;
            const int tab = kindTabs_->addTab(withoutAccelerator(GetRes(KindCaptions[kind])));
            kindTabs_->setTabData(tab, kind);
            if (control_->selected() && control_->selected()->Kind() == kind)
                kindTabs_->setCurrentIndex(tab);
            break;
        }
    }
    kindTabs_->setVisible(kindTabs_->count() > 1);
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
    if (running()) {
        // The running action is cancelled first; the window closes once it has ended.
        event->ignore();
        if (closePending_)
            return;
        if (showCatalogMessage(msg::CloseWhileMeasuring, msg::MeasurementTitle, MessageIcon::Question,
                               MessageButtons::YesNo)
            != MessageAnswer::Yes)
            return;
        closePending_ = true;
        main_->action().requestCancel();
        return;
    }
    control_->Unload();
    event->accept();
}

} // namespace tz4::gui
