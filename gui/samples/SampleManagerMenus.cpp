// The sample manager's menus and pop-ups, their enabling, and the commands behind them.
#include "gui/samples/SampleManagerWindow.h"
#include "gui/samples/SampleGridView.h"
#include "gui/samples/SampleItemView.h"

#include "gui/mainwin/MainWindow.h"

#include "core/DataDirectory.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/RecordText.h"
#include "data/SampleOperations.h"
#include "mainwin/MainControl.h"
#include "samples/SampleGridModel.h"
#include "samples/SampleManagerControl.h"
#include "samples/SampleTexts.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

namespace tz4::gui {

namespace {

SampleManagerWindow::FileChooser& fileChooser()
{
    static SampleManagerWindow::FileChooser choose = [](bool save, const QString& title, const QStringList& filters,
                                                        const QString& suggested, int* filter) {
        QFileDialog dialog(QApplication::activeWindow(), title, suggested);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setNameFilters(filters);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        *filter = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        return dialog.selectedFiles().first();
    };
    return choose;
}

QAction* named(QMenu* menu, const char* name, int captionId, const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(GetRes(captionId));
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

bool isItem(const QString& key) { return GetKeyType(key) == QLatin1String("F") || keytype::isRecord(GetKeyType(key)); }

QStringList itemsOf(const QStringList& keys)
{
    QStringList items;
    for (const QString& key : keys)
        if (isItem(key))
            items << key;
    return items;
}

QStringList exchangeFilters() { return {sampleText(SampleText::ExchangeFiles), sampleText(SampleText::AllFiles)}; }

} // namespace

void SampleManagerWindow::setFileChooser(FileChooser choose) { fileChooser() = std::move(choose); }

void SampleManagerWindow::buildMenus(QMenuBar* bar)
{
    fileMenu_ = bar->addMenu(GetRes(msg::MenuFile));
    connect(named(fileMenu_, "mnuOpen", msg::MenuOpen, QKeySequence::Open), &QAction::triggered, this,
            &SampleManagerWindow::mnuOpen);
    fileMenu_->addSeparator();
    connect(named(fileMenu_, "mnuCreateFolder", msg::MenuCreateFolder, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)),
            &QAction::triggered, this, &SampleManagerWindow::mnuCreateFolder);
    fileMenu_->addSeparator();
    connect(named(fileMenu_, "mnuSaveData", msg::MenuSaveData, QKeySequence::Save), &QAction::triggered, this,
            &SampleManagerWindow::mnuSaveData);
    databaseMenu_ = fileMenu_->addMenu(GetRes(msg::MenuDatabase));
    databaseMenu_->menuAction()->setObjectName(QStringLiteral("mnuDatabase"));
    connect(named(databaseMenu_, "mnuImport", msg::MenuImport), &QAction::triggered, this, &SampleManagerWindow::mnuImport);
    connect(named(databaseMenu_, "mnuExport", msg::MenuExport), &QAction::triggered, this, &SampleManagerWindow::mnuExport);
    connect(named(databaseMenu_, "mnuRepair", msg::MenuRepair), &QAction::triggered, this, &SampleManagerWindow::mnuRepair);
    fileMenu_->addSeparator();
    // Enabled once the frame says where the print window opens.
    connect(named(fileMenu_, "mnuPrint", msg::MenuPrint, QKeySequence::Print), &QAction::triggered, this,
            &SampleManagerWindow::mnuPrint);
    fileMenu_->addSeparator();
    connect(named(fileMenu_, "mnuDelete", msg::MenuDelete, QKeySequence::Delete), &QAction::triggered, this,
            &SampleManagerWindow::mnuDelete);
    fileMenu_->addSeparator();
    connect(named(fileMenu_, "mnuRename", msg::MenuRename, QKeySequence(Qt::Key_F2)), &QAction::triggered, this,
            &SampleManagerWindow::mnuRename);
    fileMenu_->addSeparator();
    connect(named(fileMenu_, "mnuClose", msg::MenuFileClose, QKeySequence::Close), &QAction::triggered, this,
            &SampleManagerWindow::closeWindow);

