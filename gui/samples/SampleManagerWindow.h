#pragma once

#include "gui/widgets/ChildMenus.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

namespace tz4 {
class SampleManagerControl;
}

namespace tz4::gui {

class MainWindow;
class SampleGridView;
class SampleItemView;

// The sample manager: the folder tree, the record list and the property grid, with its File,
// Edit, Display and Measurement menus and pop-ups. A thin view over SampleManagerControl: it
// turns clicks, keys, drags and menu entries into its calls and opens data windows in the
// frame for the records chosen.
class SampleManagerWindow final : public QWidget, public ChildMenus {
    Q_OBJECT

public:
    // The window's name in the window-state file.
    static constexpr const char* StateName = "SampleManager";

    // A file dialog; replaced in tests. `save` asks for a file to write. Given the title and the
    // file types, returns the chosen file (empty when cancelled) and the position of the chosen
    // type from 1.
    using FileChooser = std::function<QString(bool save, const QString& title, const QStringList& filters,
                                              const QString& suggested, int* filter)>;
    static void setFileChooser(FileChooser choose);

    // `frame` lends the instrument, the status bar and the place of the data windows it opens.
    SampleManagerWindow(const QString& databasePath, MainWindow* frame, QWidget* parent = nullptr);
    ~SampleManagerWindow() override;

    SampleManagerControl& control() { return *control_; }
    SampleItemView* tree() const { return tree_; }
    SampleItemView* list() const { return list_; }
    SampleGridView* grid() const { return grid_; }
    // The drag hint and the progress of long work.
    QLabel* hintLine() const { return hint_; }

    // Menu entries by name: "mnuOpen", "mnuCreateFolder", "mnuSaveData", "mnuDatabase",
    // "mnuImport", "mnuExport", "mnuRepair", "mnuPrint", "mnuDelete", "mnuRename", "mnuClose",
    // "mnuUndo", "mnuCut", "mnuCopy", "mnuPaste", "mnuSelectAll", "mnuSearch", "mnuStatusBar",
    // "mnuRefresh", "mnuConnect", "mnuNewWork", "mnuNewThickness", "mnuNewLight",
    // "mnuNewCalibrationData", "mnuNewCalibrationLine"; pop-up entries "popOpen", "popCut",
    // "popCopy", "popPaste", "popDelete", "popRename", "popGridRemove", "popDefaultTemplate".
    QAction* entry(const QString& name) const;
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* editMenu() const { return editMenu_; }
    QMenu* displayMenu() const { return dispMenu_; }
    QMenu* measurementMenu() const { return measMenu_; }
    QMenu* itemPopup() const { return itemPopup_; }
    QMenu* gridPopup() const { return gridPopup_; }
    QMenu* templatePopup() const { return templatePopup_; }

    // Room for the tree, the grid and the list's four columns.
    QSize sizeHint() const override;

    QList<QMenu*> childMenus() const override;
    void setMenusInFrame(bool inFrame) override;

    // Where the print window will be opened with the chosen records' keys; until it is set,
    // File > Print stays disabled.
    void setPrintOpener(std::function<void(const QStringList& keys)> open);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildViews();
    void buildMenus(QMenuBar* bar);
    void buildPopups();
    void connectViews();
    void updateMenus();
    void updateMeasurementMenu();
    void showNode(const QString& key);
    void treeRebuilt();
    void nodeChosen();
    void itemChosen();
    void openItems(const QString& clicked);
    void openRecords(const QStringList& keys);
    void dropOn(const QString& target, const QStringList& keys, bool copy);
    void showItemPopup(const QPoint& globalPos, const QString& key, bool fromList);
    void showGridPopup(const QPoint& globalPos, int row);
    void renamed(const QString& key, const QString& oldName, const QString& newName);

    // The menu commands.
    void mnuOpen();
    void mnuCreateFolder();
    void mnuSaveData();
    void mnuImport();
    void mnuExport();
    void mnuRepair();
    void mnuPrint();
    void mnuDelete();
    void mnuRename();
    void mnuUndo();
    void mnuCut(bool copy);
    void mnuPaste();
    void mnuSelectAll();
    void mnuSearch();
    void mnuStatusBar();
    void mnuRefresh();
    void mnuConnect();
    void mnuNewRecord(const QString& kind);
    void mnuNewCalibrationLine();
    void closeWindow();

    // What the focused view has chosen: the list's selection, or the tree's node.
    QStringList chosenKeys() const;
    QString chosenKey() const;
    bool treeChosen() const;

    std::unique_ptr<SampleManagerControl> control_;
    QPointer<MainWindow> frame_;
    std::function<void(const QStringList&)> openPrint_;

    QMenuBar* menuBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* databaseMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* dispMenu_ = nullptr;
    QMenu* measMenu_ = nullptr;
    QMenu* itemPopup_ = nullptr;
    QMenu* gridPopup_ = nullptr;
    QMenu* templatePopup_ = nullptr;
    SampleItemView* tree_ = nullptr;
    SampleItemView* list_ = nullptr;
    SampleGridView* grid_ = nullptr;
    QLabel* hint_ = nullptr;
    // The view the operator worked in last, whose choice the menus act on.
    SampleItemView* lastView_ = nullptr;
    // The entry a pop-up was opened on.
    QString popupKey_;
    bool popupFromList_ = false;
    int popupGridRow_ = -1;
    // Set while the window itself moves the views' current entries after a rebuild.
    bool quiet_ = false;
};

} // namespace tz4::gui
