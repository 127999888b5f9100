#include "gui/mainwin/MainWindow.h"

#include "gui/mainwin/WindowState.h"
#include "gui/widgets/DataBar.h"
#include "gui/widgets/TaskBar.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/SystemFile.h"
#include "graph/GraphSurface.h"
#include "instrument/Tz4Body.h"
#include "mainwin/FrameGeometry.h"
#include "mainwin/MainControl.h"
#include "mainwin/RunningAction.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace tz4::gui {

namespace {

const char* const ChildNameProperty = "tz4StateName";

} // namespace

MainWindow::MainWindow(Clock& clock, SerialLine& line, QWidget* parent)
    : QMainWindow(parent), clock_(clock), line_(line), body_(std::make_unique<uclTz4Body>(clock, line))
{
    EnterProcedure here("frmMain:MDIForm_Load");
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    setWindowTitle(QStringLiteral("TZ-4"));
    // A file that stops loading part-way still leaves the values read before the bad line.
    QStringList unusableSettings;
    GetSystemFile(*body_, &unusableSettings);

    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    createBars();
    control_ = std::make_unique<MainControl>(clock_, *body_, *tz4Status_);
    createMenus();
    windowState_ = std::make_unique<WindowState>();

    setMinimumSize(int(FrameMinimumWidthTwips / twipsPerPixelX(*this) + 0.5),
                   int(FrameMinimumHeightTwips / twipsPerPixelY(*this) + 0.5));
    checkScreen();
    windowState_->restoreFrame(*this);
    ObjPropertys();
    control_->Load();
    control_->setUnusableSettings(unusableSettings);

    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::onSubWindowActivated);
    connect(&tz4TaskBar_->tasks(), &TaskList::Click, this, &MainWindow::onTaskClick);
    connect(control_.get(), &MainControl::coolBarToolTipChanged, coolBar1_, &QWidget::setToolTip);
    connect(control_.get(), &MainControl::connectAvailableChanged, connectEntry_, &QAction::setEnabled);
    connect(&control_->action(), &RunningAction::changed, this, &MainWindow::actionChanged);
    if (QScreen* screen = this->screen())
        connect(screen, &QScreen::geometryChanged, this, &MainWindow::onScreenChanged);
    // The message waits until the signal that brought it has been handled, so that no
    // message box opens inside the port's own error handling.
    line_.setRemovalHandler([this] { QTimer::singleShot(0, this, &MainWindow::onDeviceRemoved); });
    QGuiApplication::restoreOverrideCursor();
}

MainWindow::~MainWindow()
{
    line_.setRemovalHandler({});
    // The child windows go first: they hold on to the instrument and the status bar.
    QMdiArea* area = mdi_;
    mdi_ = nullptr;
    delete area;
    control_.reset();
}

void MainWindow::createBars()
{
    coolBar1_ = new QToolBar(this);
    coolBar1_->setObjectName(QStringLiteral("CoolBar1"));
    coolBar1_->setMovable(false);
    coolBar1_->setFloatable(false);
    tz4Status_ = new uclTz4DataBar(coolBar1_);
    tz4Status_->setObjectName(QStringLiteral("tz4Status"));
    coolBar1_->addWidget(tz4Status_);
    addToolBar(Qt::TopToolBarArea, coolBar1_);
    addToolBarBreak(Qt::TopToolBarArea);

    taskStrip_ = new QToolBar(this);
    taskStrip_->setObjectName(QStringLiteral("TaskStrip"));
    taskStrip_->setMovable(false);
    taskStrip_->setFloatable(false);
    tz4TaskBar_ = new uclTz4TaskBar(taskStrip_);
    tz4TaskBar_->setObjectName(QStringLiteral("tz4TaskBar"));
    taskStrip_->addWidget(tz4TaskBar_);
    addToolBar(Qt::TopToolBarArea, taskStrip_);
}