    editMenu_ = bar->addMenu(GetRes(msg::MenuEdit));
    connect(named(editMenu_, "mnuUndo", msg::UndoNone, QKeySequence::Undo), &QAction::triggered, this,
            &SampleManagerWindow::mnuUndo);
    editMenu_->addSeparator();
    connect(named(editMenu_, "mnuCut", msg::MenuCut, QKeySequence::Cut), &QAction::triggered, this, [this] { mnuCut(false); });
    connect(named(editMenu_, "mnuCopy", msg::MenuCopy, QKeySequence::Copy), &QAction::triggered, this, [this] { mnuCut(true); });
    connect(named(editMenu_, "mnuPaste", msg::MenuPaste, QKeySequence::Paste), &QAction::triggered, this,
            &SampleManagerWindow::mnuPaste);
    editMenu_->addSeparator();
    connect(named(editMenu_, "mnuSelectAll", msg::MenuSelectAll, QKeySequence::SelectAll), &QAction::triggered, this,
            &SampleManagerWindow::mnuSelectAll);
    editMenu_->addSeparator();
    connect(named(editMenu_, "mnuSearch", msg::MenuSearch, QKeySequence::Find), &QAction::triggered, this,
            &SampleManagerWindow::mnuSearch);

    dispMenu_ = bar->addMenu(GetRes(msg::MenuDisplay));
    QAction* statusBar = named(dispMenu_, "mnuStatusBar", msg::MenuStatusBar);
    statusBar->setCheckable(true);
    QAction* frameStatus = frame_ ? frame_->entry(QStringLiteral("mnuStatusBar")) : nullptr;
    statusBar->setChecked(!frameStatus || frameStatus->isChecked());
    connect(statusBar, &QAction::triggered, this, &SampleManagerWindow::mnuStatusBar);
    dispMenu_->addSeparator();
    QAction* refresh = named(dispMenu_, "mnuRefresh", msg::MenuRefreshData);
    // F5 on every desktop, whatever else the platform calls Refresh.
    QList<QKeySequence> refreshKeys = QKeySequence::keyBindings(QKeySequence::Refresh);
    if (!refreshKeys.contains(QKeySequence(Qt::Key_F5)))
        refreshKeys.prepend(QKeySequence(Qt::Key_F5));
    refresh->setShortcuts(refreshKeys);
    connect(refresh, &QAction::triggered, this, &SampleManagerWindow::mnuRefresh);

