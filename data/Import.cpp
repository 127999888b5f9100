#include "data/ExportImport.h"

#include "core/ErrorLocation.h"
#include "core/FileTargets.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/DatabaseSchema.h"
#include "data/SampleOperations.h"
#include "data/SampleRows.h"
#include "data/SqliteDatabase.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace tz4 {

namespace {

struct Exchanged {
    const char* table;
    const char* workTable;
    const char* columns;
};

const Exchanged kTables[] = {
    {"FAT", "TmpFat", "SeqNo,Name,MakeDate,Parent,ReCycled"},
    {"Setting", "TmpSet",
     "SeqNo,SampleName,DataTime,Modes,MeasTime,SetLight,MeasLight,Volts,AdjustNo,Exp_Thick,BackGndCps,Tau,EngStr,"
     "EngEnd,EngStp,UnitLight,Notes1,Notes2,Notes3,Parent,Recycled,GndDown,X1,X2,Xstep,Y1,Y2,Ystep"},
    {"Datas", "TmpDat", "SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag"},
    {"Thicks", "TmpThn", "SeqNo,AdjNo,DataNo"},
};

Tz4Error notExchangeFile(const QString& file, const QString& why)
{
    return Tz4Error(dberr::Corrupt, QStringLiteral("'%1' is not a TZ-4 exchange file: %2").arg(file, why));
}

// Column names and declared types (in lower case) of a table, in order.
QList<std::pair<QString, QString>> columnsOf(SqliteDatabase& db, const QString& schema, const QString& table)
{
    QList<std::pair<QString, QString>> columns;
    SqliteStatement info = db.prepare(QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, table));
    while (info.next())
        columns.append({info.toText(1), info.toText(2).toLower()});
    return columns;
}

// The same columns, names compared without regard to case as the engine does.
bool sameColumns(const QList<std::pair<QString, QString>>& a, const QList<std::pair<QString, QString>>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.first.compare(y.first, Qt::CaseInsensitive) == 0 && x.second == y.second;
    });
}

QString describeColumns(const QList<std::pair<QString, QString>>& columns)
{
    QStringList names;
    for (const auto& [name, type] : columns)
        names << name + QLatin1Char(' ') + type;
    return names.join(QStringLiteral(", "));
}

// The file must be a sound database holding our four tables with every column we read.
void checkExchangeFile(SqliteDatabase& db, const QString& alias, const QString& file)
{
    try {
        SqliteStatement check = db.prepare(QStringLiteral("PRAGMA %1.integrity_check").arg(alias));
        QStringList problems;
        while (check.next())
            if (check.value(0).toString() != QLatin1String("ok"))
                problems << check.value(0).toString();
        if (!problems.isEmpty())
            throw notExchangeFile(file, QStringLiteral("it is damaged (%1)").arg(problems.first()));
        for (const Exchanged& t : kTables) {
            const QString table = QLatin1String(t.table);
            // A view in place of a table could run any query, an endless one included, while the
            // import holds the database: only plain tables are read.
            SqliteStatement kind = db.prepare(
                QStringLiteral("Select type, sql From %1.sqlite_master Where lower(name)=lower(?);").arg(alias));
            kind.bind(1, table);
            if (!kind.next())
                throw notExchangeFile(file, QStringLiteral("it has no table %1").arg(table));
            if (kind.toText(0) != QLatin1String("table")
                || kind.toText(1).simplified().startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive))
                throw notExchangeFile(file, QStringLiteral("its %1 is a %2, not a table").arg(table, kind.toText(0)));
            if (!sameColumns(columnsOf(db, alias, table), columnsOf(db, QStringLiteral("main"), table)))
                throw notExchangeFile(file, QStringLiteral("its table %1 has other columns than the database's (%2)")
                                                .arg(table, describeColumns(columnsOf(db, alias, table))));
        }
    } catch (const Tz4Error& e) {
        if (e.number() == dberr::Corrupt && e.description().contains(QLatin1String("exchange file")))
            throw;
        throw notExchangeFile(file, e.description());
    }
}

// The first row a query finds, as text for the error; empty when none.
QString firstOffender(SqliteDatabase& db, const QString& sql)
{
    SqliteStatement st = db.prepare(sql);
    return st.next() ? st.value(0).toString() : QString();
}

void refuseIf(SqliteDatabase& db, const QString& sql, const QString& what)
{
    const QString offender = firstOffender(db, sql);
    if (!offender.isEmpty())
        throw Tz4Error(dberr::Corrupt, QStringLiteral("The file cannot be imported: ") + what.arg(offender));
}

