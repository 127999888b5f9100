#pragma once

#include "core/ErrorReporter.h"

namespace tz4::gui {

// Shows every message of the program in a modal message box.
class MessageBoxReporter final : public ErrorReporter {
public:
    MessageAnswer showMessage(const QString& text, const QString& title, MessageIcon icon,
                              MessageButtons buttons) override;
};

} // namespace tz4::gui
