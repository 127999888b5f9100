#include "instrument/CommandPurposes.h"

#include <QHash>

namespace tz4 {

QString commandPurpose(const QString& command)
{
    // Commands are two letters; a write appends its argument.
    static const QHash<QString, const char*> purposes = {
        {QStringLiteral("SS"), "reading the light unit's self-diagnosis"},
        {QStringLiteral("SO"), "reading the stage unit's self-diagnosis"},
        {QStringLiteral("OS"), "reading the lamp's running time"},
        {QStringLiteral("OO"), "reading the lamp's running time"},
        {QStringLiteral("TS"), "setting the counting time"},
        {QStringLiteral("ES"), "moving the iris"},
        {QStringLiteral("EO"), "moving the iris to its origin"},
        {QStringLiteral("EL"), "moving the iris to its limit"},
        {QStringLiteral("RS"), "setting the light range"},
        {QStringLiteral("AS"), "switching the dry-air check"},
        {QStringLiteral("CS"), "counting photoelectrons"},
        {QStringLiteral("DS"), "switching the dry-air valve"},
        {QStringLiteral("GS"), "switching the grid voltage"},
        {QStringLiteral("HS"), "setting the light unit's lamp"},
        {QStringLiteral("HO"), "setting the stage unit's lamp"},
        {QStringLiteral("IS"), "reading the light unit's fans"},
        {QStringLiteral("IO"), "reading the stage unit's fans and door"},
        {QStringLiteral("JS"), "setting the dry-air flow"},
        {QStringLiteral("KS"), "reading the UV intensity"},
        {QStringLiteral("LS"), "setting the photon energy"},
        {QStringLiteral("LO"), "moving the monochromator to its origin"},
        {QStringLiteral("PS"), "reading the QL voltage"},
        {QStringLiteral("QS"), "reading the QH voltage"},
        {QStringLiteral("US"), "reading the SH voltage"},
        {QStringLiteral("XS"), "moving the sample stage"},
        {QStringLiteral("XO"), "moving the sample stage to its origin"},
        {QStringLiteral("XL"), "moving the sample stage out"},
        {QStringLiteral("VS"), "setting the anode voltage"},
        {QStringLiteral("FS"), "turning the filter wheel"},
        {QStringLiteral("FO"), "turning the filter wheel to its origin"},
        {QStringLiteral("WS"), "writing the calibration memory"},
        {QStringLiteral("WO"), "reading the calibration memory"},
        {QStringLiteral("BO"), "reading the light adjuster's spans"},
        {QStringLiteral("BL"), "writing the light adjuster's spans"},
    };
    const auto found = purposes.find(command.left(2).toUpper());
    return found == purposes.end() ? QString() : QString::fromLatin1(*found);
}

} // namespace tz4
