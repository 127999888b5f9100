#include "tests/app/HeadlessRun.h"

#include "data/CalibrationLine.h"
#include "data/SqliteDatabase.h"

#include <QFile>

#include <cmath>

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;
using tz4::test::runTz4;

namespace {

QStringList args(std::initializer_list<const char*> words)
{
    QStringList out;
    for (const char* word : words)
        out << QString::fromUtf8(word);
    return out;
}

// A data directory with a folder tree and one record of every kind, linked as they are used:
// Top(1) > Sub(2); Top holds L 1, W 2 (corrected by L 1), D 3 and T 4 (line of D 3) in Sub,
// C 5 (calibrated by T 4); a W 6 lies in the trash inside Top.
class SampleCommands : public HeadlessProgram {
protected:
    void fill() const
    {
        SqliteDatabase db(file(QStringLiteral("TZ4.mdb")));
        db.exec(QStringLiteral(
            "Insert Into FAT Values (1,'Top ''quoted''','2024-01-02 03:04:05',0,0),"
            "(2,'Sub\tline\n二','2024-01-02 03:04:05',1,0);"
            "Insert Into Setting(SeqNo,SampleName,DataTime,Modes,MeasTime,SetLight,MeasLight,Volts,AdjustNo,Exp_Thick,"
            "EngStr,EngEnd,EngStp,Notes1,Parent,Recycled,GndDown) Values "
            "(1,'Lamp','2024-02-01 10:00:00',2,10,10,10.5,0,0,Null,400,600,20,Null,1,0,0),"
            "(2,'Gold \"Au\"','2024-02-01 11:00:00',0,10,10,9.5,0,1,0.5,480,600,20,'note',1,0,0),"
            "(3,'Ref','2024-02-01 12:00:00',3,10,10,10,0,0,50,590,4,Null,Null,2,0,0),"
            "(4,'Line','2024-02-01 13:00:00',4,10,10,10,0,0,Null,590,Null,Null,Null,2,0,0),"
            "(5,'Film','2024-02-01 14:00:00',1,10,10,10,0,4,5,590,4,100,Null,1,0,0),"
            "(6,'Binned','2024-02-01 15:00:00',0,10,10,10,0,0,0.5,480,600,20,Null,1,1,0);"));
        int key = 1;
        SqliteStatement insert = db.prepare(QStringLiteral(
            "Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) Values (?,?,?,0,0,?,?,?,?)"));
        const auto point = [&](int record, int energy, double cps, double a, bool ground, bool fit) {
            insert.bind(1, qint64(key++)).bind(2, qint64(record)).bind(3, qint64(energy)).bind(4, cps).bind(5, a);
            insert.bind(6, qint64(ground)).bind(7, qint64(fit));
            insert.run();
            insert.reset();
        };
        for (int e = 400; e <= 600; e += 20)
            point(1, e, 8 + e / 100.0, 0, false, false);
        for (int e = 480; e <= 600; e += 20)
            point(2, e, e > 510 ? std::pow((e - 510) / 100.0, 2) * 900 + 10 : 10, 0, e < 510, e > 520);
        for (int i = 0; i < 4; ++i)
            point(3, 590, 100 * std::pow(10, i), 50 * (i + 1), false, true);
        for (int i = 0; i < 4; ++i)
            point(5, 590, 300 + 10 * i, 0, false, false);
        for (int e = 480; e <= 600; e += 60)
            point(6, e, 20, 0, false, false);
        db.exec(QStringLiteral("Insert Into Thicks Values (1,4,3);"));
        rebuildCalibrationLinePoints(db, 4);
    }

    // A record as `show --json` gives it, without what depends on where it is stored: its
    // key and number, its correction's number and its calibration members' numbers.
    static QJsonObject placeFree(QJsonObject record)
    {
        record.remove(QStringLiteral("key"));
        QJsonObject parameters = record.value(QStringLiteral("parameters")).toObject();
        for (const char* number : {"0", "5", "27"})
            parameters.remove(QLatin1String(number));
        for (auto it = parameters.begin(); it != parameters.end();)
            it = it.key().toInt() >= 59 ? parameters.erase(it) : std::next(it);
        record.insert(QStringLiteral("parameters"), parameters);
        return record;
    }

    QJsonObject show(const QString& home, int seqNo) const
    {
        return runTz4({QStringLiteral("--home"), home, QStringLiteral("show"), QString::number(seqNo), QStringLiteral("--json")})
            .json();
    }
};

} // namespace

