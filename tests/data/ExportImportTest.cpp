#include "HeldDatabase.h"

#include "data/ExportImport.h"
#include "data/SampleOperations.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

using namespace tz4;
using tz4::test::errorNumberOf;

namespace {

class ExportImport : public test::SampleDatabase {
protected:
    QString file(const QString& name) const { return dir.filePath(name); }

    // A second, empty database to import into.
    QString freshDatabase(const QString& name = QStringLiteral("Other.mdb")) const
    {
        const QString other = file(name);
        EXPECT_TRUE(MakeDB(other));
        return other;
    }

    QVariant scalarIn(const QString& database, const QString& sql) const
    {
        SqliteDatabase db(database);
        SqliteStatement st = db.query(sql);
        return st.next() ? st.value(0) : QVariant();
    }

    QStringList filesBeside() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

} // namespace

TEST_F(ExportImport, AFolderTakesItsWholeTreeTrashIncludedAndAllComesOutLive)
{
    folder(5, QStringLiteral("Parent"));
    folder(6, QStringLiteral("Box"), 5);
    folder(8, QStringLiteral("Trashed"), 6, 1);
    record(10, 0, QStringLiteral("Live"), 6);
    record(11, 1, QStringLiteral("Binned"), 8, 2, 0, 0, 1);
    const QString written = ExportMain(path, file(QStringLiteral("box")), QStringLiteral("6 F,"));
    EXPECT_EQ(written, file(QStringLiteral("box.mdb")));
    EXPECT_EQ(scalarIn(written, QStringLiteral("Select Count(*) From FAT")).toInt(), 2);
    EXPECT_EQ(scalarIn(written, QStringLiteral("Select Count(*) From Setting")).toInt(), 2);
    EXPECT_EQ(scalarIn(written, QStringLiteral("Select Count(*) From Datas")).toInt(), 5);
    EXPECT_EQ(scalarIn(written, QStringLiteral("Select Count(*) From FAT Where Recycled<>0")).toInt(), 0);
    EXPECT_EQ(scalarIn(written, QStringLiteral("Select Count(*) From Setting Where Recycled<>0")).toInt(), 0);
    EXPECT_EQ(scalarIn(written, QStringLiteral("Select Parent From FAT Where SeqNo=6")).toInt(), 0)
        << "its own parent stayed behind, so it is the file's top level";
    EXPECT_EQ(scalarIn(path, QStringLiteral("Select Count(*) From sqlite_master Where name Like 'Tmp%'")).toInt(), 0)
        << "the work tables never reach the database file";
}

TEST_F(ExportImport, RecordsBringTheirCorrectionsAndCalibrationLinesTheirMembers)
{
    folder(5, QStringLiteral("Lamps"));
    record(20, 2, QStringLiteral("Lamp"), 5);
    record(21, 0, QStringLiteral("Gold"), 0, 3, 0, 20);
    record(30, 3, QStringLiteral("Ref"), 5);
    record(31, 4, QStringLiteral("Line"), 5, 0);
    member(1, 31, 30);
    record(32, 1, QStringLiteral("Film"), 0, 3, 0, 31);

    const QString w = ExportMain(path, file(QStringLiteral("w.mdb")), QStringLiteral("21 W,"));
    EXPECT_EQ(scalarIn(w, QStringLiteral("Select Count(*) From Setting")).toInt(), 2);
    EXPECT_EQ(scalarIn(w, QStringLiteral("Select Parent From Setting Where SeqNo=20")).toInt(), 0)
        << "the light record goes to the top level when its folder was not exported";

    const QString c = ExportMain(path, file(QStringLiteral("c.mdb")), QStringLiteral("32 C,21 W,20 L,"));
    EXPECT_EQ(scalarIn(c, QStringLiteral("Select Count(*) From Setting")).toInt(), 5) << "listed twice, stored once";
    EXPECT_EQ(scalarIn(c, QStringLiteral("Select DataNo From Thicks Where AdjNo=31")).toInt(), 30);
    EXPECT_EQ(scalarIn(c, QStringLiteral("Select Count(*) From Datas Where SerialNo=30")).toInt(), 3);
}

TEST_F(ExportImport, ImportRenumbersAboveEveryKeyAndReferencesFollow)
{
    // The file: folder 1 > folder 2; L 1, W 2 corrected by it; D 3 member of T 4; C 5 uses T 4.
    const QString source = freshDatabase(QStringLiteral("Source.mdb"));
    {
        SqliteDatabase db(source);
        db.exec(QStringLiteral(
            "Insert Into FAT Values (1,'Outer','2020-01-01 00:00:00',0,0),(2,'Inner','2020-01-01 00:00:00',1,0);"
            "Insert Into Setting(SeqNo,SampleName,Modes,Parent,AdjustNo,Recycled) Values "
            "(1,'Lamp',2,2,0,0),(2,'Gold',0,2,1,0),(3,'Ref',3,0,0,0),(4,'Line',4,1,0,0),(5,'Film',1,0,4,0);"
            "Insert Into Datas(SeqNo,SerialNo,EngData,CpsData) Values (1,1,400,1),(2,2,400,2),(3,3,400,3),(4,4,3,3);"
            "Insert Into Thicks Values (1,4,3);"));
    }
    folder(7, QStringLiteral("Target"));
    record(40, 0, QStringLiteral("Existing"), 7, 2, 500);

    const ImportCounts counts = ImportMain(path, source, QStringLiteral("7 F"));
    EXPECT_EQ(counts.folders, 2);
    EXPECT_EQ(counts.records, 5);
    EXPECT_EQ(counts.points, 4);
    EXPECT_EQ(count(QStringLiteral("Select Parent From FAT Where Name='Outer'")), 7) << "the file's top level hangs under 7";
    EXPECT_EQ(count(QStringLiteral("Select SeqNo From FAT Where Name='Outer'")), 8);
    EXPECT_EQ(count(QStringLiteral("Select Parent From FAT Where Name='Inner'")), 8);
    EXPECT_EQ(count(QStringLiteral("Select Min(SeqNo) From Setting Where SeqNo<>40")), 41);
    EXPECT_EQ(count(QStringLiteral("Select Parent From Setting Where SampleName='Ref'")), 7);
    EXPECT_EQ(count(QStringLiteral("Select AdjustNo From Setting Where SampleName='Gold'")),
              count(QStringLiteral("Select SeqNo From Setting Where SampleName='Lamp'")));
    EXPECT_EQ(count(QStringLiteral("Select AdjustNo From Setting Where SampleName='Film'")),
              count(QStringLiteral("Select SeqNo From Setting Where SampleName='Line'")));
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Thicks t Join Setting l On l.SeqNo=t.AdjNo Join Setting d "
                                   "On d.SeqNo=t.DataNo Where l.SampleName='Line' And d.SampleName='Ref'")),
              1);
    EXPECT_EQ(count(QStringLiteral("Select Min(SeqNo) From Datas Where SerialNo<>40")), 502);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas d Join Setting s On s.SeqNo=d.SerialNo")), 6)
        << "every point belongs to its renumbered record";

    ImportMain(path, source, QStringLiteral("1 A"));
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where Name='Outer' And Parent=0")), 1)
        << "the desktop root means the top level";
}

