#include "data/SqliteDatabase.h"

#include "core/Tz4Error.h"
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
    sqlite3_busy_timeout(db_, 2000);
    sqlite3_create_function(db_, "log", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, naturalLog, nullptr, nullptr);
    sqlite3_create_function(db_, "stdev", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr, stdevStep, stdevFinal);
}

SqliteDatabase::~SqliteDatabase()
{
    cached_.clear();
    sqlite3_close_v2(db_);
}

void SqliteDatabase::fail(int rc, const QString& sql) const
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    QString description = message;
    if (!sql.isEmpty())
        description += QStringLiteral(" [%1]").arg(sql);
    throw Tz4Error(engineNumber(rc, message, sql), description);
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

SqliteStatement::SqliteStatement(SqliteDatabase& db, const QString& sql) : db_(&db), sql_(sql)
{
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &stmt_, &tail);
    if (rc != SQLITE_OK)
        db.fail(rc, sql);
    if (!stmt_)
        throw Tz4Error(dberr::Syntax, QStringLiteral("Empty statement [%1]").arg(sql));
    // Only blanks, semicolons and comments may follow the statement.
    const char* const end = utf8.constData() + utf8.size();
    while (tail && tail < end) {
        sqlite3_stmt* next = nullptr;
        const char* after = nullptr;
        const int more = sqlite3_prepare_v2(db.handle(), tail, int(end - tail), &next, &after);
        sqlite3_finalize(next);
        if (more != SQLITE_OK || next) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw Tz4Error(dberr::TrailingText, QStringLiteral("Characters found after end of SQL statement. [%1]").arg(sql));
        }
        if (after == tail)
            break;
        tail = after;
    }
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), sql_(std::move(other.sql_)), columns_(std::move(other.columns_))
{
    other.stmt_ = nullptr;
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(stmt_);
}

SqliteStatement& SqliteStatement::bind(int position, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return bindNull(position);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return bind(position, value.toLongLong());
    case QMetaType::Float:
    case QMetaType::Double:
        return bind(position, value.toDouble());
    default:
        return bind(position, value.toString());
    }
}

SqliteStatement& SqliteStatement::bind(int position, qint64 value)
{
    if (int rc = sqlite3_bind_int64(stmt_, position, value); rc != SQLITE_OK)
        db_->fail(rc, sql_);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int position, double value)
{
    if (int rc = sqlite3_bind_double(stmt_, position, value); rc != SQLITE_OK)
        db_->fail(rc, sql_);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int position, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    if (int rc = sqlite3_bind_text(stmt_, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT); rc != SQLITE_OK)
        db_->fail(rc, sql_);
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int position)
{
    if (int rc = sqlite3_bind_null(stmt_, position); rc != SQLITE_OK)
        db_->fail(rc, sql_);
    return *this;
}

bool SqliteStatement::next()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    db_->fail(rc, sql_);
}

void SqliteStatement::run()
{
    while (next()) {
    }
}

void SqliteStatement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

int SqliteStatement::columnIndex(const QString& name) const
{
    if (columns_.isEmpty()) {
        // The first column of a name wins, as with a joined recordset.
        for (int i = columnCount() - 1; i >= 0; --i)
            columns_.insert(columnName(i).toLower(), i);
    }
    return columns_.value(name.toLower(), -1);
}

int SqliteStatement::requireColumn(const QString& name) const
{
    const int column = columnIndex(name);
    if (column < 0)
        throw Tz4Error(err::ItemNotFound, QStringLiteral("Item not found in this collection: %1").arg(name));
    return column;
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

bool SqliteStatement::isNull(const QString& name) const
{
    return isNull(requireColumn(name));
}

QVariant SqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, column));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                                          sqlite3_column_bytes(stmt_, column)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt_, column)),
                                   sqlite3_column_bytes(stmt_, column)));
    default:
        return {};
    }
}

QVariant SqliteStatement::value(const QString& name) const
{
    return value(requireColumn(name));
}

qint64 SqliteStatement::toInt(const QString& name, qint64 whenNull) const
{
    return toInt(requireColumn(name), whenNull);
}

double SqliteStatement::toDouble(const QString& name, double whenNull) const
{
    return toDouble(requireColumn(name), whenNull);
}

bool SqliteStatement::toBool(const QString& name, bool whenNull) const
{
    return toBool(requireColumn(name), whenNull);
}

qint64 SqliteStatement::toInt(int column, qint64 whenNull) const
{
    if (isNull(column))
        return whenNull;
    if (sqlite3_column_type(stmt_, column) == SQLITE_FLOAT)
        return qint64(std::nearbyint(sqlite3_column_double(stmt_, column))); // halves to even
    return sqlite3_column_int64(stmt_, column);
}

double SqliteStatement::toDouble(int column, double whenNull) const
{
    return isNull(column) ? whenNull : sqlite3_column_double(stmt_, column);
}

QString SqliteStatement::toText(const QString& name, const QString& whenNull) const
{
    const int column = requireColumn(name);
    return isNull(column) ? whenNull : value(column).toString();
}

bool SqliteStatement::toBool(int column, bool whenNull) const
{
    return isNull(column) ? whenNull : sqlite3_column_double(stmt_, column) != 0;
}

QDateTime SqliteStatement::toDateTime(const QString& name) const
{
    const int column = requireColumn(name);
    return isNull(column) ? QDateTime() : JetSql::fromStoredDate(value(column).toString());
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : db_(db)
{
    db_.exec(QStringLiteral("BEGIN IMMEDIATE"));
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
