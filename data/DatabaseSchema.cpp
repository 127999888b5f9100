#include "data/DatabaseSchema.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "data/DatabaseWait.h"
#include "data/SqliteDatabase.h"

#include <QFileInfo>

#include <memory>

namespace tz4 {

namespace {

const QString kFatColumns = QStringLiteral("Name VarChar(50),MakeDate Date,Parent Integer,ReCycled Integer);");
const QString kSettingColumns = QStringLiteral(
    "SampleName VarChar(80),DataTime Date,Modes Integer,MeasTime Integer,SetLight Real,MeasLight Real,"
    "Volts Integer,AdjustNo Integer,Exp_Thick Real,BackGndCps Real,Tau Real,EngStr Integer,EngEnd Integer,"
    "EngStp Integer,UnitLight Integer,Notes1 VarChar(160),Notes2 VarChar(50),Notes3 varChar(50),"
    "Parent Integer,Recycled Integer,GndDown YesNo,X1 Real,X2 Real,Xstep Real,Y1 Real,Y2 Real,Ystep Real);");
const QString kDatasColumns = QStringLiteral(
    "SerialNo Integer,EngData Integer,xPoint Integer,yPoint Integer,CpsData Real,aData Real,G_Flag YesNo,F_Flag YesNo);");
const QString kThicksColumns = QStringLiteral("AdjNo Integer,DataNo Integer);");

QString table(const QString& name, const QString& key, const QString& constraint, const QString& columns)
{
    return QStringLiteral("Create Table %1(%2 Integer Constraint %3 PRIMARY KEY,%4").arg(name, key, constraint, columns);
}

} // namespace

const QStringList& databaseTableStatements()
{
    static const QStringList statements{
        table(QStringLiteral("Setting"), QStringLiteral("SeqNo"), QStringLiteral("SetConstraint"), kSettingColumns),
        table(QStringLiteral("Datas"), QStringLiteral("SeqNo"), QStringLiteral("DatasConstraint"), kDatasColumns),
        table(QStringLiteral("FAT"), QStringLiteral("SeqNo"), QStringLiteral("FATConstraint"), kFatColumns),
        table(QStringLiteral("Thicks"), QStringLiteral("SeqNo"), QStringLiteral("ThnConstraint"), kThicksColumns),
        table(QStringLiteral("Graphs"), QStringLiteral("TypeNo"), QStringLiteral("ThnConstraint"),
              QStringLiteral("GraphBack Integer,GraphFore Integer,GraphGrid YesNo,GraphLeft Real,GraphTop Real,"
                             "GraphWidth Real,GraphHeight Real,GraphScale Integer,BackVisible YesNo,"
                             "xScaleVisible YesNo,yScaleVisible YesNo,DotColor Integer,DotFill YesNo,DotSize Integer,"
                             "DotStyle Integer,DotVisible YesNo,FuncColor Integer,FuncStyle Integer,FuncVisible YesNo,"
                             "GndColor Integer,GndStyle Integer,GndVisible YesNo,LineColor Integer,LineStyle Integer,"
                             "LineVisible YesNo,SelColor Integer,SelFill YesNo,SelSize Integer,SelStyle Integer,"
                             "SelVisible YesNo,OverLayLevel Real);")),
        table(QStringLiteral("Prints"), QStringLiteral("SeqNo"), QStringLiteral("PtsConstraint"),
              QStringLiteral("TemplateName VarChar(80),TemplateDate Date,TemplateType Integer,GraphVisible YesNo,"
                             "GraphLeft Real,GraphTop Real,GraphWidth Real,GraphHeight Real,GraphFontName VarChar(40),"
                             "GraphFontSize Real,TableVisible YesNo,TableLeft Real,TableTop Real,TableWidth Real,"
                             "TableHeight Real,TableCols Integer,TableFontName VarChar(40),TableFontSize Real,"
                             "DefaultTemp YesNo);")),
        table(QStringLiteral("PrtLabel"), QStringLiteral("SeqNo"), QStringLiteral("PllConstraint"),
              QStringLiteral("TempNo Integer,Caption VarChar(254),F_Cap VarChar(80),B_Cap VarChar(80),"
                             "Cap_Format VarChar(40),Binding YesNo,BindNo Integer,LabelLeft Real,LabelTop Real,"
                             "FontName VarChar(40),FontSize Real,FontBold YesNo,FontUnder YesNo);")),
    };
    return statements;
}

bool MakeDB(const QString& path)
{
    EnterProcedure here("modDataBase:MakeDB");
    ErrorTrap trap;
    std::unique_ptr<SqliteDatabase> db;
    // The engine refuses to create over an existing file.
    trap.run([&] {
        if (QFileInfo::exists(path))
            throw Tz4Error(err::DatabaseExists, QStringLiteral("Database already exists: '%1'").arg(path));
        db = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Open::CreateIfMissing);
    });
    if (db) {
        // One transaction: a failing statement is undone on its own and the rest still run.
        trap.run([&] { db->exec(QStringLiteral("BEGIN")); });
        for (const QString& statement : databaseTableStatements())
            trap.run([&] { db->execute(statement); });
        trap.run([&] { db->exec(QStringLiteral("COMMIT")); });
    }
    return trap.finish();
}