    measMenu_ = bar->addMenu(GetRes(msg::MenuMeasurement));
    connect(named(measMenu_, "mnuConnect", msg::MenuConnect), &QAction::triggered, this, &SampleManagerWindow::mnuConnect);
    measMenu_->addSeparator();
    const std::tuple<const char*, int, QString> kinds[] = {{"mnuNewWork", msg::MenuNewWork, QStringLiteral("W")},
                                                           {"mnuNewThickness", msg::MenuNewThickness, QStringLiteral("C")},
                                                           {"mnuNewLight", msg::MenuNewLight, QStringLiteral("L")},
                                                           {"mnuNewCalibrationData", msg::MenuNewCalibrationData,
                                                            QStringLiteral("D")}};
    for (const auto& [name, caption, kind] : kinds)
        connect(named(measMenu_, name, caption), &QAction::triggered, this, [this, kind = kind] { mnuNewRecord(kind); });
    measMenu_->addSeparator();
    connect(named(measMenu_, "mnuNewCalibrationLine", msg::MenuCalibrationLine), &QAction::triggered, this,
            &SampleManagerWindow::mnuNewCalibrationLine);
}

void SampleManagerWindow::buildPopups()
{
    itemPopup_ = new QMenu(this);
    connect(named(itemPopup_, "popOpen", msg::MenuOpen), &QAction::triggered, this, [this] { openItems(popupKey_); });
    connect(named(itemPopup_, "popCut", msg::MenuCut), &QAction::triggered, this, [this] { mnuCut(false); });
    connect(named(itemPopup_, "popCopy", msg::MenuCopy), &QAction::triggered, this, [this] { mnuCut(true); });
    connect(named(itemPopup_, "popPaste", msg::MenuPaste), &QAction::triggered, this, &SampleManagerWindow::mnuPaste);
    connect(named(itemPopup_, "popDelete", msg::MenuDelete), &QAction::triggered, this, &SampleManagerWindow::mnuDelete);
    connect(named(itemPopup_, "popRename", msg::MenuRename), &QAction::triggered, this, &SampleManagerWindow::mnuRename);

    gridPopup_ = new QMenu(this);
    connect(named(gridPopup_, "popGridRemove", msg::PopupAdjustmentRemove), &QAction::triggered, this, [this] {
        const QString rowKey = control_->grid().keyOf(popupGridRow_);
        if (rowKey == QLatin1String("AdjustName"))
            control_->RemoveAdjustment();
        else if (rowKey.startsWith(QLatin1String("CalibData")))
            control_->RemoveCalibrationMember(
                control_->grid().index(popupGridRow_, 0).data(SampleGridModel::MemberRole).toInt());
    });

    templatePopup_ = new QMenu(this);
    connect(named(templatePopup_, "popDefaultTemplate", msg::PopupDefaultTemplate), &QAction::triggered, this,
            [this] { control_->SetDefaultTemplate(popupKey_); });
}

QAction* SampleManagerWindow::entry(const QString& name) const
{
    for (QMenu* menu : {fileMenu_, databaseMenu_, editMenu_, dispMenu_, measMenu_, itemPopup_, gridPopup_, templatePopup_})
        for (QAction* action : menu->actions())
            if (action->objectName() == name)
                return action;
    return nullptr;
}

QList<QMenu*> SampleManagerWindow::childMenus() const { return {fileMenu_, editMenu_, dispMenu_, measMenu_}; }

void SampleManagerWindow::setMenusInFrame(bool inFrame)
{
    menuBar_->setVisible(!inFrame);
    // The frame's own Status Bar and Connect stand in the same menus and do the same.
    entry(QStringLiteral("mnuStatusBar"))->setVisible(!inFrame);
    entry(QStringLiteral("mnuConnect"))->setVisible(!inFrame);
}

void SampleManagerWindow::updateMenus()
{
    const bool busy = control_->busy();
    const QStringList chosen = chosenKeys();
    const QString key = chosenKey();
    const QString type = GetKeyType(key);
    const bool items = !itemsOf(chosen).isEmpty();
    const auto enable = [this](const char* name, bool on) { entry(QLatin1String(name))->setEnabled(on); };
    enable("mnuOpen", !key.isEmpty() && type != QLatin1String("A") && type != QLatin1String("K"));
    enable("mnuSaveData", keytype::isRecord(type));
    enable("mnuImport", !busy);
    enable("mnuExport", !busy && !chosen.isEmpty());
    enable("mnuRepair", !busy);
    bool printable = false;
    for (const QString& k : chosen)
        printable = printable || (QStringLiteral("WCLT").contains(GetKeyType(k)) && GetKeyType(k).size() == 1);
    enable("mnuPrint", bool(openPrint_) && printable);
    enable("mnuDelete", !busy && (items || GetKeyType(control_->nodeKey()) == QLatin1String("R")));
    QAbstractItemView* view = lastView_;
    enable("mnuRename", !busy && view->currentIndex().isValid() && (view->currentIndex().flags() & Qt::ItemIsEditable));
    const UndoMode undo = control_->undoMode();
    entry(QStringLiteral("mnuUndo"))->setText(GetRes(UnSetMode(undo)));
    enable("mnuUndo", !busy && undo != UndoMode::None);
    enable("mnuCut", !busy && items);
    enable("mnuCopy", !busy && items);
    enable("mnuPaste", !busy && control_->hasClipboard());
    enable("mnuSelectAll", control_->list().rowCount() > 0);
    enable("mnuCreateFolder", !busy);
    enable("mnuNewCalibrationLine", !busy);
}

void SampleManagerWindow::updateMeasurementMenu()
{
    MainControl* main = frame_ ? &frame_->control() : nullptr;
    entry(QStringLiteral("mnuConnect"))->setEnabled(main && main->connectAvailable());
    const bool ready = control_->measurementReady();
    for (const char* name : {"mnuNewWork", "mnuNewThickness", "mnuNewLight", "mnuNewCalibrationData"})
        entry(QLatin1String(name))->setEnabled(ready);
}

void SampleManagerWindow::showItemPopup(const QPoint& globalPos, const QString& key, bool fromList)
{
    popupKey_ = key;
    popupFromList_ = fromList;
    lastView_ = fromList ? list_ : tree_;
    const QString type = GetKeyType(key);
    if (fromList && type == QLatin1String("K")) {
        templatePopup_->popup(globalPos);
        return;
    }
    // The search, the print folders and the trash offer no record actions.
    const bool item = isItem(key);
    const auto enable = [this](const char* name, bool on) { entry(QLatin1String(name))->setEnabled(on); };
    enable("popOpen", type != QLatin1String("A"));
    enable("popCut", item);
    enable("popCopy", item);
    enable("popPaste", control_->hasClipboard() && type != QLatin1String("P") && type != QLatin1String("Q"));
    enable("popDelete", item || type == QLatin1String("R"));
    enable("popRename", item || type == QLatin1String("K"));
    itemPopup_->popup(globalPos);
}

void SampleManagerWindow::showGridPopup(const QPoint& globalPos, int row)
{
    const SampleGridModel& grid = control_->grid();
    const QString rowKey = grid.keyOf(row);
    const QString kind = GetKeyType(grid.recordKey());
    int caption = 0;
    if (rowKey == QLatin1String("AdjustName") && (kind == QLatin1String("W") || kind == QLatin1String("C"))
        && grid.index(row, 1).data().toString() != QLatin1String("None"))
        caption = msg::PopupAdjustmentRemove;
    else if (kind == QLatin1String("T") && rowKey.contains(QLatin1String("CalibData")))
        caption = msg::PopupCalibrationDataRemove;
    if (caption == 0)
        return;
    popupGridRow_ = row;
    entry(QStringLiteral("popGridRemove"))->setText(GetRes(caption));
    gridPopup_->popup(globalPos);
}

void SampleManagerWindow::mnuOpen()
{
    if (treeChosen())
        nodeChosen();
    else
        openItems(chosenKey());
}

void SampleManagerWindow::mnuCreateFolder()
{
    const QString key = control_->CreateFolder(chosenKey());
    if (key.isEmpty())
        return;
    // The new folder is named at once, where it shows.
    const int row = control_->list().rowOfKey(key);
    if (row >= 0) {
        list_->setFocus();
        list_->setCurrentIndex(control_->list().index(row, 0));
        list_->edit(list_->currentIndex());
    } else {
        const QModelIndex node = control_->tree().indexOfKey(key);
        tree_->scrollTo(node);
        tree_->edit(node);
    }
}

void SampleManagerWindow::mnuSaveData()
{
    const QString key = chosenKey();
    if (!control_->canSaveAsText(key)) {
        control_->SaveData(key, QString(), 0);
        return;
    }
    int filter = 1;
    const QString file = fileChooser()(true, captionText(msg::MenuSaveData), recordTextFilters(), dataDirectory(), &filter);
    if (!file.isEmpty())
        control_->SaveData(key, file, filter);
}

void SampleManagerWindow::mnuImport()
{
    int filter = 1;
    const QString file = fileChooser()(false, GetRes(msg::ImportTitle), exchangeFilters(), dataDirectory(), &filter);
    // The imported items go into the chosen folder.
    const QString into = GetKeyType(chosenKey()) == QLatin1String("F") ? chosenKey() : control_->nodeKey();
    control_->Import(file, into);
}

void SampleManagerWindow::mnuExport()
{
    QStringList keys;
    for (const QString& key : chosenKeys())
        if (isItem(key) || GetKeyType(key) == QLatin1String("A") || GetKeyType(key) == QLatin1String("R"))
            keys << key;
    if (keys.isEmpty())
        return;
    int filter = 1;
    const QString file = fileChooser()(true, GetRes(msg::ExportTitle), exchangeFilters(), dataDirectory(), &filter);
    control_->Export(file, keys);
}

void SampleManagerWindow::mnuRepair()
{
    int filter = 1;
    const QString path =
        fileChooser()(false, GetRes(msg::RepairTitle), exchangeFilters(), control_->databasePath(), &filter);
    control_->Repair(path);
}

void SampleManagerWindow::mnuPrint()
{
    QStringList keys;
    for (const QString& key : chosenKeys())
        if (QStringLiteral("WCLT").contains(GetKeyType(key)) && GetKeyType(key).size() == 1)
            keys << key;
    if (openPrint_ && !keys.isEmpty())
        openPrint_(keys);
}

void SampleManagerWindow::mnuDelete()
{
    control_->DeleteItems(chosenKeys());
}

void SampleManagerWindow::mnuRename()
{
    QAbstractItemView* view = lastView_;
    if (view->currentIndex().isValid() && (view->currentIndex().flags() & Qt::ItemIsEditable))
        view->edit(view->currentIndex());
}

void SampleManagerWindow::mnuUndo() { control_->Undo(); }

void SampleManagerWindow::mnuCut(bool copy)
{
    const QStringList keys = itemsOf(chosenKeys());
    if (keys.isEmpty())
        return;
    if (copy)
        control_->Copy(keys);
    else
        control_->Cut(keys);
    updateMenus();
}

void SampleManagerWindow::mnuPaste()
{
    QString target = control_->nodeKey();
    if (!treeChosen()) {
        const QString current = list_->keyOf(list_->currentIndex());
        if (list_->selectionModel()->isRowSelected(list_->currentIndex().row(), {}) && !current.isEmpty())
            target = current;
    }
    control_->Paste(target);
    updateMenus();
}

void SampleManagerWindow::mnuSelectAll()
{
    lastView_ = list_;
    list_->setFocus();
    list_->selectAll();
}

void SampleManagerWindow::mnuSearch() { showNode(QStringLiteral("1 Q")); }

void SampleManagerWindow::mnuStatusBar()
{
    if (!frame_)
        return;
    if (QAction* frameEntry = frame_->entry(QStringLiteral("mnuStatusBar")))
        frameEntry->trigger();
}

void SampleManagerWindow::mnuRefresh()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    control_->RefreshData();
    QGuiApplication::restoreOverrideCursor();
}

void SampleManagerWindow::mnuConnect()
{
    QAction* connectEntry = entry(QStringLiteral("mnuConnect"));
    connectEntry->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    control_->Connect();
    QGuiApplication::restoreOverrideCursor();
    updateMeasurementMenu();
}

void SampleManagerWindow::mnuNewRecord(const QString& kind) { openRecords({QStringLiteral("0 ") + kind}); }

void SampleManagerWindow::mnuNewCalibrationLine()
{
    const QString key = control_->NewCalibrationLine(control_->nodeKey());
    const int row = control_->list().rowOfKey(key);
    if (row >= 0)
        list_->setCurrentIndex(control_->list().index(row, 0));
}

} // namespace tz4::gui
