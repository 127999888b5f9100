#include "core/DataDirectory.h"
#include "core/MessageCatalog.h"
#include "core/SerialProperties.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"

#include "tests/support/RecordingReporter.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tz4;
using tz4::test::RecordingReporter;

namespace {

const char* const kDefaultFile =
    "'\r\n"
    "'TZ-4 for Windows Initialize Parameter List \"TZ4Sys.Ini\"\r\n"
    "'Format Exsample : [parametername] datavalue\r\n"
    "'\r\n"
    "'   parametername   : Setting Parameter\r\n"
    "'   datavalue       : Setting Data\r\n"
    "'   Parameter to Data Delimiter Is Space Code or TAB Code\r\n"
    "'   Papameter Mark \"[\" is Top Row Posision\r\n"
    "'   Datavalue is Space Trimming for Last Column Posision or Before Top Comments\r\n"
    "'   \"'\" Mark is Comment (\"'\" Mark to End Column)\r\n"
    "'\r\n"
    "\r\n"
    "[Body]\tTZ-4\t'Measure System (Selected TZ-3,TZ-4)\r\n"
    "[QM]\t1\t'TZ-4 Light Unit\r\n"
    "[QS]\t1\t'TZ-4 Stage Unit\r\n"
    "[Protocol]\tRS232C\t'Reserved (RS232C,USB,Ether,Pararel...)\r\n"
    "\r\n"
    "[SerialPort]\t1\t'Default 1\r\n"
    "[BaudRate]\t19200\t'Default 19200\r\n"
    "[DataBits]\t7\t'Default 7\r\n"
    "[StopBits]\t1\t'Default 1\r\n"
    "[Parity]\tNone\t'Default None\r\n"
    "\r\n"
    "[MaxDataForms]\t5\t'Open Data Max Form Number (Default 5)\r\n"
    "[MaxMultiGraph]\t5\t'1 Graph Form Drawable Sample Number (Default 5)\r\n"
    "\r\n"
    "[FontName]\tArial\t'Default Use Font Name\r\n"
    "[FontSize]\t8\t'Default Use Font Size\r\n"
    "\r\n"
    "[EditablePrint]\tFalse\r\n"
    "\r\n"
    "[Debug]\tFalse\t'Program Debag Flag\r\n";

// Accepts any parity so that the writer's handling of unknown values can be seen.
class AnyParity final : public SerialProperties {
public:
    qint16 CommPort() const override { return 3; }
    void setCommPort(qint16) override {}
    qint32 BaudRate() const override { return 9600; }
    void setBaudRate(qint32) override {}
    qint16 DataBits() const override { return 8; }
    void setDataBits(qint16) override {}
    qint16 StopBits() const override { return 2; }
    void setStopBits(qint16) override {}
    qint32 ParityBits() const override { return parity; }
    void setParityBits(qint32 p) override { parity = p; }
    qint32 parity = 7;
};

} // namespace

class SystemFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        setDataDirectory(home.path());
        InitSystemParam();
    }

    void writeFile(const QByteArray& content)
    {
        QFile file(systemFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray fileBytes() const
    {
        QFile file(systemFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir home;
    RecordingReporter reporter;
    SerialSettings serial;
};

TEST_F(SystemFileTest, DefaultsAreWrittenByteForByteAndReadBackUnchanged)
{
    ASSERT_TRUE(SetSystemFile(serial));
    EXPECT_EQ(fileBytes(), QByteArray(kDefaultFile));
    EXPECT_EQ(fileBytes().count("\r\n"), 32);

    EXPECT_TRUE(ChkSystemFile());
    EXPECT_TRUE(GetSystemFile(serial));
    EXPECT_TRUE(reporter.shown.isEmpty());
    EXPECT_EQ(SystemParam().MaxDataForms, 5);
    EXPECT_EQ(SystemParam().DisplayFont.name, "Arial");
    EXPECT_EQ(serial.BaudRate(), 19200);
    ASSERT_TRUE(SetSystemFile(serial));
    EXPECT_EQ(fileBytes(), QByteArray(kDefaultFile));
}

TEST_F(SystemFileTest, WriterUsesCurrentValuesButConstantModelLines)
{
    SystemParamRecord& p = SystemParam();
    p.BodyType = 1;
    p.LightUnitNo = 4;
    p.MaxDataForms = 12;
    p.MaxMultiGraph = 300;
    p.DisplayFont = {"MS UI Gothic", 9.75};
    p.EditablePrint = true;
    p.DebugMode = true;
    AnyParity odd;
    odd.parity = 2;
    ASSERT_TRUE(SetSystemFile(odd));
    const QByteArray text = fileBytes();
    EXPECT_TRUE(text.contains("[Body]\tTZ-4\t'Measure"));
    EXPECT_TRUE(text.contains("[QM]\t1\t'TZ-4 Light Unit\r\n"));
    EXPECT_TRUE(text.contains("[SerialPort]\t3\t'Default 1\r\n[BaudRate]\t9600\t'Default 19200\r\n"
                              "[DataBits]\t8\t'Default 7\r\n[StopBits]\t2\t'Default 1\r\n[Parity]\tOdd\t'Default None\r\n"));
    EXPECT_TRUE(text.contains("[MaxDataForms]\t12\t"));
    EXPECT_TRUE(text.contains("[MaxMultiGraph]\t300\t"));
    EXPECT_TRUE(text.contains("[FontName]\tMS UI Gothic\t'Default Use Font Name\r\n[FontSize]\t9.75\t"));
    EXPECT_TRUE(text.contains("[EditablePrint]\tTrue\r\n"));
    EXPECT_TRUE(text.endsWith("[Debug]\tTrue\t'Program Debag Flag\r\n"));
}

TEST_F(SystemFileTest, UnknownParityLeavesItsLineOutAndADevicePathAddsOne)
{
    AnyParity unknown;
    ASSERT_TRUE(SetSystemFile(unknown));
    EXPECT_FALSE(fileBytes().contains("[Parity]"));
    EXPECT_EQ(fileBytes().count("\r\n"), 31);

    SystemParam().SerialDevice = "/dev/ttyUSB0";
    ASSERT_TRUE(SetSystemFile(serial));
    EXPECT_TRUE(fileBytes().contains("[Parity]\tNone\t'Default None\r\n[SerialDevice]\t/dev/ttyUSB0\t"));
    EXPECT_EQ(fileBytes().count("\r\n"), 33);
    SystemParam().SerialDevice.clear();
    ASSERT_TRUE(GetSystemFile(serial));
    EXPECT_EQ(SystemParam().SerialDevice, "/dev/ttyUSB0");
}

TEST_F(SystemFileTest, FontSizeIsWrittenWithTheDotInAnyLocale)
{
    tz4::test::ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    SystemParam().DisplayFont.size = 19.5;
    ASSERT_TRUE(SetSystemFile(serial));
    EXPECT_TRUE(fileBytes().contains("[FontSize]\t19.5\t"));
    SystemParam().DisplayFont.size = 8;
    ASSERT_TRUE(GetSystemFile(serial));
    EXPECT_DOUBLE_EQ(SystemParam().DisplayFont.size, 19.5);
    // A hand-written value in the locale's own notation: the comma is its decimal point,
    // not a thousands separator.
    writeFile("[FontSize] 9,750\r\n");
    ASSERT_TRUE(GetSystemFile(serial));
    EXPECT_DOUBLE_EQ(SystemParam().DisplayFont.size, 9.75);
    // Kept to four decimals, these would be 20 and 0: both outside the accepted sizes.
    writeFile("[FontSize] 19.99996\r\n[FontSize] 0.00004\r\n");
    ASSERT_TRUE(GetSystemFile(serial));
    EXPECT_DOUBLE_EQ(SystemParam().DisplayFont.size, 9.75);
}

TEST_F(SystemFileTest, ReadingRulesForCaseTabsAndComments)
{
    const auto lines = readSettingsLines("' full comment\r\n"
                                         "\r\n"
                                         "   ' indented comment\n"
                                         "[body]  tz-4\r\n"
                                         "[Parity]\t\todd 'user note\r\n"
                                         "[FontName] Times New Roman \r"
                                         "[NoValue]\r\n"
                                         "[Empty] 'only a comment\r\n");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].key, "[BODY]");
    EXPECT_EQ(lines[0].value, "tz-4");
    EXPECT_EQ(lines[1].key, "[PARITY]");
    EXPECT_EQ(lines[1].value, "odd");
    EXPECT_EQ(lines[2].value, "Times New Roman");
    EXPECT_EQ(lines[3].key, "[EMPTY]");
    EXPECT_EQ(lines[3].value, "");

    // A legacy code-page font name does not spoil the lines around it.
    const auto legacy = readSettingsLines("[FontName]\t\x82\x6c\x82\x72 Gothic\r\n[MaxMultiGraph]\t7\r\n");
    ASSERT_EQ(legacy.size(), 2);
    EXPECT_EQ(legacy[1].key, "[MAXMULTIGRAPH]");
    EXPECT_EQ(legacy[1].value, "7");
}

TEST_F(SystemFileTest, EdgeCaseFileValidatesAndLoadsAsDocumented)
{
    writeFile("[body]  tz-4\r\n"
              "[protocol]\trs232c\r\n"
              "[QM]\tQM-2\r\n"
              "[BaudRate]\t9600\t' slower line\r\n"
              "[MaxDataForms]\t1000\r\n"
              "[MaxMultiGraph]\t250\r\n"
              "[FontSize]\t20\r\n"
              "[FontName]\tCourier\r\n"
              "[Parity]\todd ' set by service\r\n"
              "[EditablePrint]\ttrue\r\n"
              "[Unknown]\tanything\r\n");
    EXPECT_TRUE(ChkSystemFile());
    EXPECT_TRUE(reporter.shown.isEmpty());

    ASSERT_TRUE(GetSystemFile(serial));
    const SystemParamRecord& p = SystemParam();
    EXPECT_EQ(p.BodyType, 2);
    EXPECT_EQ(p.LightUnitNo, 2);
    EXPECT_EQ(serial.BaudRate(), 9600);
    EXPECT_EQ(p.MaxDataForms, 5);
    EXPECT_EQ(p.DataForms.size(), 6);
    EXPECT_EQ(p.MaxMultiGraph, 250);
    EXPECT_DOUBLE_EQ(p.DisplayFont.size, 8);
    EXPECT_EQ(p.DisplayFont.name, "Courier");
    EXPECT_EQ(serial.ParityBits(), 2);
    EXPECT_TRUE(p.EditablePrint);
}

TEST_F(SystemFileTest, FontSizeAndCountsOutsideTheirRangesAreIgnoredAndNamed)
{
    writeFile("[FontSize] 0\r\n[MaxDataForms] 0\r\n[MaxMultiGraph] 10000\r\n");
    QStringList unusable;
    ASSERT_TRUE(GetSystemFile(serial, &unusable));
    EXPECT_DOUBLE_EQ(SystemParam().DisplayFont.size, 8);
    EXPECT_EQ(SystemParam().MaxMultiGraph, 5);
    EXPECT_EQ(unusable, (QStringList{"TZ4Sys.ini line 1: [FontSize] 0 is not a font size above 0 and below 20",
                                     "TZ4Sys.ini line 2: [MaxDataForms] 0 is not from 1 to 999; 5 stays in use",
                                     "TZ4Sys.ini line 3: [MaxMultiGraph] 10000 is not from 1 to 9999; 5 stays in use"}));

    writeFile("[FontSize] 19.5\r\n[MaxDataForms] 999\r\n[MaxMultiGraph] 9999\r\n");
    ASSERT_TRUE(GetSystemFile(serial));
    EXPECT_DOUBLE_EQ(SystemParam().DisplayFont.size, 19.5);
    EXPECT_EQ(SystemParam().MaxDataForms, 999);
    EXPECT_EQ(SystemParam().DataForms.size(), 1000);
    EXPECT_EQ(SystemParam().MaxMultiGraph, 9999);
}

TEST_F(SystemFileTest, OlderModelFailsValidationButLoads)
{
    writeFile("[Body] TZ-3\r\n[BaudRate] fast\r\n");
    EXPECT_FALSE(ChkSystemFile());
    ASSERT_EQ(reporter.shown.size(), 1); // the pass ends at the model
    EXPECT_EQ(reporter.shown[0].text, GetRes(1014) + "\r\nTZ4Sys.ini line 1: [Body] TZ-3 is not the model TZ-4");
    EXPECT_EQ(reporter.shown[0].title, GetRes(1012));
    EXPECT_EQ(reporter.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(reporter.shown[0].buttons, MessageButtons::Ok);

    writeFile("[Body] TZ-3\r\n");
    EXPECT_TRUE(GetSystemFile(serial));
    EXPECT_EQ(SystemParam().BodyType, 1);
}

TEST_F(SystemFileTest, ValidationReportsEveryBadValueWithItsLineButStopsAtAnUnsupportedProtocol)
{
    writeFile("[BaudRate] fast\r\n' note\r\n[DataBits] seven\r\n[Parity] mark\r\n[MaxMultiGraph] many\r\n");
    EXPECT_FALSE(ChkSystemFile());
    ASSERT_EQ(reporter.shown.size(), 4);
    const QStringList faults{"TZ4Sys.ini line 1: [BaudRate] fast is not a number",
                             "TZ4Sys.ini line 3: [DataBits] seven is not a number",
                             "TZ4Sys.ini line 4: [Parity] mark is not a parity (None, Even or Odd)",
                             "TZ4Sys.ini line 5: [MaxMultiGraph] many is not a number"};
    QFile log(home.filePath("Caution.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromUtf8(log.readAll());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(reporter.shown[i].text, GetRes(1014) + "\r\n" + faults[i]);
        EXPECT_TRUE(logged.contains(" : 13 : modMain:ChkSystemFile : " + faults[i])) << logged.toStdString();
    }

    reporter.shown.clear();
    writeFile("[StopBits] x\r\n[Protocol] USB\r\n[DataBits] y\r\n");
    EXPECT_FALSE(ChkSystemFile());
    ASSERT_EQ(reporter.shown.size(), 2);
    EXPECT_EQ(reporter.shown[1].text, GetRes(1015) + "\r\nTZ4Sys.ini line 2: [Protocol] USB is not a supported protocol (RS232C)");
    EXPECT_EQ(reporter.shown[1].title, GetRes(1030));
}

TEST_F(SystemFileTest, LoadingStopsAtTheFirstUnreadableValueKeepingWhatCameBefore)
{
    writeFile("[SerialPort] 4\r\n[Parity] even\r\n[QS] unit\r\n[DataBits] 8\r\n");
    QStringList unusable;
    EXPECT_FALSE(GetSystemFile(serial, &unusable));
    EXPECT_TRUE(reporter.shown.isEmpty());
    EXPECT_EQ(serial.CommPort(), 4);
    EXPECT_EQ(serial.ParityBits(), 1);
    EXPECT_EQ(serial.DataBits(), 7);
    EXPECT_EQ(unusable, QStringList{"TZ4Sys.ini line 3: [QS] unit does not end in a unit number; "
                                    "the lines after it were not read"});
}

// Values that read as numbers but that no line can run at are passed over, each named with
// its line, and the setting in force stays.
TEST_F(SystemFileTest, SerialValuesThatCannotBeUsedAreNamedAndLeaveTheSettingInForce)
{
    writeFile("[BaudRate] 38400\r\n[DataBits] 9\r\n[StopBits] 1.5\r\n[SerialPort] 0\r\n[BaudRate] 1000\r\n"
              "[BaudRate] -300\r\n[Parity] odd\r\n");
    QStringList unusable;
    EXPECT_TRUE(GetSystemFile(serial, &unusable));
    EXPECT_EQ(serial.BaudRate(), 19200);
    EXPECT_EQ(serial.DataBits(), 7);
    EXPECT_EQ(serial.StopBits(), 1);
    EXPECT_EQ(serial.CommPort(), 1);
    EXPECT_EQ(serial.ParityBits(), 2); // the lines after them are read
    EXPECT_EQ(unusable, (QStringList{"TZ4Sys.ini line 1: [BaudRate] 38400 does not fit a 16-bit number; 19200 stays in use",
                                     "TZ4Sys.ini line 2: [DataBits] 9 cannot be used; 7 stays in use",
                                     "TZ4Sys.ini line 3: [StopBits] 1.5 is not a whole number; 1 stays in use",
                                     "TZ4Sys.ini line 4: [SerialPort] 0 cannot be used; 1 stays in use",
                                     "TZ4Sys.ini line 5: [BaudRate] 1000 cannot be used; 19200 stays in use",
                                     "TZ4Sys.ini line 6: [BaudRate] -300 cannot be used; 19200 stays in use"}));

    writeFile("[BaudRate] 4800\r\n[DataBits] 8\r\n[StopBits] 2\r\n[SerialPort] 3\r\n");
    unusable.clear();
    EXPECT_TRUE(GetSystemFile(serial, &unusable));
    EXPECT_TRUE(unusable.isEmpty()) << unusable.join('\n').toStdString();
    EXPECT_EQ(serial.BaudRate(), 4800);
    EXPECT_EQ(serial.DataBits(), 8);
    EXPECT_EQ(serial.StopBits(), 2);
    EXPECT_EQ(serial.CommPort(), 3);
    // The holder's own rule: only multiples of 300.
    writeFile("[BaudRate] 32767\r\n");
    EXPECT_TRUE(GetSystemFile(serial));
    EXPECT_EQ(serial.BaudRate(), 4800);
}

TEST_F(SystemFileTest, MissingFileIsValidAndUnreadableFileIsNot)
{
    EXPECT_TRUE(ChkSystemFile());
    EXPECT_FALSE(GetSystemFile(serial));
    EXPECT_TRUE(reporter.shown.isEmpty());

    ASSERT_TRUE(QDir(home.path()).mkdir("TZ4Sys.ini"));
    EXPECT_FALSE(ChkSystemFile());
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].title, GetRes(1012));
    // The writer cannot replace it either, and says so in the log instead of losing anything.
    EXPECT_FALSE(SetSystemFile(serial));
    EXPECT_TRUE(QFileInfo(systemFilePath()).isDir());
}
