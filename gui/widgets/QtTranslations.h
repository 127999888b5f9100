#pragma once

namespace tz4::gui {

// Qt's own texts (the buttons of message boxes, the file and font dialogs) in the interface's
// language; English needs nothing. True when they were found and installed.
bool installQtTranslations();

} // namespace tz4::gui
