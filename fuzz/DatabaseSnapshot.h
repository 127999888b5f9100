#pragma once

#include "data/SqliteDatabase.h"

#include <QString>
#include <QStringList>

namespace tz4::fuzz {

// The schema and every row of every table except `skip`, as one text: two snapshots are equal
// exactly when nothing outside `skip` changed. The queries are prepared once per connection:
// parsing them again for every input cost more than the parser under test.
inline QString snapshot(SqliteDatabase& db, const QStringList& skip = {})
{
    QString out;
    QStringList tables;
    {
        SqliteStatement& schema = db.cached(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"));
        while (schema.next()) {
            out += schema.value(0).toString() + u' ' + schema.value(1).toString() + u' ' + schema.value(2).toString() + u'\n';
            if (schema.value(0).toString() == QLatin1String("table"))
                tables << schema.value(1).toString();
        }
    }
    for (const QString& table : tables) {
        if (skip.contains(table, Qt::CaseInsensitive))
            continue;
        QString quoted = table;
        quoted.replace(u'"', QStringLiteral("\"\""));
        // A table that is not one of the harness's own is a finding anyway; the cache stays as
        // small as the schema.
        SqliteStatement& rows = db.cached(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(quoted));
        out += table + u'\n';
        while (rows.next()) {
            for (int c = 0; c < rows.columnCount(); ++c)
                out += rows.value(c).toString() + u'|';
            out += u'\n';
        }
    }
    return out;
}

inline QString integrityCheck(SqliteDatabase& db)
{
    SqliteStatement& check = db.cached(QStringLiteral("PRAGMA integrity_check"));
    QString out;
    while (check.next())
        out += check.value(0).toString();
    return out;
}

// One row in every table that has no other rows, so that a stray Delete or Drop shows.
inline void addSentinelRows(SqliteDatabase& db)
{
    for (const char* table : {"Setting", "Datas", "FAT", "Thicks"})
        db.exec(QStringLiteral("INSERT INTO %1(SeqNo) VALUES (1)").arg(QLatin1String(table)));
    db.exec(QStringLiteral("INSERT INTO Graphs(TypeNo) VALUES (0)"));
}

} // namespace tz4::fuzz