// Refuses the first value of a work table that the table's column could not hold as the program
// writes it: a whole number, a number of single precision, a Yes/No, a date, a text that fits.
void checkColumnValues(SqliteDatabase& db, const QString& table, const QString& workTable)
{
    QStringList conditions;
    for (const auto& [name, type] : columnsOf(db, QStringLiteral("temp"), workTable)) {
        const QString c = QLatin1Char('"') + name + QLatin1Char('"');
        QString bad;
        QString wanted;
        if (type == QLatin1String("integer")) {
            bad = QStringLiteral("typeof(%1) Not In ('integer','null') Or %1 Not Between -2147483648 And 2147483647");
            wanted = QStringLiteral("a whole number");
        } else if (type == QLatin1String("real")) {
            bad = QStringLiteral("typeof(%1) Not In ('integer','real','null') Or Abs(%1) > 3.4028234663852886e38");
            wanted = QStringLiteral("a number of single precision");
        } else if (type == QLatin1String("yesno")) {
            bad = QStringLiteral("typeof(%1) Not In ('integer','null')");
            wanted = QStringLiteral("Yes or No");
        } else if (type == QLatin1String("date")) {
            bad = QStringLiteral("%1 Is Not Null And (typeof(%1)<>'text' Or datetime(%1) Is Not %1)");
            wanted = QStringLiteral("a date");
        } else if (type.startsWith(QLatin1String("varchar("))) {
            const QString width = type.mid(8, type.size() - 9);
            bad = QStringLiteral("typeof(%1) Not In ('text','null') Or length(%1) > ") + width;
            wanted = QStringLiteral("a text of at most %1 characters").arg(width);
        } else {
            continue;
        }
        conditions << QStringLiteral("Select 'in %2 row ' || quote(SeqNo) || ' the column %3 holds ' || "
                                     "substr(quote(%1), 1, 40) || ', not %6' From temp.%4 Where %5")
                          .arg(c, table, name, workTable, QString(bad).replace(QStringLiteral("%1"), c), wanted);
    }
    if (conditions.isEmpty())
        return;
    const QString offender = firstOffender(db, conditions.join(QStringLiteral(" Union All ")) + QStringLiteral(" Limit 1;"));
    if (!offender.isEmpty())
        throw Tz4Error(dberr::Corrupt, QStringLiteral("The file cannot be imported: %1.").arg(offender));
}

// Maps every old key of a work table to a new one above every key of the file and of the
// database, in key order; returns the map's name.
QString mapKeys(SqliteDatabase& db, const QString& mainTable, const QString& workTable)
{
    const qint64 first = std::max(db.newKey(QStringLiteral("Select Max(SeqNo) + 1 AS MaxSeq From main.%1;").arg(mainTable)),
                                  db.newKey(QStringLiteral("Select Max(SeqNo) + 1 AS MaxSeq From temp.%1;").arg(workTable)));
    const QString map = QStringLiteral("Map") + workTable;
    db.exec(QStringLiteral("Drop Table If Exists temp.%1;"
                           "Create Temp Table %1(Old Integer Primary Key, New Integer);"
                           "Insert Into %1 Select SeqNo, %2 + Row_Number() Over (Order By SeqNo) - 1 From temp.%3;")
                .arg(map)
                .arg(first)
                .arg(workTable));
    return map;
}

void renumber(SqliteDatabase& db, const QString& map, const QString& table, const QString& column)
{
    db.exec(QStringLiteral("Update temp.%2 Set %3=(Select New From %1 Where Old=temp.%2.%3) "
                           "Where %3 In (Select Old From %1);")
                .arg(map, table, column));
}

} // namespace

