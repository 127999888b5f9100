#pragma once

#include "data/SqliteDatabase.h"

#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <cstdlib>

namespace tz4::fuzz {

// A throw-away database file that the code under test opens by its path as often as it likes.
// Copying the whole file for every input cost more than the import under test; instead the
// harness keeps a connection open, sees through it whether an input committed anything, and
// only then copies the pristine pages back.
class ScratchDatabase {
public:
    // `path` is the database file to start from; it becomes the scratch database.
    explicit ScratchDatabase(const QString& path)
        : path_(path), pristine_(QStringLiteral(":memory:"), SqliteDatabase::Open::CreateIfMissing), db_(path)
    {
        copy(db_, pristine_);
        version_ = dataVersion();
    }

    const QString& path() const { return path_; }
    // The harness's own connection, for the checks after an input.
    SqliteDatabase& db() { return db_; }

    // Whether no other connection committed anything since the last reset.
    bool unchanged() { return dataVersion() == version_; }

    void reset()
    {
        if (unchanged())
            return;
        copy(pristine_, db_);
        version_ = dataVersion();
    }

    // Empties `tables` and takes that as the pristine state again: cheaper than copying the pages
    // back, once the checks have shown that nothing else changed and the tables started empty.
    void empty(const QStringList& tables)
    {
        for (const QString& table : tables)
            db_.cached(QStringLiteral("DELETE FROM ") + table).run();
        version_ = dataVersion();
    }

private:
    static void copy(SqliteDatabase& from, SqliteDatabase& to)
    {
        sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
        if (!backup || sqlite3_backup_step(backup, -1) != SQLITE_DONE || sqlite3_backup_finish(backup) != SQLITE_OK)
            std::abort();
    }

    qint64 dataVersion()
    {
        SqliteStatement& version = db_.cached(QStringLiteral("PRAGMA data_version"));
        if (!version.next())
            std::abort();
        const qint64 value = version.toInt(0);
        version.reset();
        return value;
    }

    QString path_;
    SqliteDatabase pristine_;
    SqliteDatabase db_;
    qint64 version_ = 0;
};

} // namespace tz4::fuzz
