#include "core/SystemFile.h"

#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/SerialProperties.h"
#include "core/SystemParam.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/Tz4Error.h"

#include <QDir>
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

// A serial setting as the loading pass reads it into the serial properties.
struct SerialField {
    const char* key;
    qint32 (*get)(const SerialProperties&);
    void (*set)(SerialProperties&, qint16);
};

const SerialField kSerialFields[] = {
    {"[SERIALPORT]", [](const SerialProperties& s) -> qint32 { return s.CommPort(); },
     [](SerialProperties& s, qint16 v) {
         if (v >= 1) // ports are numbered from 1
             s.setCommPort(v);
     }},
    {"[BAUDRATE]", [](const SerialProperties& s) -> qint32 { return s.BaudRate(); },
     [](SerialProperties& s, qint16 v) {
         if (v > 0) // no line runs at 0
             s.setBaudRate(v);
     }},
    {"[DATABITS]", [](const SerialProperties& s) -> qint32 { return s.DataBits(); },
     [](SerialProperties& s, qint16 v) { s.setDataBits(v); }},
    {"[STOPBITS]", [](const SerialProperties& s) -> qint32 { return s.StopBits(); },
     [](SerialProperties& s, qint16 v) { s.setStopBits(v); }},
};

// The loading pass, one line at a time; every value it passes over is described in `unusable`.
class SettingsLoader {
public:
    SettingsLoader(SerialProperties& serial, QStringList* unusable) : serial_(serial), unusable_(unusable) {}

    // False when the line ends the pass: a value that cannot be read at all.
    bool load(const SettingsLine& line)
    {
        if (line.key == QLatin1String("[PROTOCOL]") && line.value.toUpper() != QLatin1String("RS232C"))
            return stop(line, QStringLiteral("is not a supported protocol"));
        for (const SerialField& field : kSerialFields)
            if (line.key == QLatin1String(field.key))
                return loadSerial(field, line);
        if (line.key == QLatin1String("[PARITY]")) {
            const auto parity = parityFromText(line.value);
            if (!parity)
                return stop(line, QStringLiteral("is not a parity"));
            serial_.setParityBits(*parity);
            return true;
        }
        return loadUnit(line) && loadDisplay(line);
    }

private:
    void note(const SettingsLine& line, const QString& why)
    {
        if (unusable_)
            unusable_->append(describeSettingsLine(line, why));
    }

    bool stop(const SettingsLine& line, const QString& why)
    {
        note(line, why + QStringLiteral("; the lines after it were not read"));
        return false;
    }

    bool loadSerial(const SerialField& field, const SettingsLine& line)
    {
        const auto number = settingsNumber(line.value);
        if (!number)
            return stop(line, QStringLiteral("is not a number"));
        const qint32 before = field.get(serial_);
        const auto whole = toInt16(*number);
        if (!whole) {
            note(line, QStringLiteral("does not fit a 16-bit number; %1 stays in use").arg(before));
        } else if (*whole != *number) {
            note(line, QStringLiteral("is not a whole number; %1 stays in use").arg(before));
        } else {
            field.set(serial_, *whole);
            if (field.get(serial_) != *whole)
                note(line, QStringLiteral("cannot be used; %1 stays in use").arg(before));
        }
        return true;
    }

    // The model and the unit numbers.
    bool loadUnit(const SettingsLine& line)
    {
        SystemParamRecord& p = SystemParam();
        if (line.key == QLatin1String("[BODY]")) {
            const QString model = line.value.toUpper();
            if (model == QLatin1String("TZ-3"))
                p.BodyType = 1;
            else if (model == QLatin1String("TZ-4"))
                p.BodyType = 2;
            else
                return stop(line, QStringLiteral("is not a known model"));
        } else if (line.key == QLatin1String("[QM]") || line.key == QLatin1String("[QS]")) {
            const auto digit = lastDigit(line.value);
            if (!digit)
                return stop(line, QStringLiteral("does not end in a unit number"));
            (line.key == QLatin1String("[QM]") ? p.LightUnitNo : p.StageUnitNo) = static_cast<qint16>(*digit);
        }
        return true;
    }

    // Window counts, font, printing and the device path.
    bool loadDisplay(const SettingsLine& line)
    {
        SystemParamRecord& p = SystemParam();
        const QString& key = line.key;
        const QString& value = line.value;
        if (key == QLatin1String("[MAXDATAFORMS]")) {
            const auto number = settingsNumber(value);
            if (number && *number >= 1 && *number <= 999)
                p.MaxDataForms = *toInt16(*number);
            else
                note(line, QStringLiteral("is not from 1 to 999; %1 stays in use").arg(p.MaxDataForms));
            resizeDataForms();
        } else if (key == QLatin1String("[MAXMULTIGRAPH]")) {
            const auto number = settingsNumber(value);
            if (number && *number >= 1 && *number <= 9999)
                p.MaxMultiGraph = *toInt16(*number);
            else
                note(line, QStringLiteral("is not from 1 to 9999; %1 stays in use").arg(p.MaxMultiGraph));
        } else if (key == QLatin1String("[FONTNAME]")) {
            p.DisplayFont.name = value;
        } else if (key == QLatin1String("[FONTSIZE]")) {
            // Font sizes are kept to four decimals; the range holds for the size kept, so that
            // 19.99996 does not become a size of 20 that the next start refuses.
            const auto number = settingsNumber(value);
            const double size = number ? std::round(*number * 10000.0) / 10000.0 : 0;
            if (size > 0 && size < 20)
                p.DisplayFont.size = size;
            else
                note(line, QStringLiteral("is not a font size above 0 and below 20"));
        } else if (key == QLatin1String("[EDITABLEPRINT]")) {
            p.EditablePrint = value.toUpper() == QLatin1String("TRUE");
        } else if (key == QLatin1String("[DEBUG]")) {
            p.DebugMode = value.toUpper() == QLatin1String("TRUE");
        } else if (key == QLatin1String("[SERIALDEVICE]")) {
            p.SerialDevice = value;
        }
        return true;
    }

    SerialProperties& serial_;
    QStringList* unusable_;
};

} // namespace

QString systemFilePath() { return dataFilePath(QStringLiteral("TZ4Sys.ini")); }

QString describeSettingsLine(const SettingsLine& line, const QString& why)
{
    return QStringLiteral("TZ4Sys.ini line %1: %2 %3 %4").arg(line.lineNumber).arg(line.written, line.value, why);
}

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
    int number = 0;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        ++number;
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
        const QString key = line.left(blank);
        lines.append({key.toUpper(), value, number, key});
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
    SettingsLoader loader(serial, unusable);
    for (const SettingsLine& line : readSettingsLines(content))
        if (!loader.load(line))
            return false;
    return true;
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
    return runLogged([&] {
        QSaveFile file(systemFilePath());
        if (!file.open(QIODevice::WriteOnly))
            throw fileError(file);
        if (file.write(text.toUtf8()) < 0 || !file.commit())
            throw fileError(file);
    });
}

} // namespace tz4