namespace ops {

void checkImportedRows(SqliteDatabase& db)
{
    EnterProcedure here("modDataBase:ImportMain");
    // Every value must be one the program itself could have stored, or the record would come
    // in unreadable or show numbers it never held.
    for (const Exchanged& t : kTables)
        checkColumnValues(db, QLatin1String(t.table), QLatin1String(t.workTable));
    db.exec(QStringLiteral("Update temp.TmpFat Set Parent=0 Where Parent Is Null;"
                           "Update temp.TmpSet Set Parent=0 Where Parent Is Null;"
                           "Update temp.TmpSet Set AdjustNo=0 Where AdjustNo Is Null;"));
    refuseIf(db, QStringLiteral("Select SeqNo From temp.TmpFat Where SeqNo<1 Union All "
                                "Select SeqNo From temp.TmpSet Where SeqNo<1 Limit 1;"),
             QStringLiteral("it holds the key %1, below 1."));
    refuseIf(db, QStringLiteral("Select SeqNo From temp.TmpSet Where Modes Is Null Or Modes Not In (0,1,2,3,4) Limit 1;"),
             QStringLiteral("record %1 is of no known kind."));
    refuseIf(db, QStringLiteral("Select SeqNo From temp.TmpFat Where Parent<>0 And Parent Not In (Select SeqNo From temp.TmpFat) "
                                "Limit 1;"),
             QStringLiteral("folder %1 lies in a folder the file does not hold."));
    refuseIf(db, QStringLiteral("Select SeqNo From temp.TmpSet Where Parent<>0 And Parent Not In (Select SeqNo From temp.TmpFat) "
                                "Limit 1;"),
             QStringLiteral("record %1 lies in a folder the file does not hold."));
    refuseIf(db, QStringLiteral("Select SeqNo From temp.TmpSet Where AdjustNo>0 And AdjustNo Not In (Select SeqNo From temp.TmpSet) "
                                "Limit 1;"),
             QStringLiteral("record %1 is corrected by a record the file does not hold."));
    refuseIf(db, QStringLiteral("Select SeqNo From temp.TmpDat Where SerialNo Is Null Or SerialNo Not In "
                                "(Select SeqNo From temp.TmpSet) Limit 1;"),
             QStringLiteral("point %1 belongs to a record the file does not hold."));
    refuseIf(db, QStringLiteral("Select SeqNo From temp.TmpThn Where AdjNo Not In (Select SeqNo From temp.TmpSet) "
                                "Or DataNo Not In (Select SeqNo From temp.TmpSet) Or AdjNo Is Null Or DataNo Is Null Limit 1;"),
             QStringLiteral("calibration link %1 names a record the file does not hold."));
    // The links attach allows, and no other: an L record corrects a W record, a T record
    // calibrates a C record, a calibration line holds D records.
    refuseIf(db, QStringLiteral("Select s.SeqNo From temp.TmpSet s Join temp.TmpSet a On a.SeqNo=s.AdjustNo "
                                "Where s.AdjustNo>0 And Not ((s.Modes=0 And a.Modes=2) Or (s.Modes=1 And a.Modes=4)) "
                                "Limit 1;"),
             QStringLiteral("record %1 names a correction of a kind that cannot correct it "
                            "(an L record corrects a W record, a T record calibrates a C record)."));
    refuseIf(db, QStringLiteral("Select t.SeqNo From temp.TmpThn t Join temp.TmpSet l On l.SeqNo=t.AdjNo "
                                "Join temp.TmpSet d On d.SeqNo=t.DataNo Where l.Modes<>4 Or d.Modes<>3 Limit 1;"),
             QStringLiteral("calibration link %1 does not join a D record to a T record."));
    // Every folder must reach the top level; one that never does sits in a loop.
    refuseIf(db, QStringLiteral("With Recursive Reach(SeqNo) As (Select SeqNo From temp.TmpFat Where Parent=0 "
                                "Union Select f.SeqNo From temp.TmpFat f Join Reach r On f.Parent=r.SeqNo) "
                                "Select SeqNo From temp.TmpFat Where SeqNo Not In (Select SeqNo From Reach) Limit 1;"),
             QStringLiteral("folder %1 lies inside itself (its folders form a loop)."));
}

void ImportSeq(SqliteDatabase& db, const QString& targetKey, const OperationProgress& progress)
{
    EnterProcedure here("modDataBase:ImportSeq");
    reportProgress(progress, GetRes(msg::CheckingDependencies, {QStringLiteral("FAT")}));
    const QString folders = mapKeys(db, QStringLiteral("FAT"), QStringLiteral("TmpFat"));
    renumber(db, folders, QStringLiteral("TmpSet"), QStringLiteral("Parent"));
    renumber(db, folders, QStringLiteral("TmpFat"), QStringLiteral("Parent"));
    renumber(db, folders, QStringLiteral("TmpFat"), QStringLiteral("SeqNo"));

    reportProgress(progress, GetRes(msg::CheckingDependencies, {QStringLiteral("Setting")}));
    const QString records = mapKeys(db, QStringLiteral("Setting"), QStringLiteral("TmpSet"));
    renumber(db, records, QStringLiteral("TmpDat"), QStringLiteral("SerialNo"));
    renumber(db, records, QStringLiteral("TmpSet"), QStringLiteral("AdjustNo"));
    renumber(db, records, QStringLiteral("TmpThn"), QStringLiteral("DataNo"));
    renumber(db, records, QStringLiteral("TmpThn"), QStringLiteral("AdjNo"));
    renumber(db, records, QStringLiteral("TmpSet"), QStringLiteral("SeqNo"));

    // A calibration line's points keep the member point keys they were copied from in EngData.
    reportProgress(progress, GetRes(msg::CheckingDependencies, {QStringLiteral("Datas")}));
    renumber(db, mapKeys(db, QStringLiteral("Datas"), QStringLiteral("TmpDat")), QStringLiteral("TmpDat"),
             QStringLiteral("SeqNo"));
    reportProgress(progress, GetRes(msg::CalibrationCaption));
    renumber(db, mapKeys(db, QStringLiteral("Thicks"), QStringLiteral("TmpThn")), QStringLiteral("TmpThn"),
             QStringLiteral("SeqNo"));

    // The trash as target takes the file's top level to the top level, folders kept.
    const QString type = GetKeyType(targetKey);
    const qint32 parent = type == keytype::Folder ? GetKeySeq(targetKey) : 0;
    db.execute(QStringLiteral("UpDate TmpFat Set Parent=%1 Where Parent=0;").arg(parent));
    db.execute(QStringLiteral("UpDate TmpSet Set Parent=%1 Where Parent=0;").arg(parent));
}

} // namespace ops

