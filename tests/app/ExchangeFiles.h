#pragma once

#include "data/DatabaseSchema.h"
#include "data/SqliteDatabase.h"

#include <QString>

namespace tz4::test {

// An exchange file holding one folder with `records` work-function records of `points` points
// each, made straight in SQL so that a large one takes a moment only.
inline bool writeExchangeFile(const QString& path, int records, int points)
{
    if (!MakeDB(path))
        return false;
    SqliteDatabase db(path);
    db.exec(QStringLiteral("BEGIN;"
                           "Insert Into FAT(SeqNo,Name,MakeDate,Parent,ReCycled) Values (1,'Imported','2026-01-01 00:00:00',0,0);"));
    db.exec(QStringLiteral("With Recursive r(i) As (Select 1 Union All Select i+1 From r Where i<%1) "
                           "Insert Into Setting(SeqNo,SampleName,DataTime,Modes,MeasTime,Parent,Recycled,AdjustNo,EngStr,"
                           "EngEnd,EngStp) Select i,'Scan '||i,'2026-01-01 10:00:00',0,10,1,0,0,450,450+%2*5,5 From r;")
                .arg(records)
                .arg(points - 1));
    db.exec(QStringLiteral("With Recursive p(j) As (Select 0 Union All Select j+1 From p Where j<%1) "
                           "Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) "
                           "Select s.SeqNo*%2+j,s.SeqNo,450+j*5,0,0,j*1.5,0,0,0 From Setting s, p;")
                .arg(points - 1)
                .arg(points));
    db.exec(QStringLiteral("COMMIT;"));
    return true;
}

} // namespace tz4::test
