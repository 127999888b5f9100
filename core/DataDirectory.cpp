#include "core/DataDirectory.h"

#include "core/Tz4Error.h"

#include <QDir>
#include <QFileInfo>
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

void useExistingDataDirectory(const QString& path)
{
    const QString absolute = QDir(path).absolutePath();
    if (!QFileInfo(absolute).isDir())
        throw Tz4Error(err::PathNotFound, QStringLiteral("the data directory %1 does not exist (tz4 init creates it)")
                                              .arg(QDir::toNativeSeparators(absolute)));
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

bool isDataDirectoryFile(const QString& path)
{
    // The database's journal files belong to it as much as the file itself.
    static const QStringList names{QStringLiteral("TZ4Sys.ini"), QStringLiteral("TZ4.mdb"),
                                   QStringLiteral("TZ4.mdb-journal"), QStringLiteral("TZ4.mdb-wal"),
                                   QStringLiteral("TZ4.mdb-shm"), QStringLiteral("PrintFormat.Dat"),
                                   QStringLiteral("Caution.log"), QStringLiteral("TZ4Serial.Log")};
    const QFileInfo target(path);
    const QString home = QFileInfo(dataDirectory()).canonicalFilePath();
    if (home.isEmpty())
        return false;
    // The same directory under another spelling, or a link that ends at one of the files.
    const QString folder = QFileInfo(target.absolutePath()).canonicalFilePath();
    if (folder == home && names.contains(target.fileName()))
        return true;
    const QString resolved = target.canonicalFilePath();
    if (resolved.isEmpty())
        return false;
    for (const QString& name : names)
        if (resolved == QFileInfo(QDir(home).filePath(name)).canonicalFilePath())
            return true;
    return false;
}

} // namespace tz4
