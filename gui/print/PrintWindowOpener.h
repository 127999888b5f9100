#pragma once

#include <QStringList>

namespace tz4::gui {

class MainWindow;
class PrintWindow;

// Opens the print window on the records named by `keys` (as "3 W"; the first one's table
// and values are printed) as a child of the frame on its task bar, with template
// `templateNo` or, when negative, the default template of the first record's kind. Returns
// the window, or null when no key named a stored record (that has been said).
PrintWindow* openPrintWindow(MainWindow& frame, const QStringList& keys, qint32 templateNo = -1);

} // namespace tz4::gui
