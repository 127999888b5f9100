#include "instrument/ErrorTexts.h"
#include "instrument/CommandPurposes.h"

namespace tz4 {

QString GetErrorString(int number)
{
    // The texts are the instrument's own, spelling included; logs and support notes quote them.
    switch (number) {
    case 0: return QStringLiteral("No Error");
    case 1: return QStringLiteral("RS232C Receive Time Out");
    case 2: return QStringLiteral("TZ4 Body Into Abnomal Trap");
    case 3: return QStringLiteral("TZ4 Body UnKwon Error");
    case 4: return QStringLiteral("TZ4 QS-6 No Connect");
    case 5: return QStringLiteral("TZ4 QM-5 EEPROM Not Write");
    case 6: return QStringLiteral("TZ4 No Connect");
    case 9: return QStringLiteral("Find to System Or User Cancel");
    case 10: return QStringLiteral("TZ4 Receive Unknown Command");
    case 11: return QStringLiteral("TZ4 Reseive Buffer Over Flow");
    case 12: return QStringLiteral("Warning Now Diagnosis Process");
    case 13: return QStringLiteral("Warning Now Dry Air Check Process");
    case 14: return QStringLiteral("Warning TZ4 QS-6 Door Open");
    case 15: return QStringLiteral("TZ4 QM-5 EEPROM Address Range Over");
    case 16: return QStringLiteral("TZ4 Command Value Range Over");
    case 21: return QStringLiteral("TZ4 QM-5 Memory Check Error");
    case 22: return QStringLiteral("TZ4 QM-5 Filter Origin Posision Don't Move");
    case 23: return QStringLiteral("TZ4 QM-5 Eyeris Origin Posision Don't Move");
    case 24: return QStringLiteral("TZ4 QM-5 Eyeris Limit Posision Don't Move");
    case 25: return QStringLiteral("TZ4 QM-5 Fan1 Error");
    case 26: return QStringLiteral("TZ4 QM-5 Fan2 Error");
    case 27: return QStringLiteral("TZ4 QM-5 Potensio Origin Posision Don't Move");
    case 28: return QStringLiteral("TZ4 QM-5 Potensio Posision Don't Move");
    case 41: return QStringLiteral("TZ4 QS-6 Memory Check Error");
    case 42: return QStringLiteral("TZ4 QM-5 X Stage Origin Posision Don't Move");
    case 43: return QStringLiteral("TZ4 QM-5 X Stage Limit Posision Don't Move");
    case 44: return QStringLiteral("TZ4 QS-6 Fan1 Error");
    case 45: return QStringLiteral("TZ4 QS-6 Fan2 Error");
    case 46: return QStringLiteral("TZ4 QS-6 QH Voltage Error");
    case 47: return QStringLiteral("TZ4 QS-6 QL Voltage Error");
    case 48: return QStringLiteral("TZ4 QS-6 SH Voltage Error");
    case 49: return QStringLiteral("TZ4 QS-6 Dry Air Valbe Close Error");
    case 50: return QStringLiteral("TZ4 QS-6 Dry Air 0.5 Litter Error");
    case 51: return QStringLiteral("TZ4 QS-6 Dry Air 1.8 Litter Error");
    default:
        if (number == 7 || number == 8 || (number >= 17 && number <= 20) || (number >= 29 && number <= 40))
            return QStringLiteral("Reserve Error");
        return {};
    }
}

QString describeCommandFailure(const QString& command, const QString& reply, int number)
{
    QString outcome;
    switch (number) {
    case linkerr::ReceiveTimeOut: outcome = QStringLiteral("no reply within the time-out"); break;
    case linkerr::NotConnected: outcome = QStringLiteral("the port is closed"); break;
    case linkerr::UnreadableReply: outcome = QStringLiteral("unreadable reply [%1]").arg(reply); break;
    default: outcome = QStringLiteral("%1 (%2)").arg(reply.trimmed(), GetErrorString(number)); break;
    }
    const QString purpose = commandPurpose(command);
    return command + QStringLiteral(" -> ") + outcome + (purpose.isEmpty() ? QString() : QStringLiteral(", ") + purpose);
}

} // namespace tz4
