#pragma once

#include "core/ErrorReporter.h"

#include <QSet>

namespace tz4::cli {

class TerminalStatusBar;

// Message boxes of a headless run: "title: text" on standard error. Questions are answered
// without a person: Yes, except for the texts given their own answer (the save question
// follows --yes/--no). Installs itself for its lifetime.
class HeadlessReporter final : public ErrorReporter {
public:
    explicit HeadlessReporter(TerminalStatusBar* status = nullptr);
    ~HeadlessReporter() override;

    // The answer to the questions whose catalogue text is one of `textIds`.
    void answer(const QList<int>& textIds, MessageAnswer answer);

    MessageAnswer showMessage(const QString& text, const QString& title, MessageIcon icon,
                              MessageButtons buttons) override;

private:
    TerminalStatusBar* status_;
    QList<std::pair<int, MessageAnswer>> answers_;
};

} // namespace tz4::cli
