#pragma once

#include <QByteArray>
#include <QString>

namespace tz4 {

// True when both paths name one file, also through a hard link, a symbolic link or another
// spelling of its folder; false when either does not exist.
bool sameFile(const QString& first, const QString& second);

// Refuses (Tz4Error) a target name that holds something other than a regular file: a file
// written beside it and renamed onto it would destroy a device, a pipe or a socket.
void refuseUnlessRegular(const QString& path);

// Writes `bytes` as the file `path`, whole or not at all: into a new file beside it, checked
// write by write, flushed to the disk, then renamed over the old one. A failure (a full disk,
// no permission, a target that is no regular file) throws Tz4Error with the file's error number
// and reason, keeps the old file as it was and leaves nothing behind. (QSaveFile is not used:
// it can report success after a failed write and replace the old file with a cut one.)
void writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace tz4
