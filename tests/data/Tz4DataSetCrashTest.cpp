#include "data/SqliteDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tz4;

// A process killed while it stores 1,000-point records leaves a sound file in which every
// record is whole: all its points or, for the one being written, nothing at all.
TEST(RecordStoreKilled, LeavesEveryRecordWholeOrAbsent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TZ4.mdb"));
    const QString helper = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tz4_data_store_helper"));
    ASSERT_TRUE(QFileInfo::exists(helper)) << helper.toStdString();

    // Kill until at least one kill has hit an open write (a hot journal is left behind).
    bool hitMidWrite = false;
    for (int round = 0; round < 20 && !(hitMidWrite && round >= 3); ++round) {
        QProcess child;
        child.start(helper, {path});
        ASSERT_TRUE(child.waitForStarted());
        // Let it finish a first record or more, then kill it as soon as it starts the next.
        const int wholeRecords = 1 + round % 3;
        int finished = 0;
        bool storing = false;
        while (!storing) {
            ASSERT_TRUE(child.canReadLine() || child.waitForReadyRead(30000)) << "the helper stopped talking";
            const QByteArray line = child.readLine();
            finished += line.startsWith("stored") ? 1 : 0;
            storing = finished >= wholeRecords && line.startsWith("storing");
        }
        child.kill(); // SIGKILL
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
        const QFileInfo journal(path + QStringLiteral("-journal"));
        hitMidWrite = hitMidWrite || (journal.exists() && journal.size() > 0);

        SqliteDatabase db(path);
        SqliteStatement check = db.prepare(QStringLiteral("PRAGMA integrity_check"));
        ASSERT_TRUE(check.next());
        EXPECT_EQ(check.value(0).toString(), QStringLiteral("ok"));
        SqliteStatement records = db.query(QStringLiteral(
            "Select Setting.SeqNo, Count(Datas.SeqNo) As Points, Min(Datas.SeqNo) As First, Max(Datas.SeqNo) As Last "
            "From Setting Left Join Datas On Datas.SerialNo = Setting.SeqNo Group By Setting.SeqNo;"));
        int stored = 0;
        while (records.next()) {
            ++stored;
            EXPECT_EQ(records.toInt(QStringLiteral("Points")), 1000);
            EXPECT_EQ(records.toInt(QStringLiteral("Last")) - records.toInt(QStringLiteral("First")), 999);
        }
        EXPECT_GE(stored, round + 1);
        SqliteStatement orphans = db.query(QStringLiteral(
            "Select Count(*) From Datas Where SerialNo Not In (Select SeqNo From Setting);"));
        ASSERT_TRUE(orphans.next());
        EXPECT_EQ(orphans.value(0).toInt(), 0);
    }
    EXPECT_TRUE(hitMidWrite) << "no kill landed inside a write";
}