TEST_F(SampleCommands, AFolderTreeOfEveryKindSurvivesExportAndImport)
{
    fill();
    const HeadlessRun exported = tz4({QStringLiteral("export"), file(QStringLiteral("box")), QStringLiteral("1F")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QString exchange = QString::fromUtf8(exported.out).trimmed();
    EXPECT_EQ(exchange, file(QStringLiteral("box.mdb")));
    EXPECT_TRUE(exported.err.contains("Export Process Now(Move Data)")) << "progress shows on standard error";

    QTemporaryDir other;
    ASSERT_EQ(runTz4({QStringLiteral("--home"), other.path(), QStringLiteral("init")}).exitCode, 0);
    const HeadlessRun imported = runTz4({QStringLiteral("--home"), other.path(), QStringLiteral("import"), exchange});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(imported.out).trimmed(), QStringLiteral("2 folders, 6 records, 33 points"));

    // New keys start above the file's largest (6) and keep the file's order.
    for (int seqNo = 1; seqNo <= 6; ++seqNo) {
        const QJsonObject original = show(home.path(), seqNo);
        ASSERT_FALSE(original.isEmpty());
        EXPECT_EQ(QJsonDocument(placeFree(show(other.path(), seqNo + 6))).toJson().toStdString(),
                  QJsonDocument(placeFree(original)).toJson().toStdString())
            << "record " << seqNo;
    }
    EXPECT_EQ(runTz4({QStringLiteral("--home"), other.path(), QStringLiteral("records"), QStringLiteral("--folder"),
                      QStringLiteral("3")})
                  .out.count("Binned"),
              1)
        << "what was in the trash arrives live";
}

TEST_F(SampleCommands, OperationsRunFromTheCommandLine)
{
    fill();
    const HeadlessRun made = tz4(args({"folder", "new", "Archive"}));
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_EQ(made.out.trimmed(), QByteArray("3 F"));
    EXPECT_EQ(tz4(args({"rename", "3 F", "Archive 2026"})).exitCode, 0);

    const QByteArray tree = tz4(args({"records", "--json"})).out;
    const HeadlessRun loop = tz4(args({"move", "1F", "--to", "2 F"}));
    EXPECT_EQ(loop.exitCode, 1);
    EXPECT_TRUE(loop.err.contains("The folder of reseiver side is the sub folder of sender side.")) << loop.err.toStdString();
    EXPECT_EQ(tz4(args({"records", "--json"})).out, tree);

    EXPECT_EQ(tz4(args({"copy", "1 F", "--to", "3F"})).exitCode, 0);
    EXPECT_EQ(tz4(args({"records", "--folder", "3", "--json"})).jsonArray().size(), 1);
    const HeadlessRun undo = tz4(args({"undo"}));
    EXPECT_EQ(undo.out.trimmed(), QByteArray("Return(Copy)"));
    EXPECT_EQ(tz4(args({"records", "--folder", "3", "--json"})).jsonArray().size(), 0);
    EXPECT_EQ(tz4(args({"undo"})).exitCode, 1) << "nothing left to undo";

    EXPECT_EQ(tz4(args({"delete", "1 L"})).exitCode, 0);
    EXPECT_EQ(tz4(args({"show", "2", "--json"})).json()[QStringLiteral("parameters")][QStringLiteral("27")].toDouble(), 0)
        << "the W record lost its correction";
    EXPECT_EQ(tz4(args({"restore", "1"})).exitCode, 0);
    EXPECT_EQ(tz4(args({"attach", "1 L", "2 W"})).exitCode, 0);
    EXPECT_EQ(tz4(args({"show", "2", "--json"})).json()[QStringLiteral("parameters")][QStringLiteral("27")].toDouble(), 1);
    EXPECT_EQ(tz4(args({"attach", "1 L", "5 C"})).exitCode, 1);

    const HeadlessRun unconfirmed = tz4(args({"empty-trash"}));
    EXPECT_EQ(unconfirmed.exitCode, 2);
    EXPECT_TRUE(unconfirmed.err.contains("Delete all data in trash. OK?")) << unconfirmed.err.toStdString();
    EXPECT_EQ(tz4(args({"show", "6"})).exitCode, 0);
    const QJsonArray trash = tz4(args({"records", "--folder", "R", "--json"})).jsonArray();
    QStringList trashed;
    for (const QJsonValue& entry : trash)
        trashed << entry[QStringLiteral("key")].toString();
    EXPECT_TRUE(trashed.contains(QStringLiteral("6 W"))) << trashed.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(tz4(args({"empty-trash", "--yes"})).exitCode, 0);
    EXPECT_EQ(tz4(args({"records", "--folder", "R", "--json"})).jsonArray().size(), 0);
    EXPECT_EQ(tz4(args({"show", "6"})).exitCode, 1) << "the trashed record is gone";

    const HeadlessRun found = tz4(args({"search", "--name", "o", "--kind", "W", "--json"}));
    ASSERT_EQ(found.exitCode, 0) << found.err.toStdString();
    ASSERT_EQ(found.jsonArray().size(), 1);
    EXPECT_EQ(found.jsonArray().at(0)[QStringLiteral("key")].toString(), QStringLiteral("2 W"));
    EXPECT_TRUE(found.err.contains("1Datas Found")) << found.err.toStdString();
    EXPECT_EQ(tz4(args({"search"})).exitCode, 2);
    EXPECT_EQ(tz4(args({"search", "--from", "2024-02-01", "--to", "2024-02-01", "--json"})).jsonArray().size(), 5);
}

TEST_F(SampleCommands, NamesWithTabsLineBreaksAndQuotesStayOneQuotedField)
{
    fill();
    const HeadlessRun listed = tz4(args({"records", "--folder", "1"}));
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    // Quoted fields may hold line breaks, as CSV readers expect; the TAB inside stays in it.
    EXPECT_TRUE(listed.out.startsWith(QStringLiteral("2 F\t\"Sub\tline\n二\"\tFolder\t\t\n").toUtf8()))
        << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains("2 W\t\"Gold \"\"Au\"\"\"\tWork Function")) << listed.out.toStdString();

    const HeadlessRun found = tz4(args({"search", "--name", "Gold"}));
    EXPECT_TRUE(found.out.startsWith("2 W\t\"Gold \"\"Au\"\"\"\t")) << found.out.toStdString();
}

