#include "gui/mainwin/MainWindow.h"

#include "gui/mainwin/SerialPortDialog.h"
#include "gui/widgets/ChildMenus.h"
#include "gui/widgets/DataBar.h"
#include "gui/widgets/TaskBar.h"

#include "core/ErrorLocation.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/SystemParam.h"
#include "mainwin/FrameGeometry.h"
#include "mainwin/MainControl.h"
#include "mainwin/SerialPortChoice.h"

#include <QFontDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QToolBar>

namespace tz4::gui {

QAction* MainWindow::addEntry(QMenu* menu, const char* name)
{
    QAction* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* MainWindow::entry(const QString& name) const
{
    for (QMenu* menu : {mnuFile_, mnuDisp_, mnuMeas_, mnuWindow_})
        for (QAction* action : menu->actions())
            if (action->objectName() == name)
                return action;
    return nullptr;
}

void MainWindow::createMenus()
{
    mnuFile_ = menuBar()->addMenu(QString());
    closeEntry_ = addEntry(mnuFile_, "mnuFileClose");
    connect(closeEntry_, &QAction::triggered, this, &QWidget::close);
    closeEntry_->setShortcut(QKeySequence::Quit);

    mnuDisp_ = menuBar()->addMenu(QString());
    dataManagerEntry_ = addEntry(mnuDisp_, "mnuDataManager");
    connect(dataManagerEntry_, &QAction::triggered, this, [this] {
        if (openDataManager_)
            openDataManager_();
    });
    mnuDisp_->addSeparator();
    statusBarEntry_ = addEntry(mnuDisp_, "mnuStatusBar");
    connect(statusBarEntry_, &QAction::triggered, this, &MainWindow::mnuStatusBar);
    statusBarEntry_->setCheckable(true);
    statusBarEntry_->setChecked(true);
    mnuDisp_->addSeparator();
    fontEntry_ = addEntry(mnuDisp_, "mnuFont");
    connect(fontEntry_, &QAction::triggered, this, &MainWindow::mnuFont);

    mnuMeas_ = menuBar()->addMenu(QString());
    connectEntry_ = addEntry(mnuMeas_, "mnuConnect");
    connect(connectEntry_, &QAction::triggered, this, &MainWindow::mnuConnect);
    serialPortItem_ = addEntry(mnuMeas_, "mnuSerialPort");
    connect(serialPortItem_, &QAction::triggered, this, &MainWindow::mnuSerialPortClick);

    mnuWindow_ = menuBar()->addMenu(QString());
    const std::pair<QAction**, const char*> arrangements[] = {{&cascadeEntry_, "mnuCascade"},
                                                              {&tileVerticalEntry_, "mnuTileVertical"},
                                                              {&tileHorizontalEntry_, "mnuTileHorizontal"},
                                                              {&arrangeIconsEntry_, "mnuArrangeIcons"}};
    for (int i = 0; i < 4; ++i) {
        *arrangements[i].first = addEntry(mnuWindow_, arrangements[i].second);
        connect(*arrangements[i].first, &QAction::triggered, this, [this, i] { arrange(i); });
    }
    mnuWindow_->addSeparator();
    windowList_ = new QMenu(mnuWindow_);
    windowList_->menuAction()->setObjectName(QStringLiteral("mnuWindowList"));
    mnuWindow_->addMenu(windowList_);
    connect(windowList_, &QMenu::aboutToShow, this, &MainWindow::fillWindowList);
    // F10 reaches the menu bar, as on other desktops.
    auto* toBar = new QAction(this);
    toBar->setShortcut(Qt::Key_F10);
    connect(toBar, &QAction::triggered, this, [this] {
        const QList<QAction*> menus = menuBar()->actions();
        for (QAction* menu : menus)
            if (menu->isVisible()) {
                menuBar()->setActiveAction(menu);
                return;
            }
    });
    addAction(toBar);
}

void MainWindow::ObjPropertys()
{
    EnterProcedure here("frmMain:ObjPropertys");
    applyDisplayFont();
    mnuFile_->menuAction()->setEnabled(true);
    closeEntry_->setEnabled(true);
    mnuDisp_->menuAction()->setEnabled(true);
    dataManagerEntry_->setEnabled(bool(openDataManager_));
    statusBarEntry_->setEnabled(true);
    mnuMeas_->menuAction()->setEnabled(true);
    // Connect is there whenever nothing runs and the instrument is not ready yet.
    connectEntry_->setEnabled(control_->connectAvailable());
    mnuWindow_->menuAction()->setEnabled(true);
    windowList_->menuAction()->setEnabled(true);
    for (QAction* arrangement : {cascadeEntry_, tileVerticalEntry_, tileHorizontalEntry_})
        arrangement->setEnabled(false);
    arrangeIconsEntry_->setVisible(false);

    mnuFile_->setTitle(GetRes(msg::MenuFile));
    closeEntry_->setText(GetRes(msg::MenuFileClose));
    mnuDisp_->setTitle(GetRes(msg::MenuDisplay));
    dataManagerEntry_->setText(GetRes(msg::MenuDataManager));
    statusBarEntry_->setText(GetRes(msg::MenuStatusBar));
    fontEntry_->setText(GetRes(msg::MenuFont));
    mnuMeas_->setTitle(GetRes(msg::MenuMeasurement));
    connectEntry_->setText(GetRes(msg::MenuConnect));
    serialPortItem_->setText(GetRes(msg::MenuSerialPort));
    mnuWindow_->setTitle(GetRes(msg::MenuWindow));
    cascadeEntry_->setText(GetRes(msg::MenuCascade));
    tileVerticalEntry_->setText(GetRes(msg::MenuTileVertical));
    tileHorizontalEntry_->setText(GetRes(msg::MenuTileHorizontal));
    arrangeIconsEntry_->setText(GetRes(msg::MenuArrangeIcons));
    windowList_->setTitle(GetRes(msg::MenuWindowList));
}

void MainWindow::setDataManagerOpener(std::function<void()> open)
{
    openDataManager_ = std::move(open);
    dataManagerEntry_->setEnabled(bool(openDataManager_));
}

void MainWindow::applyDisplayFont()
{
    QFont font = this->font();
    font.setFamily(SystemParam().DisplayFont.name);
    if (SystemParam().DisplayFont.size > 0)
        font.setPointSizeF(SystemParam().DisplayFont.size);
    tz4Status_->setFont(font);
    tz4TaskBar_->setFont(font);
}

void MainWindow::mnuConnect()
{
    EnterProcedure here("frmMain:mnuMeasItem_Click");
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    removalShown_ = false;
    control_->GetBodyStatus();
    QGuiApplication::restoreOverrideCursor();
}

void MainWindow::mnuSerialPortClick()
{
    SerialPortChoice choice(*control_, line_);
    SerialPortDialog dialog(choice, listSerialPorts, this);
    dialog.exec();
}

void MainWindow::mnuStatusBar()
{
    EnterProcedure here("frmMain:mnuDispItem_Click");
    coolBar1_->setVisible(statusBarEntry_->isChecked());
}

void MainWindow::mnuFont()
{
    EnterProcedure here("frmMain:mnuDispItem_Click");
    QFont font(SystemParam().DisplayFont.name);
    if (SystemParam().DisplayFont.size > 0)
        font.setPointSizeF(SystemParam().DisplayFont.size);
    const bool chosen = chooseFont_ ? chooseFont_(font) : [&] {
        bool ok = false;
        font = QFontDialog::getFont(&ok, font, this, QString(), QFontDialog::ScalableFonts);
        return ok;
    }();
    if (!chosen)
        return;
    SystemParam().DisplayFont = {font.family(), font.pointSizeF()};
    applyDisplayFont();
}

void MainWindow::arrange(int index)
{
    EnterProcedure here("frmMain:mnuWindowItem_Click");
    const auto arrangement = Arrangement(index);
    const QRect area = mdi_->viewport()->rect();
    if (arrangement == Arrangement::Cascade) {
        // Every window stays large enough to work in, with its title bar in view.
        QList<QMdiSubWindow*> windows;
        for (QMdiSubWindow* window : mdi_->subWindowList())
            if (window->isVisible() && !window->isMinimized())
                windows << window;
        const QList<QRect> places
            = cascadeRects(area, int(windows.size()), mdi_->style()->pixelMetric(QStyle::PM_TitleBarHeight));
        for (qsizetype i = 0; i < windows.size(); ++i) {
            if (windows[i]->isMaximized())
                windows[i]->showNormal();
            windows[i]->setGeometry(places[i]);
            windows[i]->raise();
        }
        return;
    }
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        const bool minimised = window->isMinimized();
        if (window->isVisible() && minimised == (arrangement == Arrangement::ArrangeIcons))
            windows << window;
    }
    if (arrangement == Arrangement::ArrangeIcons) {
        QList<QSize> sizes;
        for (const QMdiSubWindow* window : windows)
            sizes << window->size();
        const QList<QRect> places = iconRects(area, sizes);
        for (qsizetype i = 0; i < windows.size(); ++i)
            windows[i]->move(places[i].topLeft());
        return;
    }
    const QList<QRect> places = stripRects(area, int(windows.size()), arrangement);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(places[i]);
    }
}

