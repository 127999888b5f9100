#include "tests/gui/mainwin/MainWindowFixture.h"

#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/DatabaseSetup.h"
#include "data/FolderContents.h"
#include "data/Tz4DataSet.h"
#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"
#include "gui/datawin/DataWindow.h"
#include "gui/datawin/DataWindowOpener.h"
#include "gui/mainwin/TerminationSignals.h"
#include "gui/print/PrintWindow.h"
#include "gui/print/PrintWindowOpener.h"
#include "print/PrintControl.h"
#include "gui/widgets/MessageBoxReporter.h"
#include "instrument/Tz4Body.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTimer>
#include <QToolButton>

#include <csignal>

namespace tz4::test {
namespace {

// The frame with data windows in it, measuring on the simulator: how windows, the frame and
// the program end while a scan runs.
class FrameMeasurement : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        ASSERT_TRUE(createDatabaseIfMissing(home.path()));
        InitSystemParam();
    }

    void connectFromMenu()
    {
        choose(frame->mnuMeas(), frame->entry(QStringLiteral("mnuConnect")));
        ASSERT_EQ(frame->control().ConnectPhase(), MainControl::Ready);
    }

    // A new W record in a window of the frame, set up for a short scan.
    gui::DataWindow* newScanWindow(MainControl& main, const std::function<void(QWidget*)>& add)
    {
        const QList<gui::DataWindow*> opened = gui::openDataWindows(SystemParam().DatabasePath, {QStringLiteral("0 W")}, &main, add);
        if (opened.size() != 1)
            return nullptr;
        clsTz4DataSet& record = *opened[0]->control().selected();
        record.setParameters(param::SampleName, QStringLiteral("Gold"));
        record.setParameters(param::StartEnergy, 5.0f);
        record.setParameters(param::FinishEnergy, 5.5f);
        record.setParameters(param::EnergyStep, 0.1f);
        record.setParameters(param::CountingTime, 2);
        record.setParameters(param::MeasuredLight, record.Parameters(param::TargetLight));
        return opened[0];
    }

    gui::DataWindow* newScanWindow()
    {
        return newScanWindow(frame->control(), [this](QWidget* child) { frame->addChildWindow(child); });
    }

    // Runs `during` once the scan has measured two points.
    static void atSecondPoint(gui::DataWindow* window, const std::function<void()>& during)
    {
        QObject::connect(&window->control(), &DataWindowControl::pointAdded, window, [during](int row) {
            if (row == 1)
                during();
        });
    }

    bool nothingStored() const { return folderEntries(SystemParam().DatabasePath, 0).isEmpty(); }
};

TEST_F(FrameMeasurement, ClosingADataWindowMidScanCancelsItAndLeavesNoEmptyWindowBehind)
{
    open();
    connectFromMenu();
    QPointer<gui::DataWindow> window = newScanWindow();
    ASSERT_TRUE(window);
    QPointer<QMdiSubWindow> sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    ASSERT_TRUE(sub);
    atSecondPoint(window, [&] { sub->close(); });
    window->measurementAction(MeasurementControl::MeasMeasure)->trigger();

    QTRY_VERIFY(sub.isNull());
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(frame->tz4TaskBar().tasks().occupiedSlots().isEmpty());
    EXPECT_TRUE(nothingStored());
    EXPECT_EQ(frame->control().status().Locked(), 0);
}

TEST_F(FrameMeasurement, ClosingTheFrameMidScanCancelsItThenClosesEverything)
{
    open();
    connectFromMenu();
    QPointer<gui::DataWindow> window = newScanWindow();
    ASSERT_TRUE(window);
    bool closedAtOnce = true;
    atSecondPoint(window, [&] { closedAtOnce = frame->close(); });
    window->measurementAction(MeasurementControl::MeasMeasure)->trigger();

    EXPECT_FALSE(closedAtOnce) << "the frame waits for the scan to stop";
    QTRY_VERIFY(!frame->isVisible());
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(nothingStored());
    EXPECT_TRUE(frame->control().body().Canceled());
}

