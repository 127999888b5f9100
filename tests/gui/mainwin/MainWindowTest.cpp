#include "tests/gui/mainwin/MainWindowFixture.h"

#include "core/MessageIds.h"
#include "gui/widgets/QtTranslations.h"
#include "graph/GraphColor.h"
#include "instrument/QtSerialLine.h"
#include "instrument/Tz4Body.h"
#include "mainwin/StatusBar.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QMessageBox>
#include <QTranslator>
#include <QFile>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>

namespace tz4::test {

namespace {

QWidget* child(const QString& title)
{
    auto* widget = new QWidget;
    widget->setWindowTitle(title);
    widget->resize(220, 140);
    return widget;
}

// A window that must finish something before it may close.
class BusyWindow final : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

QList<QToolButton*> shownButtons(const gui::uclTz4TaskBar& bar)
{
    QList<QToolButton*> shown;
    for (int i = 0; i < TaskList::SlotCount; ++i)
        if (bar.button(i)->isVisible())
            shown << bar.button(i);
    return shown;
}

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST_F(FrameFixture, ConnectFromTheMeasurementMenuShowsEachPhaseAndEndsReady)
{
    open();
    QSignalSpy phases(&frame->control(), &MainControl::connectPhaseChanged);
    choose(frame->mnuMeas(), frame->entry(QStringLiteral("mnuConnect")));

    QList<int> seen;
    for (const QList<QVariant>& change : phases)
        seen << change.at(0).toInt();
    EXPECT_EQ(seen, (QList<int>{MainControl::Initialized, MainControl::LightReady, MainControl::SettingAnode,
                                MainControl::Ready}));
    ASSERT_FALSE(reporter.shown.isEmpty());
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("TZ-4 Initialize Finished"));
    EXPECT_EQ(reporter.shown.last().title, QStringLiteral("TZ-4 Ready"));
    EXPECT_EQ(frame->tz4Status().Locked(), 0);
    // The entry stays off after its own use; the frame gives it back when it is activated again.
    EXPECT_FALSE(frame->entry(QStringLiteral("mnuConnect"))->isEnabled());
    const QString log = readFile(fileIn(QStringLiteral("TZ4Serial.Log")));
    EXPECT_TRUE(log.contains(QStringLiteral("TZ-4 Connect Process Sequence Successfull (Body Initialize)")));
    EXPECT_TRUE(log.contains(QStringLiteral("TZ-4 Connect Process Sequence (Hv Volt Set Process)")));
}

TEST_F(FrameFixture, AColdInstrumentCountsItsWarmUpDownOnTheStatusBarInVirtualTime)
{
    sim::SimOptions cold;
    cold.cold = true;
    open(cold);
    choose(frame->mnuMeas(), frame->entry(QStringLiteral("mnuConnect")));
    ASSERT_EQ(frame->control().ConnectPhase(), MainControl::WarmingUp);
    ASSERT_FALSE(reporter.shown.isEmpty());
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("Now Warming Up.\r\nWait30minutes."));
    EXPECT_EQ(reporter.shown.last().title, QStringLiteral("Now Warming Up"));
    gui::uclTz4DataBar& bar = frame->tz4Status();
    EXPECT_EQ(bar.Caption(), QStringLiteral("Now Warming Up"));

    clock.advance(15 * 60 * 1000);
    EXPECT_EQ(bar.Max(), 1800);
    EXPECT_NEAR(bar.Value(), 900, 2);
    const QString tip = GetRes(msg::WarmUpMinutesLeft, {QStringLiteral("15")});
    EXPECT_EQ(bar.toolTip(), tip);
    EXPECT_EQ(frame->coolBar()->toolTip(), tip);
    // Half the bar is filled: its colour at a quarter of the width, the background at three quarters.
    const QImage picture = bar.grab().toImage();
    const QColor filled = colorFromBgr(qint32(bar.BarColor()));
    EXPECT_EQ(picture.pixelColor(picture.width() / 4, 4), filled);
    EXPECT_NE(picture.pixelColor(picture.width() * 3 / 4, 4), filled);

    clock.advance(16 * 60 * 1000);
    EXPECT_EQ(bar.BarColor(), basicColour(4));
    EXPECT_TRUE(bar.toolTip().isEmpty());
    EXPECT_TRUE(frame->coolBar()->toolTip().isEmpty());
    EXPECT_EQ(frame->control().ConnectPhase(), MainControl::WarmingUp);

    // Back on the frame, Connect continues where the warm-up stopped.
    frame->ObjPropertys();
    ASSERT_TRUE(frame->entry(QStringLiteral("mnuConnect"))->isEnabled());
    choose(frame->mnuMeas(), frame->entry(QStringLiteral("mnuConnect")));
    EXPECT_EQ(frame->control().ConnectPhase(), MainControl::Ready);
}

