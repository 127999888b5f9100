#pragma once

#include <QList>
#include <QStringList>

#include <functional>

class QWidget;

namespace tz4 {
class MainControl;
}

namespace tz4::gui {

class DataWindow;

// True while a data window holds a record that has not been stored yet.
bool newRecordWindowOpen();

// Opens data windows for record keys as the window program's --open gives them: the stored
// records together in one window, each new record ("0 W") in a measurement window of its own.
// `addChild` puts each window into the frame. Windows whose keys all named missing records
// are closed again (the reason has been shown). A new record is refused with "Already
// started" while another window holds one not yet stored.
QList<DataWindow*> openDataWindows(const QString& databasePath, const QStringList& keys, MainControl* main,
                                   const std::function<void(QWidget*)>& addChild);

} // namespace tz4::gui
