#include "data/Tz4DataSet.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Keys.h"
#include "data/SqliteDatabase.h"

namespace tz4 {

void clsTz4DataSet::fillDemonstration()
{
    setDefaults();
    graphX_ = {3.4f, 6.2f, 0};
    graphY_ = {0, 40, 10};
    expLog_ = true;
    gndDown_ = false;
    adjustFlag_ = false;
    const int count = 56;
    dataCount_ = count;
    dataIndex_ = count - 1;
    resizeArrays(count);
    for (int i = 0; i < count; ++i) {
        pointKeys_[size_t(i)] = i + 1;
        dataX_[size_t(i)] = float(3.4 + 0.05 * i);
        dataY_[size_t(i)] = float((double(i) * i + 100) / 3.7);
        gFlags_[size_t(i)] = 0;
        fFlags_[size_t(i)] = 0;
    }
}

void clsTz4DataSet::ReLoad()
{
    EnterProcedure here("clsTz4DataSet:ReLoad");
    ErrorTrap trap;
    if (dataBaseName_.isEmpty()) {
        fillDemonstration();
    } else if (SeqNo() < 1) {
        trap.run([&] {
            SqliteDatabase db(dataBaseName_);
            // The last row in date order, found through the (Modes, DataTime) index; among
            // records of the same date the one stored last.
            qint32 latest = 0;
            SqliteStatement rows = db.query(
                QStringLiteral("Select SeqNo From Setting Where Modes=%1 Order By DataTime Desc, SeqNo Desc Limit 1;")
                    .arg(kind_));
            if (rows.next())
                latest = qint32(rows.toInt(QStringLiteral("SeqNo")));
            // The first record of its kind starts from the defaults a stored record without
            // settings gets, so a first W scan plots the powered yield with the ground removed.
            loadSettings(db, latest);
            if (latest >= 1)
                LoadAdjustDatas(db);
        });
    } else {
        std::unique_ptr<SqliteDatabase> db;
        if (trap.run([&] { db = std::make_unique<SqliteDatabase>(dataBaseName_); })) {
            trap.run([&] { loadSettings(*db, SeqNo()); });
            trap.run([&] { loadPoints(*db); });
            trap.run([&] { LoadAdjustDatas(*db); });
            trap.run([&] { SetThickDatas(*db); });
            trap.run([&] { LoadAvrMinMax(*db); });
            trap.run([&] { folderPath_ = buildFolderPath(*db); });
        }
    }
    Refresh();
    loaded_ = true;
    loadFailure_ = trap.error() ? trap.error()->description() : QString();
    trap.finish();
}

void clsTz4DataSet::loadSettings(SqliteDatabase& db, qint32 seqNo)
{
    SqliteStatement row = db.query(QStringLiteral("Select * From Setting Where SeqNo=%1;").arg(seqNo));
    if (!row.next()) {
        setDefaults();
        gndDown_ = kind_ == KindW;
    } else {
        auto real = [&](const char* column, float whenNull) {
            return float(row.toDouble(QLatin1String(column), whenNull));
        };
        auto whole = [&](const char* column, qint64 whenNull) { return row.toInt(QLatin1String(column), whenNull); };
        sampleName_ = row.toText(QStringLiteral("SampleName"), QStringLiteral("Sample"));
        // A missing or unreadable date stays missing: any other date would misdate the record.
        dataTime_ = row.toDateTime(QStringLiteral("DataTime"));
        measTime_ = qint16(whole("MeasTime", 10));
        setLight_ = real("SetLight", 10);
        measLight_ = real("MeasLight", 0);
        volts_ = qint16(whole("Volts", 0));
        adjustNo_ = qint32(whole("AdjustNo", 0));
        powerNumber_ = real("Exp_Thick", 0.5f);
        thick_ = real("Exp_Thick", 0);
        backGndCps_ = real("BackGndCps", 0);
        tau_ = real("Tau", 0);
        startEnergy_ = float(row.toDouble(QStringLiteral("EngStr"), 340) / 100);
        finishEnergy_ = float(row.toDouble(QStringLiteral("EngEnd"), 620) / 100);
        stepEnergy_ = float(row.toDouble(QStringLiteral("EngStp"), 5) / 100);
        fixedEnergy_ = float(row.toDouble(QStringLiteral("EngStr"), 590) / 100);
        calibThick_ = float(row.toDouble(QStringLiteral("EngStp"), 0) / 10000);
        measCount_ = qint16(whole("EngEnd", 10));
        unitLight_ = real("UnitLight", 0);
        notes_ = {row.toText(QStringLiteral("Notes1")), row.toText(QStringLiteral("Notes2")),
                  row.toText(QStringLiteral("Notes3"))};
        parentKey_ = row.isNull(QStringLiteral("Parent"))
            ? QStringLiteral("1 R")
            : makeKey(qint32(row.toInt(QStringLiteral("Parent"))), QStringLiteral("F"));
        gndDown_ = row.toBool(QStringLiteral("GndDown"), kind_ == KindW);
        graphX_ = {real("X1", 0), real("X2", 0), real("Xstep", 0)};
        graphY_ = {real("Y1", 0), real("Y2", 0), real("Ystep", 0)};
    }
    adjustFlag_ = adjustNo_ >= 1;
    switch (kind_) {
    case KindW: expLog_ = powerNumber_ > 0 && powerNumber_ < 2; break;
    case KindC:
    case KindD:
    case KindT: expLog_ = true; break;
    default: expLog_ = false; break;
    }
    if (kind_ == KindT)
        LoadSubCalib(db, seqNo);
}

void clsTz4DataSet::loadPoints(SqliteDatabase& db)
{
    QString order;
    switch (kind_) {
    case KindW:
    case KindL: order = QStringLiteral(" Order By EngData;"); break;
    case KindT: order = QStringLiteral(" Order By CpsData;"); break;
    default: order = QStringLiteral(" Order By SeqNo;"); break;
    }
    SqliteStatement rows = db.query(QStringLiteral("Select * From Datas Where SerialNo=%1").arg(SeqNo()) + order);
    const int seqNo = rows.requireColumn(QStringLiteral("SeqNo"));
    const int engData = rows.requireColumn(QStringLiteral("EngData"));
    const int cpsData = rows.requireColumn(QStringLiteral("CpsData"));
    const int aDataColumn = rows.requireColumn(QStringLiteral("aData"));
    const int gFlag = rows.requireColumn(QStringLiteral("G_Flag"));
    const int fFlag = rows.requireColumn(QStringLiteral("F_Flag"));
    std::vector<qint32> keys;
    std::vector<float> xs, ys, zs;
    std::vector<char> gs, fs;
    while (rows.next()) {
        const float cps = float(rows.toDouble(cpsData));
        const float aData = float(rows.toDouble(aDataColumn));
        keys.push_back(qint32(rows.toInt(seqNo)));
        switch (kind_) {
        case KindW:
        case KindL:
            xs.push_back(float(rows.toDouble(engData) / 100));
            ys.push_back(cps);
            break;
        case KindT:
            xs.push_back(cps);
            ys.push_back(aData);
            break;
        default:
            xs.push_back(float(xs.size() + 1));
            ys.push_back(cps);
            break;
        }
        zs.push_back(aData);
        gs.push_back(char(rows.toBool(gFlag)));
        fs.push_back(char(rows.toBool(fFlag)));
    }
    const int count = int(keys.size());
    if (count == 0)
        return;
    setDataCount(count);
    pointKeys_ = std::move(keys);
    dataX_ = std::move(xs);
    dataY_ = std::move(ys);
    gFlags_ = std::move(gs);
    fFlags_ = std::move(fs);
    if (kind_ == KindC || kind_ == KindD)
        zValues_ = std::move(zs);
}

QString clsTz4DataSet::buildFolderPath(SqliteDatabase& db) const
{
    QString path;
    qint64 folder = GetKeyType(parentKey_) == QLatin1String("F") ? GetKeySeq(parentKey_) : 0;
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

} // namespace tz4
