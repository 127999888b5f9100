#include "data/CalibrationLine.h"

#include "data/SqliteDatabase.h"

#include <QStringList>

namespace tz4 {

void rebuildCalibrationLinePoints(SqliteDatabase& db, qint32 lineSeqNo)
{
    db.execute(QStringLiteral("Delete From Datas Where SerialNo=%1;").arg(lineSeqNo));
    QList<qint64> members;
    {
        SqliteStatement rows = db.query(QStringLiteral("Select * From Thicks Where AdjNo=%1;").arg(lineSeqNo));
        while (rows.next())
            members << rows.toInt(QStringLiteral("DataNo"));
    }
    SqliteStatement insert = db.prepare(QStringLiteral(
        "Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) "
        "Values (?,?,?,?,?,?,?,?,?);"));
    for (const qint64 member : members) {
        qint64 key = db.newKey(QStringLiteral("Select Max(SeqNo) + 1 As MaxSeq From Datas;"));
        SqliteStatement points = db.query(QStringLiteral("Select * From Datas Where SerialNo=%1;").arg(member));
        while (points.next()) {
            insert.bind(1, key++)
                .bind(2, qint64(lineSeqNo))
                .bind(3, points.toInt(QStringLiteral("SeqNo")))
                .bind(4, points.value(QStringLiteral("xPoint")))
                .bind(5, points.value(QStringLiteral("yPoint")))
                .bind(6, points.value(QStringLiteral("CpsData")))
                .bind(7, points.value(QStringLiteral("aData")))
                .bind(8, points.value(QStringLiteral("G_Flag")))
                .bind(9, points.value(QStringLiteral("F_Flag")));
            insert.run();
            insert.reset();
        }
    }
}

} // namespace tz4
