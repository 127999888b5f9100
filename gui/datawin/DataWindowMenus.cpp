// The window's menus: the measurement menu of a new record and the analysis popup of the
// graph and the points table.
#include "gui/datawin/DataWindow.h"

#include "core/ErrorReporter.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/Tz4DataSet.h"
#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"
#include "datawin/SampleTableModel.h"

#include <QCursor>
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
