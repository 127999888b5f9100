#include "data/RecordRows.h"

#include "core/Keys.h"
#include "data/SqliteDatabase.h"

namespace tz4 {

std::unique_ptr<SqliteDatabase> RecordRows::open() const
{
    return std::make_unique<SqliteDatabase>(dataBaseName_);
}

qint32 RecordRows::latestOfKind(SqliteDatabase& db, int kind)
{
    // Found through the (Modes, DataTime) index; among records of the same date the one stored last.
    SqliteStatement rows = db.query(
        QStringLiteral("Select SeqNo From Setting Where Modes=%1 Order By DataTime Desc, SeqNo Desc Limit 1;").arg(kind));
    return rows.next() ? qint32(rows.toInt(QStringLiteral("SeqNo"))) : 0;
}

namespace {

// The columns of a stored Setting row; a null column takes the value a new record would have.
void readSettings(SqliteStatement& row, int kind, RecordSettings& s)
{
    auto real = [&](const char* column, float whenNull) { return float(row.toDouble(QLatin1String(column), whenNull)); };
    auto whole = [&](const char* column, qint64 whenNull) { return row.toInt(QLatin1String(column), whenNull); };
    s.sampleName = row.toText(QStringLiteral("SampleName"), QStringLiteral("Sample"));
    // A missing or unreadable date stays missing: any other date would misdate the record.
    s.dataTime = row.toDateTime(QStringLiteral("DataTime"));
    s.measTime = qint16(whole("MeasTime", 10));
    s.setLight = real("SetLight", 10);
    s.measLight = real("MeasLight", 0);
    s.volts = qint16(whole("Volts", 0));
    s.adjustNo = qint32(whole("AdjustNo", 0));
    // Columns shared by the kinds: each kind reads its own meaning.
    s.powerNumber = real("Exp_Thick", 0.5f);
    s.thick = real("Exp_Thick", 0);
    s.backGndCps = real("BackGndCps", 0);
    s.tau = real("Tau", 0);
    s.startEnergy = float(row.toDouble(QStringLiteral("EngStr"), 340) / 100);
    s.finishEnergy = float(row.toDouble(QStringLiteral("EngEnd"), 620) / 100);
    s.stepEnergy = float(row.toDouble(QStringLiteral("EngStp"), 5) / 100);
    s.fixedEnergy = float(row.toDouble(QStringLiteral("EngStr"), 590) / 100);
    s.calibThick = float(row.toDouble(QStringLiteral("EngStp"), 0) / 10000);
    s.measCount = qint16(whole("EngEnd", 10));
    s.unitLight = real("UnitLight", 0);
    s.notes = {row.toText(QStringLiteral("Notes1")), row.toText(QStringLiteral("Notes2")),
               row.toText(QStringLiteral("Notes3"))};
    s.parentKey = row.isNull(QStringLiteral("Parent"))
                      ? QStringLiteral("1 R")
                      : makeKey(qint32(row.toInt(QStringLiteral("Parent"))), QStringLiteral("F"));
    s.gndDown = row.toBool(QStringLiteral("GndDown"), kind == RecordKinds::KindW);
    s.graphX = {real("X1", 0), real("X2", 0), real("Xstep", 0)};
    s.graphY = {real("Y1", 0), real("Y2", 0), real("Ystep", 0)};
}

} // namespace

void RecordRows::loadSettings(SqliteDatabase& db, qint32 seqNo, int kind, RecordSettings& settings,
                              RecordCalibration& calibration)
{
    SqliteStatement row = db.query(QStringLiteral("Select * From Setting Where SeqNo=%1;").arg(seqNo));
    if (row.next()) {
        readSettings(row, kind, settings);
    } else {
        settings.setDefaults();
        settings.gndDown = kind == KindW;
    }
    settings.adjustFlag = settings.adjustNo >= 1;
    switch (kind) {
    case KindW: settings.expLog = settings.powerNumber > 0 && settings.powerNumber < 2; break;
    case KindC:
    case KindD:
    case KindT: settings.expLog = true; break;
    default: settings.expLog = false; break;
    }
    if (kind == KindT) {
        std::vector<std::pair<qint32, QString>> members;
        SqliteStatement rows = db.query(
            QStringLiteral("Select * From Thicks,Setting Where AdjNo=%1 And Setting.SeqNo = DataNo;").arg(seqNo));
        while (rows.next())
            members.emplace_back(qint32(rows.toInt(QStringLiteral("DataNo"))), rows.toText(QStringLiteral("SampleName")));
        calibration.setMembers(std::move(members));
    }
}

void RecordRows::loadPoints(SqliteDatabase& db, qint32 seqNo, int kind, RecordPoints& points)
{
    QString order;
    switch (kind) {
    case KindW:
    case KindL: order = QStringLiteral(" Order By EngData;"); break;
    case KindT: order = QStringLiteral(" Order By CpsData;"); break;
    default: order = QStringLiteral(" Order By SeqNo;"); break;
    }
    SqliteStatement rows = db.query(QStringLiteral("Select * From Datas Where SerialNo=%1").arg(seqNo) + order);
    const int seqNoColumn = rows.requireColumn(QStringLiteral("SeqNo"));
    const int engData = rows.requireColumn(QStringLiteral("EngData"));
    const int cpsData = rows.requireColumn(QStringLiteral("CpsData"));
    const int aDataColumn = rows.requireColumn(QStringLiteral("aData"));
    const int gFlag = rows.requireColumn(QStringLiteral("G_Flag"));
    const int fFlag = rows.requireColumn(QStringLiteral("F_Flag"));
    RecordPoints read;
    while (rows.next()) {
        const float cps = float(rows.toDouble(cpsData));
        const float aData = float(rows.toDouble(aDataColumn));
        read.keys.push_back(qint32(rows.toInt(seqNoColumn)));
        switch (kind) {
        case KindW:
        case KindL:
            read.x.push_back(float(rows.toDouble(engData) / 100));
            read.y.push_back(cps);
            break;
        case KindT:
            read.x.push_back(cps);
            read.y.push_back(aData);
            break;
        default:
            read.x.push_back(float(read.x.size() + 1));
            read.y.push_back(cps);
            break;
        }
        read.z.push_back(aData);
        read.ground.push_back(char(rows.toBool(gFlag)));
        read.fit.push_back(char(rows.toBool(fFlag)));
    }
    const int count = int(read.keys.size());
    if (count == 0)
        return;
    const bool withZ = kind == KindC || kind == KindD;
    points.setCount(count, withZ);
    points.keys = std::move(read.keys);
    points.x = std::move(read.x);
    points.y = std::move(read.y);
    points.ground = std::move(read.ground);
    points.fit = std::move(read.fit);
    if (withZ)
        points.z = std::move(read.z);
}

QString RecordRows::folderPath(SqliteDatabase& db, const QString& parentKey)
{
    QString path;
    qint64 folder = GetKeyType(parentKey) == QLatin1String("F") ? GetKeySeq(parentKey) : 0;
    // A damaged tree could loop; no real tree is this deep.
    for (int depth = 0; folder >= 1 && depth < 10000; ++depth) {
        SqliteStatement row = db.query(QStringLiteral("Select * From Fat Where SeqNo=%1;").arg(folder));
        if (!row.next())
            break;
        path.prepend(QLatin1Char('\\') + row.toText(QStringLiteral("Name")));
        folder = row.toInt(QStringLiteral("Parent"));
    }
    return path;
}

void RecordRows::loadStatistics(SqliteDatabase& db, qint32 seqNo, std::array<float, 12>& values)
{
    const QString logOf = QStringLiteral("iif(CpsData > 0,log(CpsData) / log(10),log(1E-10) / log(10))");
    const QString statements[] = {
        QStringLiteral("Select Avg(CpsData) As AvrData,Max(CpsData) As MaxData,Min(CpsData) As MinData,"
                       "StDev(CpsData) As Stdev From Datas Where SerialNo=%1;"),
        QStringLiteral("Select Avg(%2) As AvrData,Max(%2) As MaxData,Min(%2) As MinData,StDev(%2) As stdev "
                       " From Datas Where SerialNo=%1;"),
        QStringLiteral("Select Avg(aData) As AvrData,Max(aData) As MaxData,Min(aData) As MinData,"
                       "StDev(aData) As StDev From Datas Where SerialNo=%1;"),
    };
    for (size_t q = 0; q < 3; ++q) {
        QString sql = statements[q];
        sql = q == 1 ? sql.arg(seqNo).arg(logOf) : sql.arg(seqNo);
        SqliteStatement row = db.query(sql);
        const bool found = row.next();
        const char* fields[] = {"AvrData", "MinData", "MaxData", "Stdev"};
        for (size_t f = 0; f < 4; ++f)
            values[q * 4 + f] = found ? float(row.toDouble(QLatin1String(fields[f]), 0)) : 0.0f;
    }
}

} // namespace tz4