TEST_F(SampleCommands, ABadImportFileIsReportedAndChangesNothing)
{
    fill();
    QFile text(file(QStringLiteral("notes.mdb")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a database\r\n");
    text.close();
    const QByteArray before = tz4(args({"records", "--folder", "1", "--json"})).out;
    const HeadlessRun run = tz4({QStringLiteral("import"), text.fileName()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("is not a TZ-4 exchange file")) << run.err.toStdString();
    EXPECT_EQ(tz4(args({"records", "--folder", "1", "--json"})).out, before);

    const HeadlessRun self = tz4({QStringLiteral("export"), file(QStringLiteral("TZ4.mdb")), QStringLiteral("1 F")});
    EXPECT_EQ(self.exitCode, 1);
    EXPECT_TRUE(self.err.contains("is the database itself")) << self.err.toStdString();
}

TEST_F(SampleCommands, TheTreeListsEveryFolderIndentedUnderTheRoot)
{
    fill();
    ASSERT_EQ(tz4(args({"delete", "2 F"})).exitCode, 0);
    const HeadlessRun run = tz4(args({"records", "--tree"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.at(0), QStringLiteral("1 A\tTZ4 DeskTop"));
    EXPECT_EQ(lines.at(1), QStringLiteral("  1 F\tTop 'quoted'"));
    EXPECT_TRUE(lines.contains(QStringLiteral("  1 R\tRecycle")));
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("  1 R\tRecycle\n    2 F\tSub\tline\n二\n").toUtf8()))
        << "the deleted sub-folder is listed under the trash";
    const QJsonArray tree = tz4(args({"records", "--tree", "--json"})).jsonArray();
    ASSERT_EQ(tree.size(), 1);
    EXPECT_EQ(tree.at(0)[QStringLiteral("children")].toArray().at(0)[QStringLiteral("key")].toString(), QStringLiteral("1 F"));
}

TEST_F(SampleCommands, MessagesSayWhatHappenedAndFarSearchesAreNoErrors)
{
    fill();
    HeadlessRun run = tz4(args({"search", "--months", "24400"}));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.count('\n'), 6) << "every record was measured within the past 2033 years";
    run = tz4(args({"search", "--days", "999999999"}));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();

    run = tz4(args({"delete", "2 F"}));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("Import")) << "a delete is not an import: " << run.err.toStdString();
}