void MainWindow::checkScreen()
{
    const QScreen* screen = this->screen();
    const QSize own(int(FrameWidthTwips / twipsPerPixelX(*this) + 0.5), int(FrameHeightTwips / twipsPerPixelY(*this) + 0.5));
    if (!screen || screenLargeEnough(screen->size())) {
        // A large screen gets a frame that uses it; the remembered place wins afterwards.
        setGeometry(screen ? firstFrameRect(screen->availableGeometry(), own) : QRect(QPoint(), own));
        return;
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    showCatalogMessage(msg::ScreenTooSmall, msg::ScreenTooSmallTitle, MessageIcon::Information);
}

void MainWindow::onScreenChanged()
{
    EnterProcedure here("frmMain:SysInfo1_DisplayChanged");
    if (const QScreen* screen = this->screen(); screen && !screenLargeEnough(screen->size()))
        showCatalogMessage(msg::ScreenTooSmall, msg::ScreenTooSmallTitle, MessageIcon::Information);
}

void MainWindow::onDeviceRemoved()
{
    EnterProcedure here("frmMain:SysInfo1_DeviceQueryRemove");
    // A lost device reports itself more than once; one warning per connection is enough.
    if (removalShown_)
        return;
    removalShown_ = true;
    // The catalogue's warning does not say which device went; the line does.
    QString text = GetRes(msg::SerialPortChanging);
    if (const QString cause = line_.failureCause(); !cause.isEmpty())
        text += QStringLiteral("\r\n") + cause;
    errorReporter().showMessage(text, GetRes(msg::PlugAndPlayTitle), MessageIcon::Critical, MessageButtons::Ok);
}

QMdiSubWindow* MainWindow::addChildWindow(QWidget* child)
{
    child->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* window = mdi_->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    const QString name = child->objectName();
    bool placed = false;
    if (!name.isEmpty()) {
        window->setProperty(ChildNameProperty, name);
        placed = windowState_->restoreChild(*window, name);
    }
    // Never placed before: alone it fills the area, else it opens at the size it reads well at.
    if (!placed) {
        const int before = int(mdi_->subWindowList().size()) - 1;
        const QSize frameExtra = window->size() - child->size();
        window->setGeometry(firstChildRect(mdi_->viewport()->rect(), child->sizeHint() + frameExtra, before,
                                           window->style()->pixelMetric(QStyle::PM_TitleBarHeight)));
    }
    window->installEventFilter(this);

    TaskList& tasks = tz4TaskBar_->tasks();
    tasks.AddTask(window, child->windowTitle());
    connect(child, &QWidget::windowTitleChanged, &tasks,
            [&tasks, window](const QString& title) { tasks.setCaption(window, title); });
    // Either end unregisters the button: a widget announces its end before the pointers to it
    // are cleared, so a slot would otherwise still look taken.
    connect(child, &QObject::destroyed, &tasks, [&tasks, window] { tasks.RemoveTask(window); });
    connect(window, &QObject::destroyed, &tasks, [&tasks, window] { tasks.RemoveTask(window); });
    connect(window, &QObject::destroyed, tz4TaskBar_, &uclTz4TaskBar::Refresh);
    connect(window, &QObject::destroyed, this, [this] {
        // A child that went takes its menus with it; the frame's separators go too.
        if (!menuChild_)
            unmergeChildMenus();
        if (mdi_ && mdi_->subWindowList().isEmpty())
            ObjPropertys();
    });
    window->show();
    return window;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(watched)) {
            const QString name = window->property(ChildNameProperty).toString();
            if (!name.isEmpty() && !window->isMinimized() && !window->isMaximized())
                windowState_->saveChild(*window, name);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::onSubWindowActivated(QMdiSubWindow* window)
{
    if (!window) {
        if (mdi_ && mdi_->subWindowList().isEmpty())
            unmergeChildMenus();
        return;
    }
    tz4TaskBar_->tasks().SetTask(window);
    for (QAction* arrangement : {cascadeEntry_, tileVerticalEntry_, tileHorizontalEntry_})
        arrangement->setEnabled(true);
    arrangeIconsEntry_->setVisible(true);
    mergeChildMenus(window->widget());
}

void MainWindow::onTaskClick(int)
{
    EnterProcedure here("frmMain:tz4TaskBar_Click");
    QObject* selected = tz4TaskBar_->tasks().Selected();
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        if (window != selected)
            continue;
        window->show();
        if (window->isMinimized())
            window->showNormal();
        mdi_->setActiveSubWindow(window);
        window->raise();
        window->update();
        if (QWidget* content = window->widget())
            content->setFocus();
        return;
    }
}

void MainWindow::TaskBarRefresh(const QString& which)
{
    if (which == QLatin1String("Status"))
        tz4Status_->Refresh();
    else if (which == QLatin1String("TaskList"))
        tz4TaskBar_->Refresh();
}

void MainWindow::showBusyNotice(const QString& text)
{
    tz4Status_->setCaption(text);
    tz4Status_->repaint();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && mdi_ && !mdi_->activeSubWindow())
        ObjPropertys();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    EnterProcedure here("frmMain:MDIForm_Unload");
    RunningAction& action = control_->action();
    if (action.kind() == RunningAction::Kind::Connection) {
        // The connection sequence is waiting for the instrument: stop it, close afterwards.
        action.requestCancel();
        closePending_ = true;
        event->ignore();
        return;
    }
    mdi_->closeAllSubWindows();
    // A child that must finish first (a running measurement) keeps the frame open; when its
    // operator agreed to stop it, the frame closes once it has stopped.
    for (const QMdiSubWindow* window : mdi_->subWindowList()) {
        if (!window->isHidden()) {
            closePending_ = action.running() && action.cancelRequested();
            event->ignore();
            return;
        }
    }
    closePending_ = false;
    windowState_->saveFrame(*this);
    control_->Unload();
    event->accept();
}

void MainWindow::actionChanged()
{
    if (closePending_ && !control_->action().running())
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

} // namespace tz4::gui
