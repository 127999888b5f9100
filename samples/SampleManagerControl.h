#pragma once

#include "data/UndoJournal.h"
#include "mainwin/MainControl.h"
#include "samples/BackgroundWork.h"
#include "samples/FatTreeModel.h"
#include "samples/SampleGridModel.h"
#include "samples/SampleListModel.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

namespace tz4 {

class StatusBarHold;
class Tz4Error;

// What the sample manager does apart from drawing itself: the folder tree, the record list and
// the property grid as models, and every gesture of the window as a call that carries out the
// folder and record operations, says what went wrong in the catalogue's words and rebuilds
// what changed. The main window's logic, when given, lends its status bar to long work and
// the instrument's connection to the Measurement menu.
class SampleManagerControl : public QObject {
    Q_OBJECT

public:
    SampleManagerControl(const QString& databasePath, MainControl* main, QObject* parent = nullptr);
    ~SampleManagerControl() override;

    FatTreeModel& tree() { return tree_; }
    SampleListModel& list() { return list_; }
    SampleGridModel& grid() { return grid_; }
    const QString& databasePath() const { return databasePath_; }
    MainControl* main() const { return main_; }

    // Opening the window: the print-template folders hidden unless templates are editable,
    // the tree, the root's list and the grid of its first record.
    void FormLoad();
    // Display > Refresh Data: tree, list and grid read again, on the same node where it lives.
    void RefreshData();

    // The tree node whose contents the list shows.
    const QString& nodeKey() const { return list_.ParentKey(); }
    // A tree node chosen: its contents listed (the search node runs the grid's conditions), the
    // grid filled for the first entry, or with the search conditions on the search node.
    void NodeClick(const QString& key);
    // A list entry chosen: the grid shows it when it is a record.
    void ItemClick(const QString& key);

    // What a double click or Open does with the selection: a folder or the trash is listed (its
    // node), records open together in one data window.
    struct Opening {
        QString node;
        QStringList records;
    };
    Opening OpenItems(const QStringList& selected, const QString& clicked) const;

    // The gestures. Each says why when it refuses or fails, and is true when it changed something.
    bool Drop(const QString& targetKey, const QStringList& keys, bool copy);
    bool DeleteItems(const QStringList& keys);
    bool RenameItem(const QString& key, const QString& name);
    // The new folder's key; empty when refused (message 5020 off a folder).
    QString CreateFolder(const QString& underKey);
    void Cut(const QStringList& keys);
    void Copy(const QStringList& keys);
    bool Paste(const QString& targetKey);
    bool hasClipboard() const { return !clipboard_.isEmpty(); }
    // The last undoable operation, as the database's journal says (another program's too).
    UndoMode undoMode() const;
    bool Undo();
    // The search grid's button: the matches listed under the search node, with their count.
    bool GoQuery();
    // A new calibration line stored at once in folder `folderKey` (else the top level); its key.
    QString NewCalibrationLine(const QString& folderKey);
    // The grid's pop-ups on the record it shows.
    bool RemoveAdjustment();
    bool RemoveCalibrationMember(qint32 member);
    bool SetDefaultTemplate(const QString& templateKey);
    // Save Data: only W and C records are written as text (else message 5093).
    bool canSaveAsText(const QString& key) const;
    bool SaveData(const QString& key, const QString& file, int filter);

    // The Database menu, each on a thread of its own with progress on the main window's
    // status bar; false when it did not start.
    bool Import(const QString& file, const QString& targetKey);
    bool Export(const QString& file, const QStringList& keys);
    bool Repair(const QString& path);
    bool busy() const { return work_.running(); }
    BackgroundWork& work() { return work_; }

    // Measurement: the connection sequence, and whether new records may be measured.
    void Connect();
    bool measurementReady() const;

signals:
    // The tree was read again: views restore their current node.
    void treeRebuilt();
    void undoChanged();
    void busyChanged(bool busy);
    // A long operation's caption, also when the main window's status bar is taken.
    void progressed(const QString& caption);

private:
    void rebuild();
    void showFirstItem();
    bool refuseWhileBusy() const;
    // False (after saying so and reading the lists again) when a key names nothing any more.
    bool stillThere(const QStringList& keys);
    void failed(const char* label, int titleId, const Tz4Error& error) const;
    bool startWork(int captionId, const char* label, int titleId, BackgroundWork::Work work);
    void workEnded();

    QString databasePath_;
    QPointer<MainControl> main_;
    FatTreeModel tree_;
    SampleListModel list_;
    SampleGridModel grid_;
    QStringList clipboard_;
    bool clipboardCopies_ = false;
    BackgroundWork work_;
    std::unique_ptr<StatusBarHold> workStatus_;
    const char* workLabel_ = "";
    int workTitle_ = 0;
};

} // namespace tz4
