#include "core/DataDirectory.h"

#include "core/Tz4Error.h"

#include <QDir>
#include <QStandardPaths>

namespace tz4 {

namespace {
QString& current()
{
    static QString path;
    return path;
}
} // namespace

QString resolveDataDirectory(const QString& homeOption)
{
    if (!homeOption.isEmpty())
        return QDir(homeOption).absolutePath();
    const QString fromEnvironment = qEnvironmentVariable("TZ4_HOME");
    if (!fromEnvironment.isEmpty())
        return QDir(fromEnvironment).absolutePath();
    // Independent of the executable's name, so the program and its tools share one folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tz4");
}

void setDataDirectory(const QString& path)
{
    const QString absolute = QDir(path).absolutePath();
    if (!QDir().mkpath(absolute))
        throw Tz4Error(err::PathNotFound, QStringLiteral("Path not found: %1").arg(QDir::toNativeSeparators(absolute)));
    current() = absolute;
}

QString dataDirectory()
{
    if (current().isEmpty())
        current() = resolveDataDirectory();
    return current();
}

QString dataFilePath(const QString& fileName)
{
    return QDir(dataDirectory()).filePath(fileName);
}

} // namespace tz4
