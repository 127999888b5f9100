#include "core/SystemFile.h"

#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/SerialProperties.h"
#include "core/SystemParam.h"
#include "core/MessageIds.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>

#include <cmath>

namespace tz4 {

namespace {

// The platform's 16-bit integer conversion: halves to even, out of range fails.
std::optional<qint16> toInt16(double value)
{
    if (!(value > -32768.5 && value < 32767.5))
        return std::nullopt;
    const qint64 rounded = roundHalfEven(value);
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

std::optional<qint16> int16Value(const QString& value)
{
    const auto number = settingsNumber(value);
    return number ? toInt16(*number) : std::nullopt;
}

std::optional<int> lastDigit(const QString& value)
{
    if (value.isEmpty() || !value.back().isDigit())
        return std::nullopt;
    const int digit = value.back().digitValue();
    return digit >= 0 ? std::optional<int>(digit) : std::nullopt;
}

std::optional<qint32> parityFromText(const QString& value)
{
    const QString upper = value.toUpper();
    if (upper == QLatin1String("NONE"))
        return 0;
    if (upper == QLatin1String("EVEN"))
        return 1;
    if (upper == QLatin1String("ODD"))
        return 2;
    return std::nullopt;
}

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

void showReadError() { showCatalogMessage(msg::SystemFileReadError, msg::SystemFileReadErrorTitle, MessageIcon::None); }

} // namespace

QString systemFilePath() { return dataFilePath(QStringLiteral("TZ4Sys.ini")); }

QList<SettingsLine> readSettingsLines(const QByteArray& content)
{
    QList<SettingsLine> lines;
    // Files from older installations may be in the system's 8-bit code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(content);
    if (utf8.hasError())
        text = QString::fromLocal8Bit(content);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        if (raw.isEmpty() || raw.trimmed().startsWith(QLatin1Char('\'')))
            continue;
        const QString line = TabToSpace(raw);
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        if (blank < 0)
            continue;
        QString value = line.mid(blank + 1).trimmed();
        const qsizetype comment = value.indexOf(QLatin1Char('\''));
        if (comment >= 0)
            value = value.left(comment).trimmed();
        lines.append({line.left(blank).toUpper(), value});
    }
    return lines;
}

std::optional<double> settingsNumber(const QString& value)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    // "." is always the decimal point, never a group separator: "9,750" in a comma locale
    // is not 9750.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double number = c.toDouble(text, &ok);
    if (!ok)
        number = QLocale().toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

bool ChkSystemFile()
{
    EnterProcedure here("modMain:ChkSystemFile");
    QByteArray content;
    switch (readFile(content)) {
    case ReadResult::Missing:
        return true;
    case ReadResult::Unreadable:
        showReadError();
        return false;
    case ReadResult::Read:
        break;
    }

    bool result = true;
    for (const SettingsLine& line : readSettingsLines(content)) {
        const QString& key = line.key;
        if (key == QLatin1String("[BODY]")) {
            if (line.value.toUpper() != QLatin1String("TZ-4")) {
                showReadError();
                return false;
            }
        } else if (key == QLatin1String("[PROTOCOL]")) {
            if (line.value.toUpper() != QLatin1String("RS232C")) {
                showCatalogMessage(msg::UnsupportedSystemFunction, msg::UnsupportedSystemFunctionTitle, MessageIcon::None);
                return false;
            }
        } else if (key == QLatin1String("[BAUDRATE]") || key == QLatin1String("[DATABITS]")
                   || key == QLatin1String("[STOPBITS]") || key == QLatin1String("[MAXDATAFORMS]")
                   || key == QLatin1String("[MAXMULTIGRAPH]")) {
            if (!settingsNumber(line.value)) {
                showReadError();
                result = false;
            }
        } else if (key == QLatin1String("[PARITY]")) {
            if (!parityFromText(line.value)) {
                showReadError();
                result = false;
            }
        }
    }
    return result;
}

bool GetSystemFile(SerialProperties& serial)
{
    EnterProcedure here("modMain:GetSystemFile");
    QByteArray content;
    if (readFile(content) != ReadResult::Read)
        return false;

    SystemParamRecord& p = SystemParam();
    for (const SettingsLine& line : readSettingsLines(content)) {
        const QString& key = line.key;
        const QString& value = line.value;
        if (key == QLatin1String("[BODY]")) {
            const QString model = value.toUpper();
            if (model == QLatin1String("TZ-3"))
                p.BodyType = 1;
            else if (model == QLatin1String("TZ-4"))
                p.BodyType = 2;
            else
                return false;
        } else if (key == QLatin1String("[QM]") || key == QLatin1String("[QS]")) {
            const auto digit = lastDigit(value);
            if (!digit)
                return false;
            (key == QLatin1String("[QM]") ? p.LightUnitNo : p.StageUnitNo) = static_cast<qint16>(*digit);
        } else if (key == QLatin1String("[PROTOCOL]")) {
            if (value.toUpper() != QLatin1String("RS232C"))
                return false;
        } else if (key == QLatin1String("[SERIALPORT]") || key == QLatin1String("[BAUDRATE]")
                   || key == QLatin1String("[DATABITS]") || key == QLatin1String("[STOPBITS]")) {
            if (!settingsNumber(value))
                return false;
            // A value beyond 16 bits fails its conversion and leaves the property as it was.
            const auto number = int16Value(value);
            if (!number)
                continue;
            if (key == QLatin1String("[SERIALPORT]"))
                serial.setCommPort(*number);
            else if (key == QLatin1String("[BAUDRATE]") && *number > 0) // no line runs at 0
                serial.setBaudRate(*number);
            else if (key == QLatin1String("[DATABITS]"))
                serial.setDataBits(*number);
            else
                serial.setStopBits(*number);
        } else if (key == QLatin1String("[PARITY]")) {
            const auto parity = parityFromText(value);
            if (!parity)
                return false;
            serial.setParityBits(*parity);
        } else if (key == QLatin1String("[MAXDATAFORMS]")) {
            const auto number = settingsNumber(value);
            if (number && *number >= 1 && *number <= 999)
                p.MaxDataForms = *toInt16(*number);
            resizeDataForms();
        } else if (key == QLatin1String("[MAXMULTIGRAPH]")) {
            const auto number = settingsNumber(value);
            if (number && *number >= 1 && *number <= 9999)
                p.MaxMultiGraph = *toInt16(*number);
        } else if (key == QLatin1String("[FONTNAME]")) {
            p.DisplayFont.name = value;
        } else if (key == QLatin1String("[FONTSIZE]")) {
            // Font sizes are kept to four decimals; the range holds for the size kept, so that
            // 19.99996 does not become a size of 20 that the next start refuses.
            const auto number = settingsNumber(value);
            const double size = number ? std::round(*number * 10000.0) / 10000.0 : 0;
            if (size > 0 && size < 20)
                p.DisplayFont.size = size;
        } else if (key == QLatin1String("[EDITABLEPRINT]")) {
            p.EditablePrint = value.toUpper() == QLatin1String("TRUE");
        } else if (key == QLatin1String("[DEBUG]")) {
            p.DebugMode = value.toUpper() == QLatin1String("TRUE");
        } else if (key == QLatin1String("[SERIALDEVICE]")) {
            p.SerialDevice = value;
        }
    }
    return true;
}

bool SetSystemFile(const SerialProperties& serial)
{
    EnterProcedure here("modMain:SetSystemFile");
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

    // The file is replaced in one step, so a failed write keeps the settings of the last run.
    return runLogged([&] {
        QSaveFile file(systemFilePath());
        if (!file.open(QIODevice::WriteOnly))
            throw fileError(file);
        if (file.write(text.toUtf8()) < 0 || !file.commit())
            throw fileError(file);
    });
}

} // namespace tz4
