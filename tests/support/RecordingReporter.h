#pragma once

#include "core/ErrorReporter.h"

#include <QList>

#include <functional>

namespace tz4::test {

// Installs itself as the process-wide reporter for one scope and records every message box,
// answering questions with a chosen answer.
class RecordingReporter final : public ErrorReporter {
public:
    struct Shown {
        QString text;
        QString title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    explicit RecordingReporter(MessageAnswer answer = MessageAnswer::Yes) : answer_(answer) { setErrorReporter(this); }
    ~RecordingReporter() override { setErrorReporter(nullptr); }

    MessageAnswer showMessage(const QString& text, const QString& title, MessageIcon icon,
                              MessageButtons buttons) override
    {
        shown.append({text, title, icon, buttons});
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        return decide ? decide(shown.last()) : answer_;
    }

    QList<Shown> shown;
    // When set, answers each question in place of the fixed answer.
    std::function<MessageAnswer(const Shown&)> decide;

private:
    MessageAnswer answer_;
};

} // namespace tz4::test
