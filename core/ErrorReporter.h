#pragma once

#include <QString>
#include <QVariantList>

namespace tz4 {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Every message box of the program goes through one reporter: a real message box in the
// window program, standard error in headless use, a recorder in tests.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual MessageAnswer showMessage(const QString& text, const QString& title, MessageIcon icon,
                                      MessageButtons buttons) = 0;
    // The program is stopping (a termination signal): nothing may wait for a person any
    // more. Messages from now on are only written down and questions answered No; a message
    // that is waiting for an answer is closed as No.
    virtual void stopAsking() {}
};

// Writes "title: text" to standard error and answers questions with a fixed answer, so that
// headless runs never wait for a person.
class StandardErrorReporter final : public ErrorReporter {
public:
    explicit StandardErrorReporter(MessageAnswer questionAnswer = MessageAnswer::No)
        : questionAnswer_(questionAnswer)
    {
    }
    void setQuestionAnswer(MessageAnswer answer) { questionAnswer_ = answer; }
    MessageAnswer showMessage(const QString& text, const QString& title, MessageIcon icon,
                              MessageButtons buttons) override;

private:
    MessageAnswer questionAnswer_;
};

// The process-wide reporter; standard error until a front end installs its own.
ErrorReporter& errorReporter();
// Installs `reporter` (not owned); nullptr restores the standard-error one.
void setErrorReporter(ErrorReporter* reporter);

// A message box whose text and title come from the catalogue.
MessageAnswer showCatalogMessage(int textId, int titleId, MessageIcon icon,
                                 MessageButtons buttons = MessageButtons::Ok,
                                 const QVariantList& arguments = {});

} // namespace tz4
