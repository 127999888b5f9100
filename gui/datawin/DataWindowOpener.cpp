#include "gui/datawin/DataWindowOpener.h"
#include "gui/datawin/DataWindow.h"

#include "core/ErrorReporter.h"
#include "core/Keys.h"
#include "core/MessageIds.h"
#include "datawin/DataWindowControl.h"

#include <QApplication>

namespace tz4::gui {

bool newRecordWindowOpen()
{
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* window = qobject_cast<DataWindow*>(widget);
            window && window->control().selected() && window->control().isMeasurementWindow()
            && window->control().selected()->SeqNo() == 0)
            return true;
    return false;
}

QList<DataWindow*> openDataWindows(const QString& databasePath, const QStringList& keys, MainControl* main,
                                   const std::function<void(QWidget*)>& addChild)
{
    QStringList stored, fresh;
    for (const QString& key : keys)
        (GetKeySeq(key) == 0 ? fresh : stored) << key;
    QList<QString> lists;
    if (!stored.isEmpty())
        lists << joinKeyList(stored);
    for (const QString& key : fresh)
        lists << joinKeyList({key});

    QList<DataWindow*> opened;
    for (const QString& list : lists) {
        // One new record at a time: two windows measuring new records would compete for
        // one instrument.
        if (GetKeySeq(list) == 0 && newRecordWindowOpen()) {
            showCatalogMessage(msg::MeasurementAlreadyStarted, msg::MeasureFormTitle, MessageIcon::Information);
            continue;
        }
        auto* window = new DataWindow(databasePath, list, main);
        if (!window->hasRecords()) {
            delete window;
            continue;
        }
        addChild(window);
        opened << window;
    }
    return opened;
}

} // namespace tz4::gui
