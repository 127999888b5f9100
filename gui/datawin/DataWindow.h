#pragma once

#include "gui/widgets/ChildMenus.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QTabBar;
class QTableView;
class QTimer;
class QVBoxLayout;

namespace tz4 {
class clsTz4DataSet;
class DataWindowControl;
class MainControl;
class MeasurementControl;
class ParameterGridModel;
class SampleTableModel;
} // namespace tz4

namespace tz4::gui {

class GraphWidget;
class ParameterGridView;

// A data window: the records of one selection as a points table, their graph and the
// parameter grid; on a new record also the measurement menu. It draws what its
// DataWindowControl holds and turns gestures into calls of it; the instrument is reached
// through the main window's control, which may be absent (then nothing can be measured).
class DataWindow final : public QWidget, public ChildMenus {
    Q_OBJECT

public:
    // The save dialog; replaced in tests. Given the title and the file types, returns the
    // chosen file (empty when cancelled) and the position of the chosen type from 1.
    using SaveFileChooser = std::function<QString(const QString& title, const QStringList& filters, int* filter)>;
    static void setSaveFileChooser(SaveFileChooser choose);
    // Opens the print window on stored records (the first one's table and values printed);
    // the program sets it once. File > Print is disabled without it.
    using PrintOpener = std::function<void(const QStringList& keys)>;
    static void setPrintOpener(PrintOpener open);

    DataWindow(const QString& databasePath, const QString& keyList, MainControl* main, QWidget* parent = nullptr);
    ~DataWindow() override;

    DataWindowControl& control() { return *control_; }
    // False when none of the keys named a record; the window then has nothing to show.
    bool hasRecords() const;

    GraphWidget* graph() const { return graph_; }
    QTableView* pointsTable() const { return table_; }
    ParameterGridView* grid() const { return grid_; }
    ParameterGridModel& gridModel() { return *gridModel_; }
    QMenu* measurementMenu() const { return measMenu_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* editMenu() const { return editMenu_; }
    // Menu entries by name: "mnuSaveData", "mnuClose", "mnuCopyGraph", "mnuCopyTable",
    // "mnuCopyStatus", and the measurement entries "mnuSampleStage", "mnuMeasure",
    // "mnuUvAdjustment", "mnuAnodeVoltage", "mnuCalibration", "mnuInitLightAdjuster".
    QAction* entry(const QString& name) const;
    // Measurement menu entries by the control's item number.
    QAction* measurementAction(int index) const;

    QSize sizeHint() const override;
    QList<QMenu*> childMenus() const override;
    void setMenusInFrame(bool inFrame) override;
    // The popup of the graph and the table; shown without blocking so its entries can be chosen.
    QMenu* popup() const { return popup_; }
    QLabel* statusLine() const { return status_; }
    // One graph per record kind: the tabs choose the kind a window of several kinds shows.
    QTabBar* kindTabs() const { return kindTabs_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildViews();
    void layOutViews(QVBoxLayout& layout);
    void connectViews();
    void tableContextMenu(const QPoint& at);
    void buildMenus(QMenuBar* bar);
    void buildMeasurementMenu(QMenuBar* bar);
    void saveData();
    void print();
    QStringList printableKeys() const;
    void copyGraph();
    void copyTable();
    void copyStatus();
    void buildPopup();
    void runMeasurementItem(int index);
    void MeasMenuEnabled();
    void showPopup(bool fromGraph, const QPoint& globalPos);
    void suggestRanges();
    void refreshAll();
    void refreshAnalysis();
    void pointAdded(int row);
    void updateCaption();
    void graphMouseDown(Qt::MouseButtons buttons, QPointF twips);
    void graphMouseMove(QPointF twips);
    void actionChanged();
    void showKind(int tab);
    void selectRecord(const clsTz4DataSet* record);
    // Closes the window and its frame around it, so no empty frame is left behind.
    void closeWindow();
    bool running() const;

    std::unique_ptr<DataWindowControl> control_;
    std::unique_ptr<ParameterGridModel> gridModel_;
    std::unique_ptr<SampleTableModel> tableModel_;
    MainControl* main_ = nullptr;
    MeasurementControl* measurement_ = nullptr;

    QMenuBar* menuBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* measMenu_ = nullptr;
    QList<QPair<int, QAction*>> measActions_;
    QMenu* popup_ = nullptr;
    QComboBox* recordChoice_ = nullptr;
    GraphWidget* graph_ = nullptr;
    QTableView* table_ = nullptr;
    ParameterGridView* grid_ = nullptr;
    QLabel* status_ = nullptr;
    QTabBar* kindTabs_ = nullptr;
    QTimer* gridRefresh_ = nullptr;
    // The operator asked to close while this window's action ran: it closes once it has ended.
    bool closePending_ = false;
};

} // namespace tz4::gui
