#include "gui/mainwin/MainWindow.h"

#include "gui/mainwin/SerialPortDialog.h"
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
#include <QToolBar>

namespace tz4::gui {

void MainWindow::createMenus()
{
    mnuFile_ = menuBar()->addMenu(QString());
    fileItems_[0] = mnuFile_->addAction(QString(), this, &QWidget::close);
    fileItems_[0]->setShortcut(QKeySequence::Quit);

    mnuDisp_ = menuBar()->addMenu(QString());
    dispItems_[0] = mnuDisp_->addAction(QString(), this, [this] {
        if (openDataManager_)
            openDataManager_();
    });
    dispItems_[1] = mnuDisp_->addSeparator();
    dispItems_[2] = mnuDisp_->addAction(QString(), this, &MainWindow::mnuStatusBar);
    dispItems_[2]->setCheckable(true);
    dispItems_[2]->setChecked(true);
    dispItems_[3] = mnuDisp_->addSeparator();
    dispItems_[4] = mnuDisp_->addAction(QString(), this, &MainWindow::mnuFont);

    mnuMeas_ = menuBar()->addMenu(QString());
    measItems_[0] = mnuMeas_->addAction(QString(), this, &MainWindow::mnuConnect);
    serialPortItem_ = mnuMeas_->addAction(QString(), this, &MainWindow::mnuSerialPortClick);
    serialPortItem_->setObjectName(QStringLiteral("mnuSerialPort"));

    mnuWindow_ = menuBar()->addMenu(QString());
    for (int i = 0; i < 4; ++i)
        windowItems_[size_t(i)] = mnuWindow_->addAction(QString(), this, [this, i] { arrange(i); });
    windowItems_[4] = mnuWindow_->addSeparator();
    windowList_ = new QMenu(mnuWindow_);
    windowItems_[5] = mnuWindow_->addMenu(windowList_);
    connect(windowList_, &QMenu::aboutToShow, this, &MainWindow::fillWindowList);
}

void MainWindow::ObjPropertys()
{
    EnterProcedure here("frmMain:ObjPropertys");
    applyDisplayFont();
    mnuFile_->menuAction()->setEnabled(true);
    fileItems_[0]->setEnabled(true);
    mnuDisp_->menuAction()->setEnabled(true);
    dispItems_[0]->setEnabled(bool(openDataManager_));
    dispItems_[2]->setEnabled(true);
    mnuMeas_->menuAction()->setEnabled(true);
    // Connect is there whenever nothing runs and the instrument is not ready yet.
    measItems_[0]->setEnabled(control_->connectAvailable());
    mnuWindow_->menuAction()->setEnabled(true);
    windowItems_[5]->setEnabled(true);
    for (int i = 0; i < 3; ++i)
        windowItems_[size_t(i)]->setEnabled(false);
    windowItems_[3]->setVisible(false);

    mnuFile_->setTitle(GetRes(msg::MenuFile));
    fileItems_[0]->setText(GetRes(msg::MenuFileClose));
    mnuDisp_->setTitle(GetRes(msg::MenuDisplay));
    dispItems_[0]->setText(GetRes(msg::MenuDataManager));
    dispItems_[2]->setText(GetRes(msg::MenuStatusBar));
    dispItems_[4]->setText(GetRes(msg::MenuFont));
    mnuMeas_->setTitle(GetRes(msg::MenuMeasurement));
    measItems_[0]->setText(GetRes(msg::MenuConnect));
    serialPortItem_->setText(GetRes(msg::MenuSerialPort));
    mnuWindow_->setTitle(GetRes(msg::MenuWindow));
    windowItems_[0]->setText(GetRes(msg::MenuCascade));
    windowItems_[1]->setText(GetRes(msg::MenuTileVertical));
    windowItems_[2]->setText(GetRes(msg::MenuTileHorizontal));
    windowItems_[3]->setText(GetRes(msg::MenuArrangeIcons));
    windowList_->setTitle(GetRes(msg::MenuWindowList));
}

void MainWindow::setDataManagerOpener(std::function<void()> open)
{
    openDataManager_ = std::move(open);
    dispItems_[0]->setEnabled(bool(openDataManager_));
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
    coolBar1_->setVisible(dispItems_[2]->isChecked());
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
    if (arrangement == Arrangement::Cascade) {
        mdi_->cascadeSubWindows();
        return;
    }
    const QRect area = mdi_->viewport()->rect();
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
