#pragma once

#include "core/Clock.h"
#include "core/SerialLine.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace tz4 {
class MainControl;
class uclTz4Body;
} // namespace tz4

namespace tz4::gui {

class WindowState;
class uclTz4DataBar;
class uclTz4TaskBar;

// The program's frame (frmMain): the multiple-document area with its menus, the tool strip
// carrying the status bar, and the task bar of open windows. It owns the instrument component
// on the given line and the main window's logic (MainControl) for the whole run.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(Clock& clock, SerialLine& line, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Everything a child window needs from the frame: the instrument (control().body()), the
    // status bar with its owner code (control().status()) and the process events. Messages go
    // through the process-wide errorReporter().
    MainControl& control() { return *control_; }
    Clock& clock() { return clock_; }

    // Puts `child` into the frame as a sub-window deleted on close, registers it with the task
    // bar and the Window menu, and restores its remembered geometry when `child` has an object
    // name. Returns the sub-window (already shown).
    QMdiSubWindow* addChildWindow(QWidget* child);

    QMdiArea* mdiArea() const { return mdi_; }
    uclTz4DataBar& tz4Status() const { return *tz4Status_; }
    // Says on the status bar, at once, what the program waits for (a database another program
    // holds); the wait itself runs no events.
    void showBusyNotice(const QString& text);
    uclTz4TaskBar& tz4TaskBar() const { return *tz4TaskBar_; }
    QToolBar* coolBar() const { return coolBar1_; }

    // Refreshes the status bar for "Status", the task bar for "TaskList"; anything else is ignored.
    void TaskBarRefresh(const QString& which);

    // What Display > Data Manager opens; the entry stays disabled while nothing is set.
    void setDataManagerOpener(std::function<void()> open);
    // The font dialog; replaced in tests. Returns false when the user cancelled.
    using FontChooser = std::function<bool(QFont& font)>;
    void setFontChooser(FontChooser choose) { chooseFont_ = std::move(choose); }

    // The frame's menus, and every entry of them by its name: "mnuFileClose", "mnuDataManager",
    // "mnuStatusBar", "mnuFont", "mnuConnect", "mnuSerialPort", "mnuCascade", "mnuTileVertical",
    // "mnuTileHorizontal", "mnuArrangeIcons", "mnuWindowList"; nullptr for another name.
    QMenu* mnuFile() const { return mnuFile_; }
    QMenu* mnuDisp() const { return mnuDisp_; }
    QMenu* mnuMeas() const { return mnuMeas_; }
    QMenu* mnuWindow() const { return mnuWindow_; }
    QAction* entry(const QString& name) const;

    // Sets the menus' captions and enabling and the bars' font, as when the frame is activated
    // with no child window active.
    void ObjPropertys();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void createBars();
    void checkScreen();
    void onScreenChanged();
    void onDeviceRemoved();
    void onSubWindowActivated(QMdiSubWindow* window);
    void onTaskClick(int index);
    void fillWindowList();

    void mnuConnect();
    void mnuSerialPortClick();
    void mnuStatusBar();
    void mnuFont();
    void arrange(int index);
    void applyDisplayFont();
    void actionChanged();
    void mergeChildMenus(QWidget* child);
    void unmergeChildMenus();
    QAction* addEntry(QMenu* menu, const char* name);

    Clock& clock_;
    SerialLine& line_;
    std::unique_ptr<uclTz4Body> body_;
    uclTz4DataBar* tz4Status_ = nullptr;
    uclTz4TaskBar* tz4TaskBar_ = nullptr;
    std::unique_ptr<MainControl> control_;
    std::unique_ptr<WindowState> windowState_;
    QMdiArea* mdi_ = nullptr;
    QToolBar* coolBar1_ = nullptr;
    QToolBar* taskStrip_ = nullptr;

    QMenu* mnuFile_ = nullptr;
    QMenu* mnuDisp_ = nullptr;
    QMenu* mnuMeas_ = nullptr;
    QMenu* mnuWindow_ = nullptr;
    QMenu* windowList_ = nullptr;
    QAction* closeEntry_ = nullptr;
    QAction* dataManagerEntry_ = nullptr;
    QAction* statusBarEntry_ = nullptr;
    QAction* fontEntry_ = nullptr;
    QAction* connectEntry_ = nullptr;
    QAction* cascadeEntry_ = nullptr;
    QAction* tileVerticalEntry_ = nullptr;
    QAction* tileHorizontalEntry_ = nullptr;
    QAction* arrangeIconsEntry_ = nullptr;

    // The active child's menus as they stand in the frame's menu bar, to be taken back.
    struct MergedMenu {
        QPointer<QMenu> into;           // a frame menu the child's entries were put into, or
        QList<QPointer<QAction>> added; // the child's entries (and a separator) added to it
        QPointer<QMenu> standing;       // a child menu standing in the bar by itself
    };
    QList<MergedMenu> merged_;
    QPointer<QWidget> menuChild_;
    QAction* serialPortItem_ = nullptr;

    std::function<void()> openDataManager_;
    FontChooser chooseFont_;
    bool removalShown_ = false;
    // Closing was asked for while an action ran: the frame closes once it has ended.
    bool closePending_ = false;
};

} // namespace tz4::gui
