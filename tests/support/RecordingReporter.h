#pragma once

#include "core/ErrorReporter.h"

#include <QList>

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
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer_;
    }

    QList<Shown> shown;

private:
    MessageAnswer answer_;
};

} // namespace tz4::test