TEST_F(ExportImport, NamesSurviveTheRoundTripExactly)
{
    const QString name = QStringLiteral("it's \"Au\"\tline\r\n金 ① Ω");
    folder(5, name);
    record(6, 0, name, 5);
    const QString written = ExportMain(path, file(QStringLiteral("names.MDB")), QStringLiteral("5 F,"));
    EXPECT_EQ(written, file(QStringLiteral("names.MDB"))) << "an .mdb ending in any case is kept";
    const QString other = freshDatabase();
    ImportMain(other, written, QStringLiteral("1 A"));
    EXPECT_EQ(scalarIn(other, QStringLiteral("Select Name From FAT")).toString(), name);
    EXPECT_EQ(scalarIn(other, QStringLiteral("Select SampleName From Setting")).toString(), name);
}

TEST_F(ExportImport, BadExportTargetsAreRefusedAndLeaveNoFileBehind)
{
    record(6, 0, QStringLiteral("Gold"));
    QFile existing(file(QStringLiteral("taken.mdb")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    const QStringList before = filesBeside();

    EXPECT_NE(errorNumberOf([&] { ExportMain(path, file(QStringLiteral("taken")), QStringLiteral("6 W,")); }), 0);
    EXPECT_NE(errorNumberOf([&] { ExportMain(path, path, QStringLiteral("6 W,")); }), 0);
    EXPECT_NE(errorNumberOf([&] { ExportMain(path, file(QStringLiteral("TZ4")), QStringLiteral("6 W,")); }), 0)
        << "the database under its name without the ending";
    EXPECT_NE(errorNumberOf([&] { ExportMain(path, file(QStringLiteral("no/such/dir/x.mdb")), QStringLiteral("6 W,")); }), 0);
    EXPECT_EQ(filesBeside(), before);
    QFile kept(file(QStringLiteral("taken.mdb")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));

    ExportMain(path, file(QStringLiteral("taken")), QStringLiteral("6 W,"), {}, true);
    EXPECT_EQ(scalarIn(file(QStringLiteral("taken.mdb")), QStringLiteral("Select Count(*) From Setting")).toInt(), 1)
        << "replacing is allowed when asked for";
}

TEST_F(ExportImport, BadImportFilesChangeNothing)
{
    folder(7, QStringLiteral("Target"));
    record(40, 0, QStringLiteral("Existing"), 7);
    const QString good = ExportMain(path, file(QStringLiteral("good.mdb")), QStringLiteral("7 F,"));

    const auto makeFile = [&](const QString& name, const QByteArray& bytes) {
        QFile f(file(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const auto brokenCopy = [&](const QString& name, const QString& sql) {
        const QString copy = file(name);
        EXPECT_TRUE(QFile::copy(good, copy));
        SqliteDatabase db(copy);
        db.exec(sql);
        return copy;
    };
    QFile whole(good);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();

    const QStringList badFiles{
        makeFile(QStringLiteral("text.mdb"), "Name,Value\r\nGold,5.1\r\n"),
        makeFile(QStringLiteral("cut.mdb"), bytes.left(bytes.size() / 2)),
        brokenCopy(QStringLiteral("schema.mdb"), QStringLiteral("Drop Table Datas; Create Table Datas(SeqNo Integer Primary Key, X Real);")),
        brokenCopy(QStringLiteral("orphan.mdb"), QStringLiteral("Insert Into Datas(SeqNo,SerialNo) Values (900,77);")),
        brokenCopy(QStringLiteral("loop.mdb"), QStringLiteral("Insert Into FAT(SeqNo,Name,Parent) Values (50,'a',51),(51,'b',50);")),
        brokenCopy(QStringLiteral("lost.mdb"), QStringLiteral("Update Setting Set Parent=99;")),
        brokenCopy(QStringLiteral("kind.mdb"), QStringLiteral("Update Setting Set Modes=9;")),
        brokenCopy(QStringLiteral("link.mdb"), QStringLiteral("Insert Into Thicks Values (1,40,12345);")),
    };
    const QStringList before = dump();
    for (const QString& bad : badFiles) {
        EXPECT_NE(errorNumberOf([&] { ImportMain(path, bad, QStringLiteral("7 F")); }), 0) << qPrintable(bad);
        EXPECT_EQ(dump(), before) << qPrintable(bad);
        EXPECT_TRUE(intact()) << qPrintable(bad);
    }
    EXPECT_NE(errorNumberOf([&] { ImportMain(path, file(QStringLiteral("missing.mdb")), QStringLiteral("1 A")); }), 0);
    EXPECT_NE(errorNumberOf([&] { ImportMain(path, good, QStringLiteral("40 W")); }), 0) << "records are no target";
    EXPECT_EQ(dump(), before);

    ImportMain(path, good, QStringLiteral("7 F"));
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting")), 2) << "the database still takes a good file";
}

TEST_F(ExportImport, HostileOrMistypedFilesAreRefusedAtOnceAndChangeNothing)
{
    folder(7, QStringLiteral("Target"));
    record(40, 0, QStringLiteral("Existing"), 7);
    const QString good = ExportMain(path, file(QStringLiteral("good.mdb")), QStringLiteral("7 F,"));
    const auto brokenCopy = [&](const QString& name, const QString& sql) {
        const QString copy = file(name + QStringLiteral(".mdb"));
        EXPECT_TRUE(QFile::copy(good, copy));
        SqliteDatabase db(copy);
        db.exec(sql);
        return copy;
    };
    const std::pair<QString, QString> bad[] = {
        // A view that never ends in place of the points.
        {brokenCopy(QStringLiteral("view"),
                    QStringLiteral("Drop Table Datas; Create View Datas As With Recursive n(i) As (Select 1 Union All "
                                   "Select i+1 From n) Select i As SeqNo, 40 As SerialNo, 450 As EngData, 0 As xPoint, "
                                   "0 As yPoint, 1.0 As CpsData, 0 As aData, 0 As G_Flag, 0 As F_Flag From n;")),
         QStringLiteral("is a view")},
        {brokenCopy(QStringLiteral("extra"), QStringLiteral("Alter Table Setting Add Column Extra Integer;")),
         QStringLiteral("other columns")},
        {brokenCopy(QStringLiteral("count"), QStringLiteral("Update Setting Set EngEnd='many';")),
         QStringLiteral("EngEnd holds 'many', not a whole number")},
        {brokenCopy(QStringLiteral("light"), QStringLiteral("Update Setting Set MeasLight='bright';")),
         QStringLiteral("MeasLight")},
        {brokenCopy(QStringLiteral("date"), QStringLiteral("Update Setting Set DataTime='yesterday';")),
         QStringLiteral("not a date")},
        {brokenCopy(QStringLiteral("name"), QStringLiteral("Update Setting Set SampleName=printf('%.81c', 'x');")),
         QStringLiteral("at most 80 characters")},
        {brokenCopy(QStringLiteral("huge"), QStringLiteral("Update Setting Set SetLight=1e308;")),
         QStringLiteral("single precision")},
        {brokenCopy(QStringLiteral("rate"), QStringLiteral("Update Datas Set CpsData='x';")), QStringLiteral("CpsData")},
        {brokenCopy(QStringLiteral("self"), QStringLiteral("Update Setting Set AdjustNo=40;")),
         QStringLiteral("cannot correct it")},
        {brokenCopy(QStringLiteral("member"), QStringLiteral("Insert Into Setting(SeqNo,Modes,Parent) Values (41,4,0);"
                                                             "Insert Into Thicks(SeqNo,AdjNo,DataNo) Values (1,41,40);")),
         QStringLiteral("does not join a D record to a T record")},
    };
    const QStringList before = dump();
    QElapsedTimer took;
    took.start();
    for (const auto& [name, reason] : bad) {
        QString why;
        try {
            ImportMain(path, name, QStringLiteral("7 F"));
        } catch (const Tz4Error& error) {
            why = error.description();
        }
        EXPECT_TRUE(why.contains(reason)) << qPrintable(name) << ": " << qPrintable(why);
        EXPECT_EQ(dump(), before) << qPrintable(name);
    }
    EXPECT_LT(took.elapsed(), 20000) << "no file keeps the import busy";
    EXPECT_TRUE(intact());
}

TEST_F(ExportImport, ItemsFlaggedAsInTheTrashComeInLiveAsCounted)
{
    folder(7, QStringLiteral("Box"));
    record(40, 0, QStringLiteral("Gold"), 7);
    const QString written = ExportMain(path, file(QStringLiteral("box.mdb")), QStringLiteral("7 F,"));
    {
        SqliteDatabase db(written);
        db.exec(QStringLiteral("Update FAT Set ReCycled=1; Update Setting Set Recycled=1;"));
    }
    const QString other = freshDatabase();
    const ImportCounts counts = ImportMain(other, written, QStringLiteral("1 A"));
    EXPECT_EQ(counts.folders, 1);
    EXPECT_EQ(counts.records, 1);
    EXPECT_EQ(scalarIn(other, QStringLiteral("Select Count(*) From FAT Where Recycled=0")).toInt(), 1);
    EXPECT_EQ(scalarIn(other, QStringLiteral("Select Count(*) From Setting Where Recycled=0")).toInt(), 1);
}

TEST_F(ExportImport, AnExportHoldsNoWriterUp)
{
    useWriteAheadLog(path);
    folder(7, QStringLiteral("Box"));
    record(40, 0, QStringLiteral("Gold"), 7);
    // A writer that found the database held would give up at once.
    test::ScopedDatabaseWait wait(std::chrono::milliseconds(200));
    QString made;
    QString failed;
    ExportMain(path, file(QStringLiteral("box.mdb")), QStringLiteral("7 F,"), [&](const QString& caption, double) {
        // Called from inside the export's transaction while it collects the folder.
        if (!caption.contains(QStringLiteral("7 F")) || !made.isEmpty() || !failed.isEmpty())
            return;
        try {
            made = newFolder(path, QStringLiteral("Made during the export"), QStringLiteral("1 A"));
        } catch (const Tz4Error& error) {
            failed = error.description();
        }
    });
    EXPECT_TRUE(failed.isEmpty()) << qPrintable(failed);
    EXPECT_FALSE(made.isEmpty());
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where Name='Made during the export'")), 1);
}