void dropWorkTables(SqliteDatabase& db)
{
    for (const char* name : {"TmpFat", "TmpSet", "TmpDat", "TmpThn"}) {
        try {
            db.execute(QStringLiteral("Drop Table %1;").arg(QLatin1String(name)));
        } catch (const Tz4Error& e) {
            if (e.number() != err::TableNotFound)
                throw;
        }
    }
}

void createWorkTables(SqliteDatabase& db, bool temporary)
{
    const auto create = [&](const QString& statement) {
        db.execute(temporary ? QString(statement).replace(QStringLiteral("Create Table"), QStringLiteral("Create Temp Table"))
                             : statement);
    };
    create(table(QStringLiteral("TmpFAT"), QStringLiteral("SeqNo"), QStringLiteral("TmpFATConstraint"), kFatColumns));
    create(table(QStringLiteral("TmpSet"), QStringLiteral("SeqNo"), QStringLiteral("TmpSetConstraint"), kSettingColumns));
    create(table(QStringLiteral("TmpDat"), QStringLiteral("SeqNo"), QStringLiteral("TmpDatasConstraint"), kDatasColumns));
    create(table(QStringLiteral("TmpThn"), QStringLiteral("SeqNo"), QStringLiteral("TmpThnConstraint"), kThicksColumns));
}

bool MakeTmpDB(const QString& mainDatabasePath)
{
    EnterProcedure here("modDataBase:MakeTmpDB");
    ErrorTrap trap;
    const bool ok = trap.run([&] {
        SqliteDatabase db(mainDatabasePath);
        dropWorkTables(db);
        createWorkTables(db, false);
    });
    if (!ok) {
        ShowErrorMessage(QStringLiteral("modDataBase"), QStringLiteral("MakeTmpDB"), *trap.error());
        trap.finish();
    }
    return ok;
}

void addMainIndexes(const QString& path)
{
    SqliteDatabase db(path);
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS DatasSerialNo ON Datas(SerialNo);"
                           "CREATE INDEX IF NOT EXISTS SettingParent ON Setting(Parent);"
                           "CREATE INDEX IF NOT EXISTS FatParent ON FAT(Parent);"
                           "CREATE INDEX IF NOT EXISTS ThicksAdjNo ON Thicks(AdjNo);"
                           "CREATE INDEX IF NOT EXISTS SettingModesDate ON Setting(Modes, DataTime);"));
}

void useWriteAheadLog(const QString& path)
{
    SqliteDatabase db(path);
    SqliteStatement mode = db.prepare(QStringLiteral("PRAGMA journal_mode;"));
    if (mode.next() && mode.toText(0).compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return;
    mode.reset();
    // The switch needs the file to itself for a moment; it is not worth a long wait.
    const DatabaseWait::ShortWait brief(std::chrono::milliseconds(1000));
    SqliteStatement toLog = db.prepare(QStringLiteral("PRAGMA journal_mode=WAL;"));
    toLog.run();
}

} // namespace tz4