void MainWindow::mergeChildMenus(QWidget* child)
{
    if (child == menuChild_)
        return;
    unmergeChildMenus();
    auto* provider = dynamic_cast<ChildMenus*>(child);
    if (!provider)
        return;
    menuChild_ = child;
    provider->setMenusInFrame(true);
    for (QMenu* menu : provider->childMenus()) {
        QMenu* same = nullptr;
        for (QMenu* own : {mnuFile_, mnuDisp_, mnuMeas_, mnuWindow_})
            if (own->title() == menu->title())
                same = own;
        if (!same) {
            menuBar()->insertMenu(mnuWindow_->menuAction(), menu);
            merged_.append({nullptr, {}, menu});
            continue;
        }
        // The child's entries come first, the frame's own after a separator.
        MergedMenu into{same, {}, nullptr};
        QAction* before = same->actions().value(0);
        for (QAction* action : menu->actions()) {
            same->insertAction(before, action);
            into.added << action;
        }
        into.added << same->insertSeparator(before);
        merged_.append(into);
    }
}

void MainWindow::unmergeChildMenus()
{
    for (const MergedMenu& menu : merged_) {
        if (menu.standing)
            menuBar()->removeAction(menu.standing->menuAction());
        if (!menu.into)
            continue;
        for (const QPointer<QAction>& action : menu.added) {
            if (!action)
                continue;
            menu.into->removeAction(action);
            // The separator was the frame's own.
            if (action->isSeparator() && action->parent() == menu.into)
                delete action;
        }
    }
    merged_.clear();
    if (auto* provider = dynamic_cast<ChildMenus*>(menuChild_.data()))
        provider->setMenusInFrame(false);
    menuChild_ = nullptr;
}

void MainWindow::fillWindowList()
{
    windowList_->clear();
    const QMdiSubWindow* active = mdi_->activeSubWindow();
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        if (window->isHidden())
            continue;
        QAction* entry = windowList_->addAction(window->windowTitle());
        entry->setCheckable(true);
        entry->setChecked(window == active);
        connect(entry, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
            if (!window)
                return;
            if (window->isMinimized())
                window->showNormal();
            mdi_->setActiveSubWindow(window);
        });
    }
}

} // namespace tz4::gui
