#include "core/SystemFile.h"

#include "core/SettingsLoader.h"

#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/FileTargets.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/SerialProperties.h"
#include "core/SystemParam.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/Tz4Error.h"

#include <QDir>
#include <QFile>

#include <cmath>

namespace tz4 {

namespace {

enum class ReadResult { Read, Missing, Unreadable };

ReadResult readFile(QByteArray& content)
{
    QFile file(systemFilePath());
    if (!file.exists())
        return ReadResult::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::Unreadable;
    content = file.readAll();
    return file.error() == QFileDevice::NoError ? ReadResult::Read : ReadResult::Unreadable;
}

// The catalogue's message, then the line at fault (also logged), so that the file can be
// mended without guessing.
void showFault(int textId, int titleId, const QString& detail)
{
    // Logged first, under the pass's name: looking up the text moves the error location on.
    EnterProcedure here("modMain:ChkSystemFile");
    if (!detail.isEmpty()) {
        const Tz4Error error(err::TypeMismatch, detail);
        WriteCautionLog(QString(), &error);
    }
    QString text = GetRes(textId);
    if (!detail.isEmpty())
        text += QStringLiteral("\r\n") + detail;
    errorReporter().showMessage(text, GetRes(titleId), MessageIcon::None, MessageButtons::Ok);
}

void showReadError(const QString& detail = {})
{
    showFault(msg::SystemFileReadError, msg::SystemFileReadErrorTitle, detail);
}

enum class Severity { ReadError, ReadErrorEnds, Unsupported };

struct LineFault {
    Severity severity;
    QString why;
};

// What the validation pass finds wrong with one line; nothing when it passes.
std::optional<LineFault> validateLine(const SettingsLine& line)
{
    const QString& key = line.key;
    if (key == QLatin1String("[BODY]") && line.value.toUpper() != QLatin1String("TZ-4"))
        return LineFault{Severity::ReadErrorEnds, QStringLiteral("is not the model TZ-4")};
    if (key == QLatin1String("[PROTOCOL]") && line.value.toUpper() != QLatin1String("RS232C"))
        return LineFault{Severity::Unsupported, QStringLiteral("is not a supported protocol (RS232C)")};
    const bool numeric = key == QLatin1String("[BAUDRATE]") || key == QLatin1String("[DATABITS]")
        || key == QLatin1String("[STOPBITS]") || key == QLatin1String("[MAXDATAFORMS]")
        || key == QLatin1String("[MAXMULTIGRAPH]");
    if (numeric && !settingsNumber(line.value))
        return LineFault{Severity::ReadError, QStringLiteral("is not a number")};
    if (key == QLatin1String("[PARITY]") && !parityFromText(line.value))
        return LineFault{Severity::ReadError, QStringLiteral("is not a parity (None, Even or Odd)")};
    return std::nullopt;
}

} // namespace

QString systemFilePath() { return dataFilePath(QStringLiteral("TZ4Sys.ini")); }

bool ChkSystemFile()
{
    EnterProcedure here("modMain:ChkSystemFile");
    QByteArray content;
    switch (readFile(content)) {
    case ReadResult::Missing:
        return true;
    case ReadResult::Unreadable:
        showReadError(QStringLiteral("%1 cannot be read").arg(QDir::toNativeSeparators(systemFilePath())));
        return false;
    case ReadResult::Read:
        break;
    }

    bool result = true;
    for (const SettingsLine& line : readSettingsLines(content)) {
        const auto fault = validateLine(line);
        if (!fault)
            continue;
        const QString detail = describeSettingsLine(line, fault->why);
        if (fault->severity == Severity::Unsupported) {
            showFault(msg::UnsupportedSystemFunction, msg::UnsupportedSystemFunctionTitle, detail);
            return false;
        }
        showReadError(detail);
        if (fault->severity == Severity::ReadErrorEnds)
            return false;
        result = false;
    }
    return result;
}

bool GetSystemFile(SerialProperties& serial, QStringList* unusable)
{
    EnterProcedure here("modMain:GetSystemFile");
    QByteArray content;
    if (readFile(content) != ReadResult::Read)
        return false;
    return loadSettingsLines(readSettingsLines(content), serial, unusable);
}

namespace {

// The file's fixed layout with the current values, CR LF line ends.
QString settingsFileText(const SerialProperties& serial)
{
    const SystemParamRecord& p = SystemParam();
    const QString tab(QLatin1Char('\t'));
    auto entry = [&](const char* key, const QString& value, const char* comment) {
        QString line = QLatin1String(key) + tab + value;
        if (comment)
            line += tab + QLatin1String(comment);
        return line;
    };
    auto boolText = [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); };
    static const char* const kParityNames[] = {"None", "Even", "Odd"};

