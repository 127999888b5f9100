#include "core/Tz4Error.h"
#include "data/JetSql.h"
#include "data/SqliteDatabase.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace tz4;
using tz4::test::errorNumberOf;

namespace {

struct Scratch {
    QTemporaryDir dir;
    QString path(const QString& name = QStringLiteral("t.mdb")) const { return dir.filePath(name); }
};

} // namespace

TEST(JetSql, RewritesDateLiteralsToStoredText)
{
    EXPECT_EQ(JetSql::translate(QStringLiteral("Update Setting Set DataTime=#05/03/26 14:07:09# Where SeqNo=1;")),
              QStringLiteral("Update Setting Set DataTime='2026-05-03 14:07:09' Where SeqNo=1;"));
    EXPECT_EQ(JetSql::translate(QStringLiteral("x=#12/31/1999#")), QStringLiteral("x='1999-12-31 00:00:00'"));
    EXPECT_EQ(JetSql::translate(QStringLiteral("x=#2026-12-05 1:02:03 PM#")), QStringLiteral("x='2026-12-05 13:02:03'"));
    EXPECT_EQ(JetSql::parseDateLiteral(QStringLiteral("1/2/45")).date(), QDate(1945, 1, 2));
    EXPECT_EQ(errorNumberOf([] { JetSql::translate(QStringLiteral("x=#13/45/26#")); }), dberr::Syntax);
}

TEST(JetSql, LeavesTextLiteralsAloneExceptLikePatterns)
{
    EXPECT_EQ(JetSql::translate(QStringLiteral("Where Name='a #1/2/3# b' And x Like '*Si?*'")),
              QStringLiteral("Where Name='a #1/2/3# b' And x Like '%Si_%'"));
    EXPECT_EQ(JetSql::translate(QStringLiteral("x Like '*50%_*'")), QStringLiteral("x Like '%50\\%\\_%' ESCAPE '\\'"));
    EXPECT_EQ(JetSql::translate(QStringLiteral("Where Name=\"it's\"")), QStringLiteral("Where Name='it''s'"));
}

TEST(SqliteDatabase, RunsTheStoredDialectAgainstARealFile)
{
    Scratch s;
    SqliteDatabase db(s.path(), SqliteDatabase::Open::CreateIfMissing);
    db.execute(QStringLiteral("Create Table Datas(SeqNo Integer Constraint DatasConstraint PRIMARY KEY,SerialNo Integer,"
                              "CpsData Real,G_Flag YesNo,Stamp Date);"));
    EXPECT_EQ(db.newKey(QStringLiteral("Select Max(SeqNo) + 1 As MaxSeq From Datas;")), 1);
    db.execute(QStringLiteral("Insert Into Datas Values (1,7,2.0,True,#5/1/26 10:00:00#);"));
    db.execute(QStringLiteral("Insert Into Datas Values (2,7,4.0,False,#5/3/26 09:00:00#);"));
    db.execute(QStringLiteral("Insert Into Datas Values (3,8,-1.0,False,Null);"));
    EXPECT_EQ(db.newKey(QStringLiteral("Select Max(SeqNo)+1 As MaxSeq From Datas;")), 4);

    SqliteStatement st = db.query(QStringLiteral(
        "Select Avg(CpsData) As AvrData,StDev(CpsData) As Stdev,"
        "Avg(iif(CpsData > 0,log(CpsData) / log(10),log(1E-10) / log(10))) As LogAvr From Datas Where SerialNo=7;"));
    ASSERT_TRUE(st.next());
    EXPECT_DOUBLE_EQ(st.toDouble(QStringLiteral("avrdata")), 3.0);
    EXPECT_DOUBLE_EQ(st.toDouble(QStringLiteral("STDEV")), std::sqrt(2.0));
    EXPECT_NEAR(st.toDouble(QStringLiteral("LogAvr")), (std::log10(2.0) + std::log10(4.0)) / 2, 1e-12);

    SqliteStatement ln = db.query(QStringLiteral("Select log(10) As L;"));
    ASSERT_TRUE(ln.next());
    EXPECT_DOUBLE_EQ(ln.toDouble(QStringLiteral("L")), std::log(10.0)) << "log() is the natural logarithm";

    SqliteStatement single = db.query(QStringLiteral(
        "Select StDev(CpsData) As Stdev,Min(iif(CpsData > 0,log(CpsData) / log(10),log(1E-10) / log(10))) As L "
        "From Datas Where SerialNo=8;"));
    ASSERT_TRUE(single.next());
    EXPECT_TRUE(single.isNull(QStringLiteral("Stdev")));
    EXPECT_NEAR(single.toDouble(QStringLiteral("L")), -10.0, 1e-9);

    SqliteStatement flags = db.query(QStringLiteral("Select * From Datas Where SerialNo=7 and G_Flag Order By Stamp;"));
    ASSERT_TRUE(flags.next());
    EXPECT_EQ(flags.toInt(QStringLiteral("seqno")), 1);
    EXPECT_EQ(flags.toText(QStringLiteral("Stamp")), QStringLiteral("2026-05-01 10:00:00"));
    EXPECT_EQ(flags.toDateTime(QStringLiteral("stamp")), QDateTime(QDate(2026, 5, 1), QTime(10, 0)));
    EXPECT_FALSE(flags.next());
}

