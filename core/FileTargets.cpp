#include "core/FileTargets.h"

#include "core/ErrorTrap.h"
#include "core/Tz4Error.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <filesystem>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tz4 {

namespace {

std::filesystem::path native(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

bool sameFile(const QString& first, const QString& second)
{
    std::error_code error;
    return std::filesystem::equivalent(native(first), native(second), error) && !error;
}

void refuseUnlessRegular(const QString& path)
{
    std::error_code error;
    const auto type = std::filesystem::status(native(path), error).type();
    if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::regular)
        return;
    if (type == std::filesystem::file_type::directory)
        throw Tz4Error(err::PathFileAccess, QStringLiteral("'%1' is a folder; name a file in it.").arg(path));
    throw Tz4Error(err::PathFileAccess,
                   QStringLiteral("'%1' is not a regular file (a device, a pipe or a socket); it is not replaced.").arg(path));
}

namespace {

Tz4Error notWritten(const QString& path, const QFileDevice& file)
{
    // A write that runs out of room shows as a resource error: on a file that is a full disk.
    const int number = file.error() == QFileDevice::ResourceError ? err::DiskFull : fileError(file).number();
    return Tz4Error(number, QStringLiteral("'%1' could not be written: %2").arg(path, file.errorString()));
}

} // namespace

void writeWholeFile(const QString& path, const QByteArray& bytes)
{
    refuseUnlessRegular(path);
    const QFileInfo target(path);
    QFile part;
    // A fresh name beside the target, so that the rename stays on one disk.
    for (int attempt = 0;; ++attempt) {
        part.setFileName(target.absoluteDir().filePath(QStringLiteral(".%1.%2.part")
                                                           .arg(target.fileName())
                                                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
        if (part.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (!QFileInfo::exists(part.fileName()) || attempt >= 20)
            throw notWritten(path, part);
    }
    if (target.exists())
        part.setPermissions(QFile::permissions(path));
    bool renamed = false;
    const auto removePart = qScopeGuard([&] {
        if (!renamed)
            QFile::remove(part.fileName());
    });
    // A short write is followed by another, which names the cause (a full disk ...).
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = part.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            throw notWritten(path, part);
        done += written;
    }
    if (!part.flush())
        throw notWritten(path, part);
#ifdef Q_OS_UNIX
    // The data is on the disk before the name points at it: a crash leaves the old file or the new.
    if (::fsync(part.handle()) != 0)
        throw Tz4Error(errno == ENOSPC ? err::DiskFull : err::DeviceIoError,
                       QStringLiteral("'%1' could not be written: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
#endif
    part.close();
    if (part.error() != QFileDevice::NoError)
        throw notWritten(path, part);
    // Checked again just before: whatever appeared under the name meanwhile must be a file too.
    refuseUnlessRegular(path);
    std::error_code error;
    std::filesystem::rename(native(part.fileName()), native(path), error);
    if (error)
        throw Tz4Error(err::PermissionDenied,
                       QStringLiteral("'%1' could not be written: %2").arg(path, QString::fromStdString(error.message())));
    renamed = true;
}

} // namespace tz4
