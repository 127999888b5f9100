#include "tests/support/ModelWatch.h"
#include "tests/gui/mainwin/MainWindowFixture.h"

#include "core/MessageIds.h"
#include "core/PortChoice.h"
#include "gui/mainwin/SerialPortDialog.h"
#include "instrument/QtSerialLine.h"
#include "instrument/Tz4Body.h"
#include "mainwin/SerialPortChoice.h"
#include "mainwin/StatusBar.h"
#include "tests/support/SimulatorPty.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace tz4::test {

namespace {

QString readFileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

SerialPortEntry usbAdapter()
{
    return {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
            QStringLiteral("A50285BI"), quint16(0x0403), quint16(0x6001)};
}

SerialPortEntry builtInPort()
{
    return {QStringLiteral("/dev/ttyS0"), QString(), QString(), QString(), std::nullopt, std::nullopt};
}

// The frame on a real serial line in real time, with the dialog built over a fixed port list.
class SerialPortFixture : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        setPortSource(PortSource::SettingsFile);
    }

    void TearDown() override
    {
        dialog.reset();
        choice.reset();
        frame.reset();
        serial.reset();
        FrameFixture::TearDown();
    }

    void openOn(const QString& device)
    {
        serial = std::make_unique<QtSerialLine>(device);
        frame = std::make_unique<gui::MainWindow>(realClock, *serial);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        showDialog();
    }

    void showDialog(QList<SerialPortEntry> ports = {usbAdapter(), builtInPort()})
    {
        models.clear();
        dialog.reset();
        choice = std::make_unique<SerialPortChoice>(frame->control(), *serial);
        dialog = std::make_unique<gui::SerialPortDialog>(*choice, [ports] { return ports; }, frame.get());
        models.watch(dialog->portTable()->model());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void clickRow(int row)
    {
        QTableView* table = dialog->portTable();
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }

    void type(const QString& text)
    {
        QLineEdit* edit = dialog->devicePath();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    void pressOk() { QTest::keyClick(dialog->devicePath(), Qt::Key_Return); }

    RealClock realClock;
    std::unique_ptr<QtSerialLine> serial;
    std::unique_ptr<SerialPortChoice> choice;
    std::unique_ptr<gui::SerialPortDialog> dialog;
    ModelWatch models; // after the dialog: stops watching before the model goes
};

} // namespace

