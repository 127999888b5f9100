#include "HeldDatabase.h"

#include "data/SampleOperations.h"

#include <QElapsedTimer>

using namespace tz4;
using namespace std::chrono_literals;
using tz4::test::errorNumberOf;

namespace {

class HeldDatabase : public test::SampleDatabase {
protected:
    void SetUp() override
    {
        SampleDatabase::SetUp();
        folder(3, QStringLiteral("Top"));
        record(20, 0, QStringLiteral("Gold"), 3);
    }
};

} // namespace

TEST_F(HeldDatabase, AWriterWaitsForTheHolderSaysSoOnceAndThenStores)
{
    QStringList notices;
    test::ScopedDatabaseWait wait(20s, [&](const QString& text) { notices << text; });
    test::LockHolder holder(path, 1500);
    ASSERT_TRUE(holder.locked());
    QElapsedTimer waited;
    waited.start();
    const QString key = newFolder(path, QStringLiteral("Late"), QStringLiteral("1 A"));
    EXPECT_GE(waited.elapsed(), 1000) << "it stored only after the holder let go";
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where Name='Late'")), 1) << qPrintable(key);
    ASSERT_EQ(notices.size(), 1) << qPrintable(notices.join(QLatin1Char('\n')));
    EXPECT_TRUE(notices.first().contains(QStringLiteral("in use by another program"))) << qPrintable(notices.first());
    EXPECT_TRUE(notices.first().contains(QStringLiteral("20 s"))) << qPrintable(notices.first());
    EXPECT_TRUE(holder.finish());
}

TEST_F(HeldDatabase, AWriterGivesUpAfterItsTimeOutAndChangesNothing)
{
    test::ScopedDatabaseWait wait(300ms);
    test::LockHolder holder(path);
    ASSERT_TRUE(holder.locked());
    const QStringList before = dump();
    QString why;
    try {
        MultiDeleteItem(path, {QStringLiteral("20 W")});
    } catch (const Tz4Error& error) {
        EXPECT_EQ(error.number(), dberr::Busy);
        why = error.description();
    }
    EXPECT_TRUE(why.contains(QStringLiteral("in use by another program"))) << qPrintable(why);
    holder.release();
    EXPECT_TRUE(holder.finish());
    EXPECT_EQ(dump(), before);
}

TEST_F(HeldDatabase, AStopEndsTheWaitAtOnce)
{
    bool stop = false;
    // The stop arrives as the notice does, long before the minute of waiting is up.
    test::ScopedDatabaseWait wait(60s, [&](const QString&) { stop = true; }, [&] { return stop; });
    test::LockHolder holder(path);
    ASSERT_TRUE(holder.locked());
    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(errorNumberOf([&] { newFolder(path, QStringLiteral("Never"), QStringLiteral("1 A")); }), dberr::Interrupted);
    EXPECT_LT(waited.elapsed(), 10000);
    stop = false;
    holder.release();
    EXPECT_TRUE(holder.finish());
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where Name='Never'")), 0);
}

TEST_F(HeldDatabase, AStopEndsALongStatementAndItsTransactionComesToNothing)
{
    int asked = 0;
    bool stopping = true;
    test::ScopedDatabaseWait wait(1s, {}, [&] { return stopping && ++asked > 50; });
    const QStringList before = dump();
    SqliteDatabase db(path);
    EXPECT_EQ(errorNumberOf([&] {
                  SqliteTransaction transaction(db);
                  // Endless without the stop.
                  db.exec(QStringLiteral("With Recursive n(i) As (Select 1 Union All Select i+1 From n) "
                                         "Insert Into Datas(SeqNo,SerialNo,CpsData) Select 100000+i,20,i From n;"));
                  transaction.commit();
              }),
              dberr::Interrupted);
    stopping = false;
    EXPECT_EQ(dump(), before);
}
