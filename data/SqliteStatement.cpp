#include "data/SqliteDatabase.h"

#include "core/Tz4Error.h"
#include "data/JetSql.h"

#include <sqlite3.h>

#include <cmath>
#include <utility>

// One prepared statement: binding, stepping and reading its columns.
namespace tz4 {

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
    SqliteDatabase::checkStop();
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

QString SqliteStatement::toText(int column, const QString& whenNull) const
{
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
        return whenNull;
    case SQLITE_TEXT: // most text columns: read straight, not through a variant
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                                 sqlite3_column_bytes(stmt_, column));
    default:
        return value(column).toString();
    }
}

QString SqliteStatement::toText(const QString& name, const QString& whenNull) const
{
    return toText(requireColumn(name), whenNull);
}

bool SqliteStatement::toBool(int column, bool whenNull) const
{
    return isNull(column) ? whenNull : sqlite3_column_double(stmt_, column) != 0;
}

QDateTime SqliteStatement::toDateTime(int column) const
{
    return isNull(column) ? QDateTime() : JetSql::fromStoredDate(toText(column));
}

QDateTime SqliteStatement::toDateTime(const QString& name) const
{
    return toDateTime(requireColumn(name));
}

} // namespace tz4
