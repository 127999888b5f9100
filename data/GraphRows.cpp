#include "data/GraphRows.h"

#include "data/SqliteDatabase.h"

namespace tz4::GraphRows {

bool read(const QString& databaseName, int typeNo, const std::function<void(const SqliteStatement& row)>& take)
{
    SqliteDatabase db(databaseName);
    SqliteStatement row = db.prepare(QStringLiteral("SELECT * FROM Graphs WHERE TypeNo = ?"));
    row.bind(1, qint64(typeNo));
    if (!row.next())
        return false;
    take(row);
    return true;
}

void ensure(const QString& databaseName, int typeNo)
{
    SqliteDatabase db(databaseName);
    SqliteStatement exists = db.prepare(QStringLiteral("SELECT 1 FROM Graphs WHERE TypeNo = ?"));
    exists.bind(1, qint64(typeNo));
    if (exists.next())
        return;
    db.prepare(QStringLiteral("INSERT INTO Graphs(TypeNo) VALUES (?)")).bind(1, qint64(typeNo)).run();
}

void write(const QString& databaseName, int typeNo, const QList<std::pair<QString, QVariant>>& columns)
{
    if (columns.isEmpty())
        return;
    QStringList assignments;
    for (const auto& column : columns)
        assignments << column.first + QStringLiteral(" = ?");
    SqliteDatabase db(databaseName);
    SqliteStatement update =
        db.prepare(QStringLiteral("UPDATE Graphs SET %1 WHERE TypeNo = ?").arg(assignments.join(QStringLiteral(", "))));
    int position = 1;
    for (const auto& column : columns)
        update.bind(position++, column.second);
    update.bind(position, qint64(typeNo)).run();
}

} // namespace tz4::GraphRows
