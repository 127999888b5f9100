#include "data/SqliteDatabase.h"

#include "core/Tz4Error.h"
#include "data/DatabaseWait.h"
#include "data/JetSql.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <cmath>

namespace tz4 {

namespace {

// The stored statements use log() as the natural logarithm (SQLite's own is base 10).
void naturalLog(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const double x = sqlite3_value_double(argv[0]);
    if (x <= 0) {
        sqlite3_result_error(ctx, "Invalid procedure call or argument", -1);
        return;
    }
    sqlite3_result_double(ctx, std::log(x));
}

// Sample standard deviation; Null below two values, like the aggregate the statements expect.
struct StDevState {
    qint64 n;
    double mean;
    double m2;
};

void stdevStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    auto* s = static_cast<StDevState*>(sqlite3_aggregate_context(ctx, sizeof(StDevState)));
    if (!s)
        return;
    const double x = sqlite3_value_double(argv[0]);
    ++s->n;
    const double delta = x - s->mean;
    s->mean += delta / double(s->n);
    s->m2 += delta * (x - s->mean);
}

void stdevFinal(sqlite3_context* ctx)
{
    auto* s = static_cast<StDevState*>(sqlite3_aggregate_context(ctx, 0));
    if (!s || s->n < 2) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_double(ctx, std::sqrt(s->m2 / double(s->n - 1)));
}

// Virtual-machine steps between two looks at a requested stop.
constexpr int kStopCheckSteps = 1000;

int engineNumber(int rc, const QString& message, const QString& sql)
{
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        return dberr::DuplicateKey;
    case SQLITE_CANTOPEN:
        return dberr::CannotOpen;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return dberr::Corrupt;
    case SQLITE_FULL:
        return err::DiskFull;
    case SQLITE_IOERR:
        return err::DeviceIoError;
    case SQLITE_NOMEM:
        return err::OutOfMemory;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return err::PermissionDenied;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return dberr::Busy;
    case SQLITE_INTERRUPT:
        return dberr::Interrupted;
    default:
        break;
    }
    if (message.startsWith(QLatin1String("no such table"))) {
        return sql.trimmed().startsWith(QLatin1String("drop"), Qt::CaseInsensitive)
            ? err::TableNotFound
            : dberr::TableNotFound;
    }
    if (message.contains(QLatin1String("syntax error")))
        return dberr::Syntax;
    return dberr::Engine;
}

} // namespace

SqliteDatabase::SqliteDatabase(const QString& path, Open mode) : path_(path)
{
    if (mode == Open::Existing && !QFileInfo::exists(path))
        throw Tz4Error(dberr::CannotOpen, QStringLiteral("Could not find file '%1'.").arg(path));
    int flags = SQLITE_OPEN_READWRITE;
    if (mode == Open::CreateIfMissing)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        sqlite3_close(db_);
        db_ = nullptr;
        throw Tz4Error(engineNumber(rc, message, {}), QStringLiteral("%1: '%2'").arg(message, path));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_handler(db_, &SqliteDatabase::busy, this);
    // A stop asked for during a long statement ends it within a moment.
    sqlite3_progress_handler(db_, kStopCheckSteps, [](void*) { return DatabaseWait::stopRequested() ? 1 : 0; }, nullptr);
    sqlite3_create_function(db_, "log", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, naturalLog, nullptr, nullptr);
    sqlite3_create_function(db_, "stdev", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr, stdevStep, stdevFinal);
}

SqliteDatabase::~SqliteDatabase()
{
    cached_.clear();
    sqlite3_close_v2(db_);
}

int SqliteDatabase::busy(void* self, int attempt)
{
    return DatabaseWait::waitOnce(attempt, static_cast<SqliteDatabase*>(self)->busySince_) ? 1 : 0;
}

void SqliteDatabase::checkStop()
{
    if (DatabaseWait::stopRequested())
        throw Tz4Error(dberr::Interrupted, QStringLiteral("Stopped on request; the operation was not completed."));
}

void SqliteDatabase::fail(int rc, const QString& sql) const
{
    // Failures outside a statement (the session and changeset calls) leave the connection's
    // own message at "not an error".
    const QString message = sqlite3_errcode(db_) == SQLITE_OK ? QString::fromUtf8(sqlite3_errstr(rc))
                                                              : QString::fromUtf8(sqlite3_errmsg(db_));
    QString description = message;
    int number = engineNumber(rc, message, sql);
    // A wait for another program's lock ends early on a stop: that is the failure to report.
    if (number == dberr::Busy && DatabaseWait::stopRequested())
        number = dberr::Interrupted;
    if (number == dberr::Busy)
        description = QStringLiteral("The database is in use by another program and stayed so past the wait of %1 s (%2)")
                          .arg(std::chrono::duration_cast<std::chrono::seconds>(DatabaseWait::timeOut()).count())
                          .arg(message);
    else if (number == dberr::Interrupted)
        description = QStringLiteral("Stopped on request; the operation was not completed.");
    if (!sql.isEmpty() && number != dberr::Interrupted)
        description += QStringLiteral(" [%1]").arg(sql);
    throw Tz4Error(number, description);
}

void SqliteDatabase::exec(const QString& sql)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        fail(rc, sql);
}

QString SqliteDatabase::translate(const QString& jetSql)
{
    return JetSql::translate(jetSql, [this](const QString& file) { return attach(file); });
}

void SqliteDatabase::execute(const QString& jetSql)
{
    // One statement, run as a whole: a second one after it would run even when it then fails,
    // leaving the first applied.
    SqliteStatement statement(*this, translate(jetSql));
    statement.run();
}

SqliteStatement SqliteDatabase::query(const QString& jetSql)
{
    return SqliteStatement(*this, translate(jetSql));
}

SqliteStatement& SqliteDatabase::cached(const QString& sql)
{
    auto it = cached_.find(sql);
    if (it == cached_.end())
        it = cached_.emplace(sql, std::make_unique<SqliteStatement>(*this, sql)).first;
    it->second->reset();
    return *it->second;
}

qint64 SqliteDatabase::newKey(const QString& jetSql)
{
    SqliteStatement st = query(jetSql);
    if (!st.next())
        return 1;
    return st.isNull(0) ? 1 : st.value(0).toLongLong();
}

QString SqliteDatabase::attach(const QString& file)
{
    const QString canonical = QFileInfo(file).absoluteFilePath();
    if (auto it = attached_.constFind(canonical); it != attached_.constEnd())
        return *it;
    if (!QFileInfo::exists(canonical))
        throw Tz4Error(dberr::CannotOpen, QStringLiteral("Could not find file '%1'.").arg(file));
    const QString alias = QStringLiteral("ext%1").arg(attached_.size() + 1);
    SqliteStatement st(*this, QStringLiteral("ATTACH DATABASE ? AS ") + alias);
    st.bind(1, canonical);
    st.run();
    attached_.insert(canonical, alias);
    return alias;
}

void SqliteDatabase::detachAll()
{
    for (const QString& alias : std::as_const(attached_))
        exec(QStringLiteral("DETACH DATABASE ") + alias);
    attached_.clear();
}

bool SqliteDatabase::inTransaction() const
{
    return sqlite3_get_autocommit(db_) == 0;
}

int SqliteDatabase::changes() const
{
    return sqlite3_changes(db_);
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db, Kind kind) : db_(db)
{
    db_.exec(kind == Kind::Write ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
}

SqliteTransaction::~SqliteTransaction()
{
    if (open_)
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit()
{
    db_.exec(QStringLiteral("COMMIT"));
    open_ = false;
}

} // namespace tz4
