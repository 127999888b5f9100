#pragma once

namespace tz4 {

enum class MessageIcon;

// The three classes a trapped error number falls into; each has its own message box.
enum class ErrorClass { System, Application, Trappable };

ErrorClass ErrorLevel(int errorNumber);

struct ErrorClassMessage {
    int promptId; // takes window name, label and description as ~1, ~2, ~3
    int titleId;
    MessageIcon icon;
};

ErrorClassMessage errorClassMessage(ErrorClass errorClass);

} // namespace tz4
