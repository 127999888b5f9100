#include "core/SettingsLoader.h"

#include "core/Formats.h"
#include "core/SerialProperties.h"
#include "core/SystemParam.h"

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

bool loadSettingsLines(const QList<SettingsLine>& lines, SerialProperties& serial, QStringList* unusable)
{
    SettingsLoader loader(serial, unusable);
    for (const SettingsLine& line : lines)
        if (!loader.load(line))
            return false;
    return true;
}

} // namespace tz4