TEST_F(SerialPortFixture, ListsThePortsWithTheirUsbIdentityAndAClickedRowBecomesThePath)
{
    openOn(QStringLiteral("/dev/ttyS0"));
    QTableView* table = dialog->portTable();
    ASSERT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(table->model()->headerData(SerialPortModel::UsbId, Qt::Horizontal).toString(),
              QStringLiteral("USB Vendor:Product"));
    EXPECT_EQ(table->model()->index(0, SerialPortModel::Description).data().toString(),
              QStringLiteral("FT232R USB UART"));
    EXPECT_EQ(table->model()->index(0, SerialPortModel::UsbId).data().toString(), QStringLiteral("0403:6001"));
    EXPECT_EQ(table->model()->index(1, SerialPortModel::UsbId).data().toString(), QString());
    EXPECT_FALSE(dialog->emptyNote()->isVisible());
    // The port in use stands selected, but nothing is chosen yet: the settings file decides.
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(table->selectionModel()->selectedRows().first().row(), 1);
    EXPECT_TRUE(dialog->devicePath()->text().isEmpty());
    EXPECT_EQ(dialog->devicePath()->placeholderText(), QStringLiteral("Empty: the port of the settings file (/dev/ttyS0)"));
    EXPECT_EQ(dialog->currentNote()->text(), QStringLiteral("Now: /dev/ttyS0, from the settings file TZ4Sys.ini"));

    clickRow(0);
    EXPECT_EQ(dialog->devicePath()->text(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(dialog->devicePath()->accessibleName(), QStringLiteral("Device path"));
    EXPECT_EQ(table->accessibleName(), QStringLiteral("Serial ports of this computer"));
}

TEST_F(SerialPortFixture, ATypedPathIsKeptInTheProgramsOwnFileAndTheNextConnectUsesIt)
{
    SimulatorPty simulator;
    ASSERT_FALSE(simulator.path().isEmpty());
    openOn(QStringLiteral("/dev/tz4-no-such-port"));
    type(simulator.path());
    pressOk();
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(serial->description(), simulator.path());
    EXPECT_EQ(chosenSerialDevice(), simulator.path());
    EXPECT_FALSE(QFile::exists(fileIn(QStringLiteral("TZ4Sys.ini"))));
    EXPECT_TRUE(readFileText(fileIn(QStringLiteral("TZ4Window.ini"))).contains(simulator.path()));

    choose(frame->mnuMeas(), frame->entry(QStringLiteral("mnuConnect")));
    EXPECT_EQ(frame->control().ConnectPhase(), MainControl::Ready);

    // The same port again keeps the connection; another closes it, so Connect starts afresh.
    showDialog();
    EXPECT_EQ(dialog->devicePath()->text(), simulator.path());
    EXPECT_EQ(dialog->currentNote()->text(), QStringLiteral("Now: %1, chosen here").arg(simulator.path()));
    pressOk();
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_EQ(frame->control().ConnectPhase(), MainControl::Ready);
    EXPECT_TRUE(frame->control().body().PortOpen());
    showDialog();
    type(QString());
    pressOk();
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_EQ(frame->control().ConnectPhase(), MainControl::NotConnected);
    EXPECT_FALSE(frame->control().body().PortOpen());
    EXPECT_EQ(chosenSerialDevice(), QString());
    EXPECT_EQ(serial->description(), QStringLiteral("/dev/ttyS0"));
}

TEST_F(SerialPortFixture, APathThatIsNotThereIsTakenOnlyWhenTheOperatorSaysSo)
{
    openOn(QStringLiteral("/dev/ttyS0"));
    reporter.shown.clear();
    RecordingReporter no(MessageAnswer::No);
    type(QStringLiteral("/dev/ttyUSB9"));
    pressOk();
    ASSERT_EQ(no.shown.size(), 1);
    EXPECT_EQ(no.shown[0].text, QStringLiteral("/dev/ttyUSB9 does not exist now. Use it as the instrument's port all the same?"));
    EXPECT_EQ(no.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(chosenSerialDevice(), QString());
    EXPECT_EQ(serial->description(), QStringLiteral("/dev/ttyS0"));

    RecordingReporter yes(MessageAnswer::Yes);
    pressOk();
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_EQ(chosenSerialDevice(), QStringLiteral("/dev/ttyUSB9"));
    EXPECT_EQ(serial->description(), QStringLiteral("/dev/ttyUSB9"));
}

TEST_F(SerialPortFixture, ThePortStaysWhileTheInstrumentIsInUse)
{
    openOn(QStringLiteral("/dev/ttyS0"));
    frame->control().status().setLocked(1);
    type(QStringLiteral("/dev/ttyS0"));
    pressOk();
    ASSERT_FALSE(reporter.shown.isEmpty());
    EXPECT_EQ(reporter.shown.last().text,
              QStringLiteral("The serial port cannot change while the instrument is connecting or measuring."));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(chosenSerialDevice(), QString());
    frame->control().status().setLocked(0);
}

TEST_F(SerialPortFixture, WithTheSimulatorTheChoiceWaitsForTheNextStart)
{
    open();
    setPortSource(PortSource::Simulator);
    choice = std::make_unique<SerialPortChoice>(frame->control(), *line);
    dialog = std::make_unique<gui::SerialPortDialog>(*choice, [] { return QList<SerialPortEntry>{}; }, frame.get());
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    EXPECT_TRUE(dialog->emptyNote()->isVisible());
    EXPECT_EQ(dialog->emptyNote()->text(), QStringLiteral("No serial port found; type the device path."));
    EXPECT_TRUE(dialog->currentNote()->text().startsWith(QStringLiteral("Now: the simulated instrument (--simulate)")));
    type(QStringLiteral("/dev/ttyS0"));
    pressOk();
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_EQ(chosenSerialDevice(), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(line->description(), QStringLiteral("simulator"));
}

TEST_F(SerialPortFixture, TheMeasurementMenuOpensTheDialogByName)
{
    setLanguage(Language::Japanese);
    open();
    QAction* entry = frame->findChild<QAction*>(QStringLiteral("mnuSerialPort"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry, frame->entry(QStringLiteral("mnuSerialPort")));
    EXPECT_TRUE(frame->mnuMeas()->actions().contains(entry));
    EXPECT_EQ(entry->text(), QStringLiteral("シリアルポート(&P)..."));

    // A screen reader finds the entry by its name.
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(frame->mnuMeas());
    ASSERT_NE(menu, nullptr);
    QStringList names;
    for (int i = 0; i < menu->childCount(); ++i)
        names << menu->child(i)->text(QAccessible::Name);
    EXPECT_TRUE(names.contains(QStringLiteral("シリアルポート(P)..."))) << names.join(u'|').toStdString();

    QMenuBar* bar = frame->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(frame->mnuMeas()->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->mnuMeas()->isVisible(); }));
    // The dialog is modal: it is answered from inside its own event loop.
    QString title;
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }))
            return;
        QWidget* shown = QApplication::activeModalWidget();
        title = shown->windowTitle();
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    QTest::mouseClick(frame->mnuMeas(), Qt::LeftButton, {}, frame->mnuMeas()->actionGeometry(entry).center());
    EXPECT_EQ(title, QStringLiteral("シリアルポート"));
}

} // namespace tz4::test
