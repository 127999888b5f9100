#pragma once

#include "RecordFixture.h"
#include "tests/support/TestSupport.h"

#include <QStringList>

namespace tz4::test {

// A database with folders and records written row by row, and a full dump of the four
// tables the operations touch, to see that a refused or failed operation changed nothing.
class SampleDatabase : public RecordDatabase {
protected:
    void folder(int seqNo, const QString& name, int parent = 0, int recycled = 0) const
    {
        exec(QStringLiteral("Insert Into FAT(SeqNo,Name,MakeDate,Parent,Recycled) Values (%1,'%2',#2020-01-02 03:04:05#,%3,%4);")
                 .arg(seqNo)
                 .arg(QString(name).replace(QLatin1Char('\''), QStringLiteral("''")))
                 .arg(parent)
                 .arg(recycled));
    }

    // A record of kind `modes` with `points` points keyed from `firstPoint` upwards.
    void record(int seqNo, int modes, const QString& name, int parent = 0, int points = 3, int firstPoint = 0,
                int adjustNo = 0, int recycled = 0) const
    {
        exec(QStringLiteral("Insert Into Setting(SeqNo,SampleName,DataTime,Modes,Parent,Recycled,AdjustNo,MeasLight) "
                            "Values (%1,'%2',#2021-06-07 08:09:10#,%3,%4,%5,%6,12.5);")
                 .arg(seqNo)
                 .arg(QString(name).replace(QLatin1Char('\''), QStringLiteral("''")))
                 .arg(modes)
                 .arg(parent)
                 .arg(recycled)
                 .arg(adjustNo));
        const int first = firstPoint > 0 ? firstPoint : seqNo * 100;
        for (int i = 0; i < points; ++i)
            exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) "
                                "Values (%1,%2,%3,0,0,%4,%5,False,True);")
                     .arg(first + i)
                     .arg(seqNo)
                     .arg(400 + 5 * i)
                     .arg(10.0 * (i + 1))
                     .arg(i));
    }

    void member(int seqNo, int line, int data) const
    {
        exec(QStringLiteral("Insert Into Thicks(SeqNo,AdjNo,DataNo) Values (%1,%2,%3);").arg(seqNo).arg(line).arg(data));
    }

    QStringList dump(const QString& file = {}) const
    {
        SqliteDatabase db(file.isEmpty() ? path : file);
        QStringList rows;
        for (const char* table : {"FAT", "Setting", "Datas", "Thicks"}) {
            SqliteStatement st = db.prepare(QStringLiteral("Select * From %1 Order By SeqNo").arg(QLatin1String(table)));
            while (st.next()) {
                QStringList values{QLatin1String(table)};
                for (int c = 0; c < st.columnCount(); ++c)
                    values << st.value(c).toString();
                rows << values.join(QLatin1Char('|'));
            }
        }
        return rows;
    }

    bool intact(const QString& file = {}) const
    {
        SqliteDatabase db(file.isEmpty() ? path : file);
        SqliteStatement st = db.prepare(QStringLiteral("PRAGMA integrity_check"));
        return st.next() && st.value(0).toString() == QLatin1String("ok");
    }

    qint64 count(const QString& sql) const { return scalar(sql).toLongLong(); }
};

} // namespace tz4::test
