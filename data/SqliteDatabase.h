#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>

#include <chrono>
#include <functional>
#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace tz4 {

class SqliteDatabase;

// One prepared statement. Columns are found by name without regard to case, as the
// recordsets of the rest of the program expect.
class SqliteStatement {
public:
    SqliteStatement(SqliteDatabase& db, const QString& sql);
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&&) = delete;
    SqliteStatement(const SqliteStatement&) = delete;
    ~SqliteStatement();

    SqliteStatement& bind(int position, const QVariant& value); // 1-based; invalid or null -> NULL
    SqliteStatement& bind(int position, qint64 value);
    SqliteStatement& bind(int position, double value);
    SqliteStatement& bind(int position, const QString& value);
    SqliteStatement& bindNull(int position);

    // Runs to the next row; false when done. Errors throw.
    bool next();
    // For statements without rows.
    void run();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    int columnIndex(const QString& name) const; // -1 when absent
    bool isNull(int column) const;
    bool isNull(const QString& name) const;
    QVariant value(int column) const;
    QVariant value(const QString& name) const;
    qint64 toInt(int column, qint64 whenNull = 0) const;
    double toDouble(int column, double whenNull = 0) const;
    bool toBool(int column, bool whenNull = false) const;
    qint64 toInt(const QString& name, qint64 whenNull = 0) const;
    double toDouble(const QString& name, double whenNull = 0) const;
    QString toText(int column, const QString& whenNull = {}) const;
    QString toText(const QString& name, const QString& whenNull = {}) const;
    bool toBool(const QString& name, bool whenNull = false) const;
    // A stored date-time ('YYYY-MM-DD HH:MM:SS'); invalid for Null or unreadable text.
    QDateTime toDateTime(int column) const;
    QDateTime toDateTime(const QString& name) const;

private:
public:
    // The column of a name; a missing one is error 3265 ("Item not found in this collection").
    int requireColumn(const QString& name) const;

private:

    SqliteDatabase* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
    mutable QHash<QString, int> columns_;
};

// An open connection. Opening registers what the stored statements need from the engine:
// natural-log log() and the StDev aggregate. A connection that finds the database held by
// another process waits as DatabaseWait says, and a requested stop ends its statements.
class SqliteDatabase {
public:
    enum class Open { Existing, CreateIfMissing };
    explicit SqliteDatabase(const QString& path, Open mode = Open::Existing);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    const QString& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    // Native SQL, one or more statements.
    void exec(const QString& sql);
    SqliteStatement prepare(const QString& sql) { return SqliteStatement(*this, sql); }
    // A statement prepared once per connection and reset for every use: for the statements an
    // operation repeats for each of thousands of rows.
    SqliteStatement& cached(const QString& sql);

    // Statements in the stored dialect, translated by JetSql first.
    void execute(const QString& jetSql);
    SqliteStatement query(const QString& jetSql);
    // "Select Max(SeqNo) + 1 As MaxSeq From ...": the new key, 1 for an empty table.
    qint64 newKey(const QString& jetSql);

    // The alias under which a foreign file is attached (attached on first use). The engine
    // cannot attach inside a transaction: attach first when the work runs in one.
    QString attach(const QString& file);
    void detachAll();

    bool inTransaction() const;
    int changes() const;

    // Throws the engine failure of result code rc as a Tz4Error.
    [[noreturn]] void fail(int rc, const QString& sql) const;
    // Throws the failure of a requested stop when one was asked for.
    static void checkStop();

private:
    QString translate(const QString& jetSql);
    static int busy(void* self, int attempt);

    sqlite3* db_ = nullptr;
    std::chrono::steady_clock::time_point busySince_;
    QString path_;
    QHash<QString, QString> attached_; // file -> alias
    std::unordered_map<QString, std::unique_ptr<SqliteStatement>> cached_;
};

// Everything between construction and commit() is one unit: destroyed uncommitted, it rolls back.
// A write transaction takes the database's write lock at once (BEGIN IMMEDIATE), so its checks
// and changes see the same rows and a second writer waits; a read transaction sees one snapshot
// of the main database and writes at most the connection's temporary tables and attached files.
class SqliteTransaction {
public:
    enum class Kind { Write, Read };
    explicit SqliteTransaction(SqliteDatabase& db, Kind kind = Kind::Write);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    void commit();

private:
    SqliteDatabase& db_;
    bool open_ = true;
};

// Engine error numbers of the stored dialect that callers test for.
namespace dberr {
constexpr int DuplicateKey = 3022;
constexpr int CannotOpen = 3024;
constexpr int Syntax = 3075;
constexpr int TrailingText = 3142;
constexpr int TableNotFound = 3078;
constexpr int Corrupt = 3343;
constexpr int Engine = 3000;
// Another process held the database past the wait's time-out.
constexpr int Busy = 3218;
// A stop (Ctrl-C, SIGTERM) ended the statement; its transaction was rolled back.
constexpr int Interrupted = 3059;
} // namespace dberr

} // namespace tz4