TEST_F(FrameFixture, TheTaskBarShowsOneEqualButtonPerWindowAndAClickBringsItsWindowBack)
{
    open();
    QMdiSubWindow* first = frame->addChildWindow(child(QStringLiteral("First")));
    frame->addChildWindow(child(QStringLiteral("Second")));
    QMdiSubWindow* third = frame->addChildWindow(child(QStringLiteral("Third")));
    gui::uclTz4TaskBar& bar = frame->tz4TaskBar();

    const QList<QToolButton*> buttons = shownButtons(bar);
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("First"));
    EXPECT_EQ(buttons[2]->text(), QStringLiteral("Third"));
    for (QToolButton* button : buttons)
        EXPECT_EQ(button->width(), bar.width() / 3 + 1);
    EXPECT_EQ(buttons[1]->x(), buttons[0]->geometry().right() + 1);
    EXPECT_TRUE(buttons[2]->isChecked());
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), third);

    first->showMinimized();
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), first);
    EXPECT_FALSE(first->isMinimized());
    EXPECT_TRUE(buttons[0]->isChecked());
    EXPECT_FALSE(buttons[2]->isChecked());

    // A window registered again only gets its button selected.
    EXPECT_EQ(bar.tasks().AddTask(third, QStringLiteral("Third")), 2);
    EXPECT_EQ(shownButtons(bar).size(), 3);
    EXPECT_TRUE(buttons[2]->isChecked());
}

TEST_F(FrameFixture, TwentyWindowsFillTheTaskBarTheTwentyFirstGetsNoButtonAndClosingAllEmptiesIt)
{
    open();
    for (int i = 1; i <= 21; ++i)
        frame->addChildWindow(child(QStringLiteral("Window %1").arg(i)));
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 21);
    const QList<QToolButton*> buttons = shownButtons(frame->tz4TaskBar());
    ASSERT_EQ(buttons.size(), 20);
    EXPECT_EQ(buttons.last()->text(), QStringLiteral("Window 20"));

    frame->mdiArea()->closeAllSubWindows();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownButtons(frame->tz4TaskBar()).isEmpty(); }));
    EXPECT_TRUE(frame->tz4TaskBar().tasks().occupiedSlots().isEmpty());
}

TEST_F(FrameFixture, TheWindowMenuArrangesTheWindowsAndListsThemWithTheActiveOneChecked)
{
    open();
    EXPECT_FALSE(frame->entry(QStringLiteral("mnuCascade"))->isEnabled());
    EXPECT_FALSE(frame->entry(QStringLiteral("mnuArrangeIcons"))->isVisible());
    QMdiSubWindow* first = frame->addChildWindow(child(QStringLiteral("First")));
    QMdiSubWindow* second = frame->addChildWindow(child(QStringLiteral("Second")));
    ASSERT_TRUE(frame->entry(QStringLiteral("mnuTileVertical"))->isEnabled());
    const QRect area = frame->mdiArea()->viewport()->rect();

    choose(frame->mnuWindow(), frame->entry(QStringLiteral("mnuTileVertical")));
    EXPECT_EQ(first->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    EXPECT_EQ(second->y(), area.height() / 2);
    EXPECT_EQ(second->width(), area.width());

    choose(frame->mnuWindow(), frame->entry(QStringLiteral("mnuTileHorizontal")));
    EXPECT_EQ(first->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(second->x(), area.width() / 2);
    EXPECT_EQ(second->height(), area.height());

    choose(frame->mnuWindow(), frame->entry(QStringLiteral("mnuWindowList")));
    QMenu* list = frame->entry(QStringLiteral("mnuWindowList"))->menu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }));
    const QList<QAction*> entries = list->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("First"));
    EXPECT_FALSE(entries[0]->isChecked());
    EXPECT_TRUE(entries[1]->isChecked());
    QTest::mouseClick(list, Qt::LeftButton, {}, list->actionGeometry(entries[0]).center());
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), first);
}

TEST_F(FrameFixture, TheStatusBarEntryHidesAndShowsTheToolStrip)
{
    open();
    choose(frame->mnuDisp(), frame->entry(QStringLiteral("mnuStatusBar")));
    EXPECT_FALSE(frame->coolBar()->isVisible());
    EXPECT_FALSE(frame->entry(QStringLiteral("mnuStatusBar"))->isChecked());
    choose(frame->mnuDisp(), frame->entry(QStringLiteral("mnuStatusBar")));
    EXPECT_TRUE(frame->coolBar()->isVisible());
}