TEST(SqliteDatabase, ReportsEngineErrorNumbers)
{
    Scratch s;
    SqliteDatabase db(s.path(), SqliteDatabase::Open::CreateIfMissing);
    db.execute(QStringLiteral("Create Table FAT(SeqNo Integer Constraint FATConstraint PRIMARY KEY,Name VarChar(50));"));
    EXPECT_EQ(errorNumberOf([&] { db.execute(QStringLiteral("Drop Table TmpFat;")); }), err::TableNotFound);
    EXPECT_EQ(errorNumberOf([&] { db.query(QStringLiteral("Select * From TmpFat;")); }), dberr::TableNotFound);
    db.execute(QStringLiteral("Insert Into FAT Values (1,'a');"));
    EXPECT_EQ(errorNumberOf([&] { db.execute(QStringLiteral("Insert Into fat Values (1,'b');")); }), dberr::DuplicateKey);
    EXPECT_EQ(errorNumberOf([&] { SqliteDatabase missing(s.path(QStringLiteral("none.mdb"))); }), dberr::CannotOpen);
}

TEST(SqliteDatabase, RunsOneStatementAsAWholeOrNothing)
{
    Scratch s;
    SqliteDatabase db(s.path(), SqliteDatabase::Open::CreateIfMissing);
    db.execute(QStringLiteral("Create Table FAT(SeqNo Integer Constraint FATConstraint PRIMARY KEY,Name VarChar(50));"));
    // A second statement, even a failing one, is refused before the first runs.
    EXPECT_EQ(errorNumberOf([&] { db.execute(QStringLiteral("Insert Into FAT Values (1,'a'); Drop Table FAT;")); }),
              dberr::TrailingText);
    EXPECT_EQ(errorNumberOf([&] { db.execute(QStringLiteral("Insert Into FAT Values (1,'a');Insert Into Nowhere Values (2)")); }),
              dberr::TrailingText);
    SqliteStatement count = db.query(QStringLiteral("Select Count(*) From FAT;"));
    ASSERT_TRUE(count.next());
    EXPECT_EQ(count.toInt(0), 0);
    db.execute(QStringLiteral("Insert Into FAT Values (1,'a');; -- kept"));
}

TEST(SqliteDatabase, TransactionRollsBackUnlessCommitted)
{
    Scratch s;
    SqliteDatabase db(s.path(), SqliteDatabase::Open::CreateIfMissing);
    db.execute(QStringLiteral("Create Table FAT(SeqNo Integer Constraint FATConstraint PRIMARY KEY,Name VarChar(50));"));
    try {
        SqliteTransaction tx(db);
        db.execute(QStringLiteral("Insert Into FAT Values (1,'kept only if committed');"));
        db.execute(QStringLiteral("Insert Into FAT Values (1,'duplicate');"));
        tx.commit();
    } catch (const Tz4Error&) {
    }
    EXPECT_EQ(db.newKey(QStringLiteral("Select Max(SeqNo) + 1 As MaxSeq From FAT;")), 1);
    {
        SqliteTransaction tx(db);
        db.execute(QStringLiteral("Insert Into FAT Values (1,'x');"));
        tx.commit();
    }
    EXPECT_EQ(db.newKey(QStringLiteral("Select Max(SeqNo) + 1 As MaxSeq From FAT;")), 2);
}

TEST(SqliteDatabase, ReadsAndWritesForeignFilesNamedWithIn)
{
    Scratch s;
    {
        SqliteDatabase other(s.path(QStringLiteral("x it's.mdb")), SqliteDatabase::Open::CreateIfMissing);
        other.execute(QStringLiteral("Create Table FAT(SeqNo Integer Constraint FATConstraint PRIMARY KEY,Name VarChar(50));"));
    }
    SqliteDatabase db(s.path(), SqliteDatabase::Open::CreateIfMissing);
    db.execute(QStringLiteral("Create Table TmpFat(SeqNo Integer Constraint TmpFATConstraint PRIMARY KEY,Name VarChar(50));"));
    db.execute(QStringLiteral("Insert Into TmpFat Values (3,'O''Brien');"));
    const QString file = s.path(QStringLiteral("x it's.mdb"));
    db.execute(QStringLiteral("Insert Into FAT IN \"%1\" Select * From TmpFat;").arg(file));
    db.execute(QStringLiteral("Delete From TmpFat;"));
    db.execute(QStringLiteral("Insert Into TmpFat Select * From FAT IN \"%1\";").arg(file));
    SqliteStatement st = db.query(QStringLiteral("Select * From TmpFat;"));
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.toText(QStringLiteral("Name")), QStringLiteral("O'Brien"));
}
