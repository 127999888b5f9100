#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tz4::test {

// A small tmpfs mounted on a fresh directory, for real full-disk failures; unmounted when it
// goes. Mounting needs root: a test checks mounted() and skips, saying why(), when it could not.
class SmallTmpfs {
public:
    explicit SmallTmpfs(qint64 bytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    const QString& why() const { return why_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Bytes still free.
    qint64 available() const;
    // Fills the file system with a filler file until at most `leave` bytes are free.
    void fill(qint64 leave = 0);
    // Gives the filler's space back.
    void release();

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString why_;
};

} // namespace tz4::test

// Skips the test when no tmpfs could be mounted.
#define TZ4_REQUIRE_TMPFS(disk)                                                                                       \
    if (!(disk).mounted())                                                                                           \
    GTEST_SKIP() << "a small tmpfs is needed for a real full disk and cannot be mounted here: "                     \
                 << (disk).why().toStdString()
