#include "gui/datawin/DataWindowOpener.h"
#include "gui/datawin/DataWindow.h"

#include "core/Keys.h"

namespace tz4::gui {

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
