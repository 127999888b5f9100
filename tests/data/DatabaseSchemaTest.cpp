#include "core/Tz4Error.h"
#include "data/CompactAndRepair.h"
#include "data/DatabaseSchema.h"
#include "data/DatabaseSetup.h"
#include "data/SqliteDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tz4;

namespace {

qint64 count(SqliteDatabase& db, const QString& sql)
{
    SqliteStatement st = db.query(sql);
    return st.next() ? st.value(0).toLongLong() : -1;
}

QStringList columnsOf(SqliteDatabase& db, const QString& table)
{
    QStringList names;
    SqliteStatement st = db.prepare(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (st.next())
        names << st.toText(QStringLiteral("name"));
    return names;
}

} // namespace

TEST(MakeDB, CreatesEveryTableWithItsColumnsInOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TZ4.mdb"));
    ASSERT_TRUE(MakeDB(path));
    SqliteDatabase db(path);
    EXPECT_EQ(columnsOf(db, QStringLiteral("Datas")).join(QLatin1Char(',')),
              QStringLiteral("SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag"));
    const QStringList setting = columnsOf(db, QStringLiteral("Setting"));
    ASSERT_EQ(setting.size(), 28);
    EXPECT_EQ(setting.mid(0, 5).join(QLatin1Char(',')), QStringLiteral("SeqNo,SampleName,DataTime,Modes,MeasTime"));
    EXPECT_EQ(setting.last(), QStringLiteral("Ystep"));
    // Thicks and Graphs share their constraint name.
    EXPECT_EQ(columnsOf(db, QStringLiteral("Graphs")).size(), 32);
    EXPECT_EQ(columnsOf(db, QStringLiteral("Thicks")).size(), 3);
    EXPECT_EQ(columnsOf(db, QStringLiteral("Prints")).size(), 20);
    EXPECT_EQ(columnsOf(db, QStringLiteral("PrtLabel")).size(), 14);
    EXPECT_TRUE(databaseTableStatements().first().startsWith(
        QStringLiteral("Create Table Setting(SeqNo Integer Constraint SetConstraint PRIMARY KEY,"
                       "SampleName VarChar(80),DataTime Date,Modes Integer,MeasTime Integer,")));
    EXPECT_FALSE(MakeDB(path)) << "an existing file is never overwritten";
}

TEST(MakeTmpDB, RecreatesEmptyWorkTablesWhetherOrNotTheyExist)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TZ4.mdb"));
    ASSERT_TRUE(MakeDB(path));
    ASSERT_TRUE(MakeTmpDB(path));
    {
        SqliteDatabase db(path);
        db.execute(QStringLiteral("Insert Into TmpSet(SeqNo,SampleName) Values (1,'x');"));
        EXPECT_EQ(columnsOf(db, QStringLiteral("TmpSet")), columnsOf(db, QStringLiteral("Setting")));
        EXPECT_EQ(columnsOf(db, QStringLiteral("TmpFAT")), columnsOf(db, QStringLiteral("FAT")));
    }
    ASSERT_TRUE(MakeTmpDB(path));
    SqliteDatabase db(path);
    EXPECT_EQ(count(db, QStringLiteral("Select Count(*) From TmpSet;")), 0);
}

TEST(DatabaseSetup, CreatesTheDatabaseWithADefaultTemplateForEveryKind)
{
    QTemporaryDir dir;
    ASSERT_TRUE(createDatabaseIfMissing(dir.path()));
    ASSERT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("PrintFormat.Dat"))));
    SqliteDatabase db(dir.filePath(QStringLiteral("TZ4.mdb")));
    for (int kind = 0; kind <= 4; ++kind) {
        SqliteStatement t = db.query(
            QStringLiteral("Select * From Prints Where TemplateType=%1 And DefaultTemp=True;").arg(kind));
        ASSERT_TRUE(t.next()) << kind;
        EXPECT_TRUE(t.toBool(QStringLiteral("GraphVisible")));
        EXPECT_TRUE(t.toBool(QStringLiteral("TableVisible")));
        const qint64 seq = t.toInt(QStringLiteral("SeqNo"));
        EXPECT_GE(count(db, QStringLiteral("Select Count(*) From PrtLabel Where TempNo=%1 And Binding;").arg(seq)), 3);
        EXPECT_EQ(count(db, QStringLiteral("Select Count(*) From PrtLabel Where TempNo=%1 And BindNo=2;").arg(seq)), 1);
    }
    EXPECT_EQ(count(db, QStringLiteral("Select Count(*) From PrtLabel Where BindNo=39;")), 1);
    SqliteStatement date = db.query(QStringLiteral("Select TemplateDate,F_Cap From Prints,PrtLabel Where TempNo=Prints.SeqNo And B_Cap Is Null;"));
    ASSERT_TRUE(date.next());
    EXPECT_EQ(date.toText(QStringLiteral("TemplateDate")), QStringLiteral("2026-12-01 09:00:00"));

    // A second start leaves an existing database alone.
    db.execute(QStringLiteral("Delete From Prints;"));
    ASSERT_TRUE(createDatabaseIfMissing(dir.path()));
    EXPECT_EQ(count(db, QStringLiteral("Select Count(*) From Prints;")), 0);
}

TEST(CompactAndRepairDB, ShrinksAfterDeletesAndKeepsEveryRow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TZ4.mdb"));
    ASSERT_TRUE(MakeDB(path));
    ASSERT_TRUE(MakeTmpDB(path));
    {
        SqliteDatabase db(path);
        SqliteTransaction tx(db);
        SqliteStatement insert = db.prepare(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData) Values (?,?,?)"));
        for (int i = 1; i <= 20000; ++i) {
            insert.bind(1, qint64(i)).bind(2, qint64(i <= 100 ? 1 : 2)).bind(3, i * 0.5);
            insert.run();
            insert.reset();
        }
        tx.commit();
        db.execute(QStringLiteral("Delete From Datas Where SerialNo=2;"));
    }
    const qint64 before = QFileInfo(path).size();
    ASSERT_TRUE(CompactAndRepairDB(path));
    EXPECT_LT(QFileInfo(path).size(), before / 4);
    SqliteDatabase db(path);
    EXPECT_EQ(count(db, QStringLiteral("Select Count(*) From Datas;")), 100);
    EXPECT_EQ(count(db, QStringLiteral("Select Sum(CpsData) * 2 From Datas;")), 5050);
    EXPECT_THROW(db.query(QStringLiteral("Select * From TmpSet;")), Tz4Error) << "work tables are dropped";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TZ4.mdb")}) << "nothing is left beside it";
}

TEST(CompactAndRepairDB, IsNeverStartedForAShortPathAndLeavesADamagedFileAlone)
{
    QTemporaryDir dir;
    EXPECT_FALSE(CompactAndRepairDB(QStringLiteral("a.m")));
    const QString path = dir.filePath(QStringLiteral("broken.mdb"));
    QFile junk(path);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_FALSE(CompactAndRepairDB(path));
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray(4096, 'x'));
}
