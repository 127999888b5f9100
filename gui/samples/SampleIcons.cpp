#include "gui/samples/SampleIcons.h"

#include <QFile>
#include <QHash>

namespace tz4::gui {

namespace {

QString iconPath(const QString& name) { return QStringLiteral(":/tz4/icons/samples/") + name + QStringLiteral(".svg"); }

} // namespace

QIcon sampleIcon(const QString& imageName)
{
    static QHash<QString, QIcon> icons;
    if (const auto found = icons.constFind(imageName); found != icons.constEnd())
        return *found;
    // The folder combo's small folder is the tree's closed folder.
    const QString name = imageName == QLatin1String("SmallClose") ? QStringLiteral("CloseFolder") : imageName;
    const QIcon icon = QFile::exists(iconPath(name)) ? QIcon(iconPath(name)) : QIcon();
    icons.insert(imageName, icon);
    return icon;
}

QPixmap dragPointer(bool copy)
{
    return QIcon(iconPath(copy ? QStringLiteral("DragCopy") : QStringLiteral("DragMove"))).pixmap(32, 32);
}

} // namespace tz4::gui