TEST_F(FrameFixture, ClosingWithThePortOpenClosesItAndLeavesTheSettingsFileAlone)
{
    open();
    choose(frame->mnuMeas(), frame->entry(QStringLiteral("mnuConnect")));
    ASSERT_TRUE(frame->control().body().PortOpen());
    QPointer<QMdiSubWindow> window = frame->addChildWindow(child(QStringLiteral("Child")));

    choose(frame->mnuFile(), frame->entry(QStringLiteral("mnuFileClose")));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(frame->control().body().PortOpen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
    EXPECT_FALSE(QFile::exists(fileIn(QStringLiteral("TZ4Sys.ini"))));
}

TEST_F(FrameFixture, ClosingUnconnectedWritesTheSettingsFileWithTheFontChosenInTheDialog)
{
    open();
    frame->setFontChooser([](QFont& font) {
        font = QFont(QStringLiteral("DejaVu Serif"), 11);
        return true;
    });
    choose(frame->mnuDisp(), frame->entry(QStringLiteral("mnuFont")));
    EXPECT_EQ(frame->tz4Status().font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(frame->tz4TaskBar().font().pointSizeF(), 11);

    choose(frame->mnuFile(), frame->entry(QStringLiteral("mnuFileClose")));
    EXPECT_FALSE(frame->isVisible());
    const QString settings = readFile(fileIn(QStringLiteral("TZ4Sys.ini")));
    EXPECT_TRUE(settings.contains(QStringLiteral("DejaVu Serif")));
    EXPECT_TRUE(QFile::exists(fileIn(gui::WindowState::fileName())));
}

TEST_F(FrameFixture, AWindowThatMustFinishFirstKeepsTheFrameOpenAndTheSettingsUnwritten)
{
    open();
    frame->addChildWindow(new BusyWindow);
    choose(frame->mnuFile(), frame->entry(QStringLiteral("mnuFileClose")));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(QFile::exists(fileIn(QStringLiteral("TZ4Sys.ini"))));
}

TEST_F(FrameFixture, InJapaneseTheMenusAreJapaneseAndKeepTheirMnemonics)
{
    setLanguage(Language::Japanese);
    open();
    EXPECT_EQ(frame->mnuFile()->title(), messageText(msg::MenuFile, Language::Japanese));
    EXPECT_EQ(frame->entry(QStringLiteral("mnuConnect"))->text(), messageText(msg::MenuConnect, Language::Japanese));
    EXPECT_EQ(frame->entry(QStringLiteral("mnuTileVertical"))->text(), messageText(msg::MenuTileVertical, Language::Japanese));
    EXPECT_NE(frame->mnuDisp()->title(), messageText(msg::MenuDisplay, Language::English));
    // A font with Japanese glyphs is installed, so the texts are drawn, not boxes.
    EXPECT_FALSE(QFontDatabase::families(QFontDatabase::Japanese).isEmpty());

    QTest::keyClick(frame.get(), Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->mnuMeas()->isVisible(); }));
    QTest::keyClick(frame->mnuMeas(), Qt::Key_N);
    EXPECT_EQ(frame->control().ConnectPhase(), MainControl::Ready);
    EXPECT_EQ(reporter.shown.last().title, messageText(msg::ReadyTitle, Language::Japanese));
}

TEST_F(FrameFixture, AnUnpluggedSerialDeviceIsWarnedAboutOnce)
{
    QProcess simulator;
    simulator.start(QStringLiteral(TZ4_BINARY_DIR "/app/tz4-sim"), {QStringLiteral("--sim-speed"), QStringLiteral("200")});
    ASSERT_TRUE(simulator.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return simulator.canReadLine(); }, 10000));
    const QString device = QString::fromUtf8(simulator.readLine()).trimmed();
    QtSerialLine serial(device);
    frame = std::make_unique<gui::MainWindow>(clock, serial);
    frame->show();
    ASSERT_TRUE(serial.open());

    simulator.kill();
    simulator.waitForFinished();
    // The loss shows at the next exchange, such as the warm-up timer's poll once a second.
    serial.write("RT\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reporter.shown.isEmpty(); }, 10000));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("Trouble with \"Plug and Play\""));
    EXPECT_EQ(reporter.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(reporter.shown[0].text.startsWith(QStringLiteral("Serial port setting is going to change.")));
    EXPECT_TRUE(reporter.shown[0].text.endsWith(QStringLiteral("\r\nThe serial port %1 was removed or closed.").arg(device)))
        << reporter.shown[0].text.toStdString();
    frame.reset();
}

TEST_F(FrameFixture, AJapaneseInterfaceSpeaksJapaneseDownToQtsOwnButtonsAndTheFirstCaption)
{
    setLanguage(Language::Japanese);
    ASSERT_TRUE(gui::installQtTranslations()) << "qtbase_ja from qt6-translations-l10n";
    open();
    EXPECT_EQ(frame->tz4Status().Caption(), QStringLiteral("システム初期化"));
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("はい(Y)"));
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
}

} // namespace tz4::test
