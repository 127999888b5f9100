#include "mainwin/BodyDiag.h"

namespace tz4 {

namespace {

struct DiagItem {
    const char* label;
    int byte; // 0 the first byte of the unit's word, 1 the second
    int mask;
};

const DiagItem LightUnitItems[] = {
    {"TZ-4 QM-5 Memory ", 0, 32},        {"TZ-4 QM-5 Filter ", 0, 16},
    {"TZ-4 QM-5 Eyeris Origin ", 0, 8},  {"TZ-4 QM-5 Eyeris Limit ", 0, 4},
    {"TZ-4 QM-5 FAN 1 ", 0, 2},          {"TZ-4 QM-5 FAN 2 ", 0, 1},
    {"TZ-4 QM-5 Potensio 1 ", 1, 32},    {"TZ-4 QM-5 Potensio 2 ", 1, 16},
    {"TZ-4 QM-5 PhotoDiode 1 ", 1, 8},   {"TZ-4 QM-5 PhotoDiode 2 ", 1, 4},
};

const DiagItem StageUnitItems[] = {
    {"TZ-4 QS-6 Memory ", 0, 32},          {"TZ-4 QS-6 X Stage Origin ", 0, 16},
    {"TZ-4 QS-6 X Stage Limit ", 0, 8},    {"TZ-4 QS-6 FAN 1 ", 0, 4},
    {"TZ-4 QS-6 FAN 2 ", 0, 2},            {"TZ-4 QS-6 QH Volts ", 0, 1},
    {"TZ-4 QS-6 QL Volts ", 1, 32},        {"TZ-4 QS-6 SH Volts ", 1, 16},
    {"TZ-4 QS-6 Dry Air 1 ", 1, 8},        {"TZ-4 QS-6 Dry Air 2", 1, 4},
    {"TZ-4 QS-6 Dry Air 3 ", 1, 2},
};

// Two hexadecimal digits; text that is not hexadecimal reads as 0.
int hexByte(const QString& digits)
{
    bool ok = false;
    const int value = digits.toInt(&ok, 16);
    return ok ? value : 0;
}

template <size_t N>
void appendItems(QString& text, const DiagItem (&items)[N], int first, int second)
{
    for (const DiagItem& item : items) {
        const int byte = item.byte == 0 ? first : second;
        text += QLatin1String(item.label);
        text += (byte & item.mask) ? QStringLiteral("Error*****") : QStringLiteral("OK");
        text += QStringLiteral("\r\n");
    }
}

} // namespace

void appendBodyDiagLines(QString& text, const QString& lightUnit, const QString& stageUnit)
{
    const QString light = lightUnit.trimmed();
    if (light.size() == 5)
        appendItems(text, LightUnitItems, hexByte(light.mid(1, 2)), hexByte(light.mid(3, 2)));
    const QString stage = stageUnit.trimmed();
    if (stage.size() == 6)
        appendItems(text, StageUnitItems, hexByte(stage.mid(2, 2)), hexByte(stage.mid(4, 2)));
}

} // namespace tz4