ImportCounts ImportMain(const QString& databasePath, const QString& fileName, const QString& targetKey,
                        const OperationProgress& progress)
{
    EnterProcedure here("modDataBase:ImportMain");
    QString file = exchangeFileName(fileName);
    if (!QFileInfo::exists(file) && QFileInfo::exists(fileName))
        file = fileName;
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile())
        throw Tz4Error(err::FileNotFound, QStringLiteral("There is no file '%1'.").arg(file));
    if (sameFile(file, databasePath))
        throw Tz4Error(err::PermissionDenied, QStringLiteral("'%1' is the database itself.").arg(file));

    const QString type = GetKeyType(targetKey);
    if (type != keytype::Root && type != keytype::Folder && type != keytype::Trash)
        throw Tz4Error(err::InvalidPropertyValue,
                       QStringLiteral("Records are imported into a folder or the desktop, not into %1.").arg(targetKey));

    reportProgress(progress, GetRes(msg::ImportProgress), 0);
    SqliteDatabase db(databasePath);
    if (type == keytype::Folder && !folderIsLive(db, GetKeySeq(targetKey)))
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no folder %1.").arg(targetKey));
    QString alias;
    try {
        alias = db.attach(file);
    } catch (const Tz4Error& e) {
        throw notExchangeFile(file, e.description());
    }
    checkExchangeFile(db, alias, file);

    ImportCounts counts;
    {
        SqliteTransaction transaction(db);
        createWorkTables(db, true);
        double step = 0;
        try {
            for (const Exchanged& t : kTables) {
                db.exec(QStringLiteral("Insert Into temp.%1(%2) Select %2 From %3.%4;")
                            .arg(QLatin1String(t.workTable), QLatin1String(t.columns), alias, QLatin1String(t.table)));
                reportProgress(progress, GetRes(msg::ImportProgress), (step += 0.125));
            }
        } catch (const Tz4Error& e) {
            throw notExchangeFile(file, e.description());
        }
        ops::checkImportedRows(db);
        // An exchange file holds live items; a trash flag in one has no meaning here and would
        // hide what the import counts as imported.
        db.exec(QStringLiteral("Update temp.TmpFat Set ReCycled=0; Update temp.TmpSet Set Recycled=0;"));
        ops::ImportSeq(db, targetKey, progress);
        for (const Exchanged& t : kTables) {
            db.exec(QStringLiteral("Insert Into main.%1 Select * From temp.%2;").arg(QLatin1String(t.table), QLatin1String(t.workTable)));
            reportProgress(progress, GetRes(msg::ImportProgress), (step += 0.125));
        }
        counts.folders = firstOffender(db, QStringLiteral("Select Count(*) From temp.TmpFat;")).toInt();
        counts.records = firstOffender(db, QStringLiteral("Select Count(*) From temp.TmpSet;")).toInt();
        counts.points = firstOffender(db, QStringLiteral("Select Count(*) From temp.TmpDat;")).toInt();
        dropWorkTables(db);
        db.exec(QStringLiteral("Drop Table temp.MapTmpFat; Drop Table temp.MapTmpSet; Drop Table temp.MapTmpDat; "
                               "Drop Table temp.MapTmpThn;"));
        transaction.commit();
    }
    db.detachAll();
    reportProgress(progress, GetRes(msg::ImportProgress), 1);
    return counts;
}

} // namespace tz4