TEST_F(FrameMeasurement, ConnectCanBeTriedAgainAfterAFailureWhileADataWindowIsActive)
{
    sim::SimOptions silent;
    silent.faults = {QStringLiteral("no-reply")};
    open(silent);
    QAction* connect = frame->entry(QStringLiteral("mnuConnect"));
    choose(frame->mnuMeas(), connect);
    ASSERT_EQ(frame->control().ConnectPhase(), MainControl::NotConnected);
    EXPECT_EQ(reporter.shown.last().text.section(QStringLiteral("\r\n"), 0, 0), text(msg::CannotCommunicate));

    ASSERT_NE(newScanWindow(), nullptr);
    ASSERT_NE(frame->mdiArea()->activeSubWindow(), nullptr);
    EXPECT_TRUE(connect->isEnabled());
    line->simulator().faults().clear();
    choose(frame->mnuMeas(), connect);
    EXPECT_EQ(frame->control().ConnectPhase(), MainControl::Ready);
    EXPECT_FALSE(connect->isEnabled()) << "nothing left to connect";
}

TEST_F(FrameMeasurement, AClosedWindowLeavesNoButtonOnTheTaskBar)
{
    open();
    QWidget* first = new QWidget;
    first->setWindowTitle(QStringLiteral("First"));
    QWidget* second = new QWidget;
    second->setWindowTitle(QStringLiteral("Second"));
    QPointer<QMdiSubWindow> firstSub = frame->addChildWindow(first);
    frame->addChildWindow(second);
    firstSub->close();
    QTRY_VERIFY(firstSub.isNull());
    const TaskList& tasks = frame->tz4TaskBar().tasks();
    EXPECT_EQ(tasks.occupiedSlots(), QList<int>{1});
    int shown = 0;
    for (int i = 0; i < TaskList::SlotCount; ++i)
        shown += frame->tz4TaskBar().button(i)->isVisible();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(frame->tz4TaskBar().button(1)->accessibleName(), QStringLiteral("Second"));
}

TEST_F(FrameMeasurement, TheActiveDataWindowsMenusStandInTheFramesMenuBar)
{
    open();
    connectFromMenu();
    QPointer<gui::DataWindow> window = newScanWindow();
    ASSERT_TRUE(window);
    QTRY_VERIFY(frame->mdiArea()->activeSubWindow() != nullptr);
    EXPECT_FALSE(window->findChild<QMenuBar*>()->isVisible()) << "the window's own bar gives way to the frame's";

    // Alt+M opens one Measurement menu: the window's entries, then the frame's Connect.
    QTest::keyClick(frame.get(), Qt::Key_M, Qt::AltModifier);
    QTRY_VERIFY(frame->mnuMeas()->isVisible());
    const QList<QAction*> entries = frame->mnuMeas()->actions();
    EXPECT_TRUE(entries.contains(window->entry(QStringLiteral("mnuMeasure"))));
    EXPECT_TRUE(entries.contains(frame->entry(QStringLiteral("mnuConnect"))));
    EXPECT_LT(entries.indexOf(window->entry(QStringLiteral("mnuMeasure"))), entries.indexOf(frame->entry(QStringLiteral("mnuConnect"))));
    QTest::keyClick(frame->mnuMeas(), Qt::Key_Escape);
    // The Edit menu, which the frame has not, stands before Window.
    const QList<QAction*> bar = frame->menuBar()->actions();
    EXPECT_EQ(bar.indexOf(window->editMenu()->menuAction()) + 1, bar.indexOf(frame->mnuWindow()->menuAction()));
    EXPECT_TRUE(frame->mnuFile()->actions().contains(window->entry(QStringLiteral("mnuSaveData"))));

    // The window gone, its entries and the Edit menu go with it.
    window->entry(QStringLiteral("mnuClose"))->trigger();
    QTRY_VERIFY(window.isNull());
    EXPECT_EQ(frame->menuBar()->actions().size(), 4);
    EXPECT_EQ(frame->mnuMeas()->actions().size(), 2) << "Connect and Serial Port";
    EXPECT_EQ(frame->mnuFile()->actions().size(), 1);
}

