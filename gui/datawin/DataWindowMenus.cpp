// The window's menus: the measurement menu of a new record and the analysis popup of the
// graph and the points table.
#include "gui/datawin/DataWindow.h"
#include "gui/graph/GraphWidget.h"

#include "core/ErrorReporter.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/Tz4DataSet.h"
#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"
#include "datawin/SampleTableModel.h"

#include "core/OwnTexts.h"
#include "data/RecordText.h"
#include "gui/widgets/MenuText.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFileDialog>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>

#include <algorithm>

namespace tz4::gui {

namespace {

// The popup item the window handles itself, clear of the indexes the control handles.
constexpr int SuggestIndex = 100;
constexpr int FitScaleIndex = 101;

} // namespace

namespace {

// The measurement entries' names by the control's item numbers.
const char* measurementEntryName(int index)
{
    switch (index) {
    case MeasurementControl::MeasSampleStage: return "mnuSampleStage";
    case MeasurementControl::MeasMeasure: return "mnuMeasure";
    case MeasurementControl::MeasUvAdjustment: return "mnuUvAdjustment";
    case MeasurementControl::MeasAnodeVoltage: return "mnuAnodeVoltage";
    case MeasurementControl::MeasCalibration: return "mnuCalibration";
    default: return "mnuInitLightAdjuster";
    }
}

DataWindow::SaveFileChooser& saveFileChooser()
{
    static DataWindow::SaveFileChooser choose = [](const QString& title, const QStringList& filters, int* filter) {
        QString selected;
        const QString file = QFileDialog::getSaveFileName(QApplication::activeWindow(), title, QString(),
                                                          filters.join(QStringLiteral(";;")), &selected);
        *filter = int(filters.indexOf(selected)) + 1;
        return file;
    };
    return choose;
}

QAction* namedEntry(QMenu* menu, const char* name, int captionId, const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(GetRes(captionId));
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

} // namespace

void DataWindow::setSaveFileChooser(SaveFileChooser choose) { saveFileChooser() = std::move(choose); }

namespace {

DataWindow::PrintOpener& printOpener()
{
    static DataWindow::PrintOpener opener;
    return opener;
}

} // namespace

void DataWindow::setPrintOpener(PrintOpener open) { printOpener() = std::move(open); }

// The stored records of the window, the shown one first: its table and values go on the page.
QStringList DataWindow::printableKeys() const
{
    QStringList keys;
    const clsTz4DataSet* shown = control_->selected();
    if (shown && shown->SeqNo() > 0)
        keys << shown->Key();
    for (const clsTz4DataSet& record : control_->records())
        if (record.SeqNo() > 0 && !keys.contains(record.Key()))
            keys << record.Key();
    return keys;
}

void DataWindow::print()
{
    const QStringList keys = printableKeys();
    if (printOpener() && !keys.isEmpty())
        printOpener()(keys);
}

void DataWindow::buildMenus(QMenuBar* bar)
{
    fileMenu_ = bar->addMenu(GetRes(msg::MenuFile));
    QAction* save = namedEntry(fileMenu_, "mnuSaveData", msg::MenuSaveData, QKeySequence::Save);
    connect(save, &QAction::triggered, this, &DataWindow::saveData);
    QAction* print = namedEntry(fileMenu_, "mnuPrint", msg::PrintMenu, QKeySequence::Print);
    connect(print, &QAction::triggered, this, &DataWindow::print);
    fileMenu_->addSeparator();
    QAction* close = namedEntry(fileMenu_, "mnuClose", msg::MenuFileClose, QKeySequence::Close);
    connect(close, &QAction::triggered, this, &DataWindow::closeWindow);

    editMenu_ = bar->addMenu(GetRes(msg::MenuEdit));
    connect(namedEntry(editMenu_, "mnuCopyGraph", msg::MenuCopyGraph, QKeySequence::Copy), &QAction::triggered, this,
            &DataWindow::copyGraph);
    connect(namedEntry(editMenu_, "mnuCopyTable", msg::MenuCopyTable), &QAction::triggered, this, &DataWindow::copyTable);
    connect(namedEntry(editMenu_, "mnuCopyStatus", msg::MenuCopyStatus), &QAction::triggered, this,
            &DataWindow::copyStatus);
    buildMeasurementMenu(bar);
}

void DataWindow::buildMeasurementMenu(QMenuBar* bar)
{
    measMenu_ = bar->addMenu(GetRes(msg::MenuMeasurement));
    // A window of stored records shows the menu, but measures only a new record.
    const QList<MeasurementControl::MenuItem> items = measurement_
        ? measurement_->MeasMenuEnabled()
        : QList<MeasurementControl::MenuItem>{{MeasurementControl::MeasSampleStage, msg::MenuSampleStage, false},
                                              {MeasurementControl::MeasMeasure, msg::MenuMeasure, false},
                                              {MeasurementControl::MeasUvAdjustment, msg::MenuUvAdjustment, false},
                                              {MeasurementControl::MeasAnodeVoltage, msg::MenuAnodeVoltage, false},
                                              {MeasurementControl::MeasCalibration, msg::MenuCalibration, false},
                                              {MeasurementControl::MeasInitLightAdjuster, msg::MenuInitLightAdjuster, false}};
    int previous = -1;
    for (const auto& [index, caption, enabled] : items) {
        // Separators stand at the indexes the items leave free.
        if (previous >= 0 && index != previous + 1)
            measMenu_->addSeparator();
        QAction* action = measMenu_->addAction(GetRes(caption));
        action->setObjectName(QLatin1String(measurementEntryName(index)));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, index = index] { runMeasurementItem(index); });
        measActions_.append({index, action});
        previous = index;
    }
    MeasMenuEnabled();
}

