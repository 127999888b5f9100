#pragma once

#include <QString>

namespace tz4::gui {

class MainWindow;
class SampleManagerWindow;

// The sample manager in the frame: the open one brought to the front, or a new one opened on
// the database (with its remembered place). There is one per frame.
SampleManagerWindow* openSampleManager(MainWindow& frame, const QString& databasePath);

} // namespace tz4::gui