TEST_F(FrameMeasurement, AMeasurementOnceStoredIsPrintedFromItsWindowInAPrintWindowOfTheFrame)
{
    open();
    gui::DataWindow::setPrintOpener([this](const QStringList& keys) { gui::openPrintWindow(*frame, keys); });
    const auto forget = qScopeGuard([] { gui::DataWindow::setPrintOpener({}); });
    connectFromMenu();
    QPointer<gui::DataWindow> window = newScanWindow();
    ASSERT_TRUE(window);
    QAction* print = window->entry(QStringLiteral("mnuPrint"));
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->text(), text(msg::PrintMenu));
    EXPECT_FALSE(print->isEnabled()) << "nothing is stored to print yet";

    window->measurementAction(MeasurementControl::MeasMeasure)->trigger();
    ASSERT_EQ(window->control().selected()->Key(), QStringLiteral("1 W"));
    QTRY_VERIFY(print->isEnabled());

    // Chosen from the frame's File menu, where the active window's entries stand.
    QTRY_VERIFY(frame->mdiArea()->activeSubWindow() != nullptr);
    choose(frame->mnuFile(), print);
    gui::PrintWindow* printing = nullptr;
    QTRY_VERIFY((printing = frame->findChild<gui::PrintWindow*>()) != nullptr);
    EXPECT_TRUE(printing->hasRecords());
    EXPECT_EQ(printing->control().records().Item(1)->Key(), QStringLiteral("1 W"));
    QTRY_COMPARE(frame->mdiArea()->activeSubWindow()->widget(), static_cast<QWidget*>(printing));
    // Its Print menu stands in the frame's bar while it is active.
    EXPECT_TRUE(frame->menuBar()->actions().contains(printing->menus().at(1)->menuAction()));
}

TEST_F(FrameMeasurement, ADataWindowFillsTheAreaAloneAndComesBackWhereItWasLeft)
{
    open();
    QPointer<gui::DataWindow> window = newScanWindow();
    ASSERT_TRUE(window);
    QPointer<QMdiSubWindow> sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    EXPECT_EQ(sub->geometry(), frame->mdiArea()->viewport()->rect());

    const QRect moved(30, 20, 500, 360);
    sub->setGeometry(moved);
    sub->close();
    QTRY_VERIFY(sub.isNull());
    window = newScanWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->parentWidget()->geometry(), moved) << "the window kind's place is remembered";
}

// A stop signal mid-scan takes the cancel's safe way out and ends the program by itself:
// real message boxes are up, and none of them may wait for a click.
TEST_F(FrameMeasurement, AStopSignalMidScanEndsTheProgramWithoutWaitingForAClick)
{
    RealClock realClock;
    sim::SimOptions fast;
    fast.speed = 400;
    sim::SimulatorLine fastLine(realClock, fast);
    auto fastFrame = std::make_unique<gui::MainWindow>(realClock, fastLine);
    fastFrame->show();
    ASSERT_EQ(fastFrame->control().GetBodyStatus(), MainControl::Ready);
    gui::DataWindow* window
        = newScanWindow(fastFrame->control(), [&](QWidget* child) { fastFrame->addChildWindow(child); });
    ASSERT_NE(window, nullptr);

    gui::MessageBoxReporter boxes;
    setErrorReporter(&boxes);
    gui::TerminationSignals stopping;
    stopping.watch(&fastFrame->control());
    atSecondPoint(window, [] { std::raise(SIGTERM); });
    QTimer::singleShot(0, window, [window] { window->measurementAction(MeasurementControl::MeasMeasure)->trigger(); });
    // Only a box left waiting would let this one end the loop.
    QTimer::singleShot(60000, [] { QApplication::exit(-1); });
    const int exitCode = QApplication::exec();
    setErrorReporter(&reporter);

    EXPECT_EQ(exitCode, 143);
    EXPECT_FALSE(fastFrame->isVisible());
    EXPECT_TRUE(nothingStored());
    EXPECT_FALSE(fastFrame->control().action().running());
}

} // namespace
} // namespace tz4::test
