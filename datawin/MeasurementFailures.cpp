#include "datawin/MeasurementControl.h"

#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/OwnTexts.h"
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
    QString lines = ownText(OwnText::FailedCommands, {failures.size()}) + QStringLiteral("\r\n");
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
    // What the line reported (a device that went away) names the cause; a command that went
    // unanswered is said as well. Which of the two a busy computer notices first varies, so
    // the sentence holds both, whatever their order.
    const auto sentence = [&](Language language) {
        QString cause = body_.lineFailureCause(language);
        // The line's own sentence ends where this one goes on.
        if (cause.endsWith(QLatin1Char('.')) || cause.endsWith(QChar(u'。')))
            cause.chop(1);
        QString unanswered;
        if (lost != failures.end() && (lost->number == linkerr::ReceiveTimeOut || cause.isEmpty()))
            unanswered = describeCommandFailure(lost->command, lost->reply, lost->number);
        QString detail = cause.isEmpty() ? unanswered : cause;
        if (!cause.isEmpty() && !unanswered.isEmpty())
            detail += QStringLiteral(" (%1)").arg(unanswered);
        QString text = ownText(OwnText::StoppedAnswering, language);
        if (!detail.isEmpty())
            text += QStringLiteral(": ") + detail;
        return text + ownText(OwnText::NothingStored, language);
    };
    const Tz4Error error(number, GetErrorString(number));
    WriteCautionLog(sentence(Language::English), &error);
    errorReporter().showMessage(sentence(currentLanguage()), GetRes(msg::MeasurementTitle), MessageIcon::Critical,
                                MessageButtons::Ok);
}

} // namespace tz4