    QStringList lines{
        QStringLiteral("'"),
        QStringLiteral("'TZ-4 for Windows Initialize Parameter List \"TZ4Sys.Ini\""),
        QStringLiteral("'Format Exsample : [parametername] datavalue"),
        QStringLiteral("'"),
        QStringLiteral("'   parametername   : Setting Parameter"),
        QStringLiteral("'   datavalue       : Setting Data"),
        QStringLiteral("'   Parameter to Data Delimiter Is Space Code or TAB Code"),
        // Misspelt on purpose (these two lines): existing settings files carry them; keep them.
        QStringLiteral("'   Papameter Mark \"[\" is Top Row Posision"),
        QStringLiteral("'   Datavalue is Space Trimming for Last Column Posision or Before Top Comments"),
        QStringLiteral("'   \"'\" Mark is Comment (\"'\" Mark to End Column)"),
        QStringLiteral("'"),
        QString(),
        entry("[Body]", QStringLiteral("TZ-4"), "'Measure System (Selected TZ-3,TZ-4)"),
        entry("[QM]", QStringLiteral("1"), "'TZ-4 Light Unit"),
        entry("[QS]", QStringLiteral("1"), "'TZ-4 Stage Unit"),
        entry("[Protocol]", QStringLiteral("RS232C"), "'Reserved (RS232C,USB,Ether,Pararel...)"),
        QString(),
        entry("[SerialPort]", QString::number(serial.CommPort()), "'Default 1"),
        entry("[BaudRate]", QString::number(serial.BaudRate()), "'Default 19200"),
        entry("[DataBits]", QString::number(serial.DataBits()), "'Default 7"),
        entry("[StopBits]", QString::number(serial.StopBits()), "'Default 1"),
    };
    const qint32 parity = serial.ParityBits();
    if (parity >= 0 && parity <= 2)
        lines << entry("[Parity]", QLatin1String(kParityNames[parity]), "'Default None");
    if (!p.SerialDevice.isEmpty())
        lines << entry("[SerialDevice]", p.SerialDevice, "'Device path instead of the port number");
    lines << QString()
          << entry("[MaxDataForms]", QString::number(p.MaxDataForms), "'Open Data Max Form Number (Default 5)")
          << entry("[MaxMultiGraph]", QString::number(p.MaxMultiGraph),
                   "'1 Graph Form Drawable Sample Number (Default 5)")
          << QString() << entry("[FontName]", p.DisplayFont.name, "'Default Use Font Name")
          << entry("[FontSize]", uncheckPointDelim(shortestText(std::round(p.DisplayFont.size * 10000.0) / 10000.0)),
                   "'Default Use Font Size")
          << QString() << entry("[EditablePrint]", boolText(p.EditablePrint), nullptr) << QString()
          // Misspelt on purpose: existing settings files carry this comment; keep it.
          << entry("[Debug]", boolText(p.DebugMode), "'Program Debag Flag");

    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

} // namespace

bool SetSystemFile(const SerialProperties& serial)
{
    EnterProcedure here("modMain:SetSystemFile");
    const QString text = settingsFileText(serial);
    // The file is replaced in one step, so a failed write keeps the settings of the last run.
    return runLogged([&] { writeWholeFile(systemFilePath(), text.toUtf8()); });
}

} // namespace tz4
