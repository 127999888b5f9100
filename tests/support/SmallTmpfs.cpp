#include "tests/support/SmallTmpfs.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace tz4::test {

SmallTmpfs::SmallTmpfs(qint64 bytes)
{
    if (!dir_.isValid()) {
        why_ = QStringLiteral("no temporary directory");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
        why_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    mounted_ = true;
}

SmallTmpfs::~SmallTmpfs()
{
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

qint64 SmallTmpfs::available() const
{
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(dir_.path()).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

void SmallTmpfs::fill(qint64 leave)
{
    QFile filler(filePath(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::Append))
        return;
    const QByteArray block(4096, 'x');
    while (available() > leave) {
        const qint64 step = std::min<qint64>(block.size(), available() - leave);
        if (filler.write(block.constData(), step) != step || !filler.flush())
            break;
    }
}

void SmallTmpfs::release()
{
    QFile::remove(filePath(QStringLiteral(".filler")));
}

} // namespace tz4::test
