#pragma once

#include "core/ErrorReporter.h"

namespace tz4::gui {

// Shows every message of the program in a modal message box.
class MessageBoxReporter final : public ErrorReporter {
public:
    MessageAnswer showMessage(const QString& text, const QString& title, MessageIcon icon,
                              MessageButtons buttons) override;
    // Once stopping, messages go to standard error and questions are answered No.
    void stopAsking() override;

private:
    bool stopping_ = false;
};

} // namespace tz4::gui
