#include "app/cli/HeadlessReporter.h"

#include "app/cli/TerminalStatusBar.h"
#include "core/MessageCatalog.h"

#include <cstdio>

namespace tz4::cli {

HeadlessReporter::HeadlessReporter(TerminalStatusBar* status) : status_(status) { setErrorReporter(this); }

HeadlessReporter::~HeadlessReporter() { setErrorReporter(nullptr); }

void HeadlessReporter::answer(const QList<int>& textIds, MessageAnswer answer)
{
    for (int id : textIds)
        answers_.append({id, answer});
}

MessageAnswer HeadlessReporter::showMessage(const QString& text, const QString& title, MessageIcon,
                                            MessageButtons buttons)
{
    if (status_)
        status_->finishLine();
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool question = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
    MessageAnswer reply = MessageAnswer::Ok;
    if (question) {
        reply = MessageAnswer::Yes;
        for (const auto& [id, answer] : answers_) {
            // A question is known by its text up to the first placeholder; lines may stand
            // before it (the failed commands before the save question).
            const QString fixed = messageText(id, currentLanguage()).section(QLatin1Char('~'), 0, 0);
            if (!fixed.isEmpty() && text.contains(fixed))
                reply = answer;
        }
    }
    if (question)
        std::fprintf(stderr, "%s: %s [%s]\n", qUtf8Printable(title), qUtf8Printable(shown),
                     reply == MessageAnswer::Yes ? "yes" : "no");
    else
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(shown));
    std::fflush(stderr);
    return reply;
}

} // namespace tz4::cli