QAction* DataWindow::entry(const QString& name) const
{
    for (QMenu* menu : {fileMenu_, editMenu_, measMenu_})
        for (QAction* action : menu->actions())
            if (action->objectName() == name)
                return action;
    return nullptr;
}

QAction* DataWindow::measurementAction(int index) const
{
    for (const auto& [at, action] : measActions_)
        if (at == index)
            return action;
    return nullptr;
}

QList<QMenu*> DataWindow::childMenus() const { return {fileMenu_, editMenu_, measMenu_}; }

void DataWindow::setMenusInFrame(bool inFrame) { menuBar_->setVisible(!inFrame); }

void DataWindow::saveData()
{
    const clsTz4DataSet* record = control_->selected();
    if (!record || (record->Kind() != clsTz4DataSet::KindW && record->Kind() != clsTz4DataSet::KindC)
        || record->SeqNo() < 1) {
        showCatalogMessage(msg::CannotSaveData, msg::MenuSaveData, MessageIcon::Information);
        return;
    }
    int filter = 1;
    const QString file = saveFileChooser()(withoutAccelerator(GetRes(msg::MenuSaveData)), recordTextFilters(), &filter);
    if (file.isEmpty())
        return;
    QString failure;
    if (writeRecordText(*record, file, filter, &failure) == RecordTextResult::Failed)
        errorReporter().showMessage(ownText(OwnText::FileNotWritten, {file, failure}), GetRes(msg::MenuSaveData),
                                    MessageIcon::Critical, MessageButtons::Ok);
}

void DataWindow::copyGraph() { QGuiApplication::clipboard()->setImage(graph_->grab().toImage()); }

// The points table as tab-separated lines, headings first, as spreadsheets take it.
void DataWindow::copyTable()
{
    const QAbstractItemModel& model = *tableModel_;
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells << model.headerData(column, Qt::Horizontal).toString();
    lines << cells.join(QLatin1Char('\t'));
    for (int row = 0; row < model.rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        lines << cells.join(QLatin1Char('\t'));
    }
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void DataWindow::copyStatus() { QGuiApplication::clipboard()->setText(status_->text()); }

void DataWindow::MeasMenuEnabled()
{
    // A record is printed once it is stored.
    if (QAction* print = entry(QStringLiteral("mnuPrint")))
        print->setEnabled(bool(printOpener()) && !printableKeys().isEmpty());
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
    if (running()) {
        // Only the measurement item is live while this window's action runs: it cancels, once.
        if (index == MeasurementControl::MeasMeasure && measurement_->measuring())
            measurement_->CancelMeasurement();
        return;
    }
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
    control_->afterMeasurement();
}

void DataWindow::buildPopup()
{
    popup_ = new QMenu(this);
    const QList<QPair<int, int>> items = {{DataWindowControl::PopUpDataClear, msg::PopupDataClear},
                                          {DataWindowControl::PopUpGround, msg::PopupGroundLevel},
                                          {DataWindowControl::PopUpFit, msg::PopupRegressionLine},
                                          {DataWindowControl::PopUpDifference, msg::PopupDifference},
                                          {SuggestIndex, msg::PopupSuggestRanges},
                                          {FitScaleIndex, msg::PopupFitScale}};
    for (const auto& [index, caption] : items) {
        if (index == DataWindowControl::PopUpGround || index == SuggestIndex || index == FitScaleIndex)
            popup_->addSeparator();
        QAction* action = popup_->addAction(GetRes(caption));
        action->setData(index);
        connect(action, &QAction::triggered, this, [this, index = index] {
            if (index == FitScaleIndex)
                control_->FitScaleToData();
            else if (index == SuggestIndex)
                suggestRanges();
            else
                control_->mnuPopUp1_Click(index);
        });
    }
}

void DataWindow::showPopup(bool fromGraph, const QPoint& globalPos)
{
    const clsTz4DataSet* record = control_->selected();
    if (!record || running())
        return;
    // The analysis entries are for work-function records; every graph can fit its scale.
    const bool analysis = record->Kind() == clsTz4DataSet::KindW;
    for (QAction* action : popup_->actions())
        action->setVisible(analysis || action->data().toInt() == FitScaleIndex);
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

// A right click on the points table offers the analysis popup for the x range of the selected cells.
void DataWindow::tableContextMenu(const QPoint& at)
{
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
}

} // namespace tz4::gui
