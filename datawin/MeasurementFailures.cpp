#include "datawin/MeasurementControl.h"

#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/Tz4Error.h"
#include "instrument/ErrorTexts.h"
#include "instrument/Tz4Body.h"

#include <algorithm>

// What the operator and the caution log are told when the instrument refused commands or
// stopped answering during a measurement.
namespace tz4 {

QString MeasurementControl::reportCommandFailures()
{
    EnterProcedure here("frmData:mnuMeas_Click");
    const auto& failures = body_.commandFailures();
    if (failures.isEmpty())
        return {};
    QString lines = QStringLiteral("The instrument reported %1 failed command(s):\r\n").arg(failures.size());
    for (const auto& f : failures) {
        const QString line = describeCommandFailure(f.command, f.reply, f.number);
        const Tz4Error error(f.number, GetErrorString(f.number));
        WriteCautionLog(QStringLiteral("Instrument command failed: ") + line, &error);
        lines += QStringLiteral("  ") + line + QStringLiteral("\r\n");
    }
    return lines;
}

void MeasurementControl::reportLinkLost()
{
    EnterProcedure here("frmData:mnuMeas_Click");
    // The first command that went unanswered says what happened; those of the cancel path
    // after it only repeat it.
    const auto& failures = body_.commandFailures();
    const auto lost = std::find_if(failures.begin(), failures.end(), [](const uclTz4Body::CommandFailure& f) {
        return f.number == linkerr::ReceiveTimeOut || f.number == linkerr::NotConnected;
    });
    const qint32 number = lost != failures.end() ? lost->number : linkerr::ReceiveTimeOut;
    QString cause = QStringLiteral("The instrument stopped answering");
    const QString lineCause = body_.lineFailureCause();
    if (!lineCause.isEmpty())
        cause += QStringLiteral(": ") + lineCause;
    else if (lost != failures.end())
        cause += QStringLiteral(": ") + describeCommandFailure(lost->command, lost->reply, lost->number);
    cause += QStringLiteral(". Nothing was stored.");
    const Tz4Error error(number, GetErrorString(number));
    WriteCautionLog(cause, &error);
    errorReporter().showMessage(cause, GetRes(msg::MeasurementTitle), MessageIcon::Critical, MessageButtons::Ok);
}

} // namespace tz4
