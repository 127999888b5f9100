#include "data/Tz4DataSet.h"

#include "core/Formats.h"
#include "data/LeastSquares.h"
#include "data/SqliteDatabase.h"

#include <cmath>

namespace tz4 {

namespace {

QString calibrationName(SqliteDatabase& db, qint32 adjustNo)
{
    SqliteStatement row = db.query(QStringLiteral("Select * From Setting Where SeqNo=%1;").arg(adjustNo));
    if (!row.next())
        return QStringLiteral("None");
    return row.toText(QStringLiteral("SampleName"), QStringLiteral("None"));
}

} // namespace

void clsTz4DataSet::LoadAdjustDatas(SqliteDatabase& db)
{
    if (kind_ == KindW) {
        if (adjustNo_ < 1) {
            calibName_ = QStringLiteral("None");
            return;
        }
        calibName_ = calibrationName(db, adjustNo_);
        SqliteStatement rows = db.query(QStringLiteral("Select * From Datas Where SerialNo=%1;").arg(adjustNo_));
        std::vector<std::pair<qint64, float>> entries;
        while (rows.next()) {
            entries.emplace_back(roundHalfEven(rows.toDouble(QStringLiteral("EngData")) / 5 - 68),
                                 float(rows.toDouble(QStringLiteral("CpsData"))));
        }
        const size_t m = entries.size();
        if (m == 0)
            return;
        lightTable_.assign(m < 14 ? 71 : 5 * m + 1, 0.0f);
        // A light point outside the table's energies cannot correct anything and is left out.
        for (const auto& [index, value] : entries) {
            if (index >= 0 && index < qint64(lightTable_.size()))
                lightTable_[size_t(index)] = value;
        }
    } else if (kind_ == KindC) {
        if (adjustNo_ < 1) {
            calibName_ = QStringLiteral("None");
            gradient_ = 0;
            intercept_ = 0;
            return;
        }
        calibName_ = calibrationName(db, adjustNo_);
        SqliteStatement rows =
            db.query(QStringLiteral("Select * From Datas Where SerialNo=%1 and F_Flag;").arg(adjustNo_));
        LineSums sums;
        while (rows.next()) {
            const float cps = float(rows.toDouble(QStringLiteral("CpsData")));
            const float x = cps > 0 ? log10Single(cps) : 0.0f;
            sums.add(x, float(rows.toDouble(QStringLiteral("aData"))));
        }
        sums.fit(gradient_, intercept_);
    }
}

// Stores each point's thickness from the calibration line; the plotted value adds the shift.
void clsTz4DataSet::SetThickDatas(SqliteDatabase& db)
{
    if (kind_ != KindC || adjustNo_ < 1)
        return;
    zValues_.resize(size_t(dataCount_));
    SqliteTransaction transaction(db);
    SqliteStatement update = db.prepare(QStringLiteral("Update Datas Set aData=? Where SeqNo=?;"));
    for (int i = 0; i < dataCount_; ++i) {
        const size_t p = size_t(i);
        const float cps = dataY_[p];
        const float thickness = cps <= 0 ? 0.0f : float(double(log10Single(cps)) * gradient_ + intercept_);
        zValues_[p] = thickness;
        update.bind(1, double(thickness)).bind(2, qint64(pointKeys_[p]));
        update.run();
        update.reset();
    }
    transaction.commit();
}

void clsTz4DataSet::LoadSubCalib(SqliteDatabase& db, qint32 lineSeqNo)
{
    members_.clear();
    if (kind_ != KindT)
        return;
    SqliteStatement rows = db.query(
        QStringLiteral("Select * From Thicks,Setting Where AdjNo=%1 And Setting.SeqNo = DataNo;").arg(lineSeqNo));
    while (rows.next())
        members_.emplace_back(qint32(rows.toInt(QStringLiteral("DataNo"))), rows.toText(QStringLiteral("SampleName")));
}

void clsTz4DataSet::LoadAvrMinMax(SqliteDatabase& db)
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
        sql = q == 1 ? sql.arg(SeqNo()).arg(logOf) : sql.arg(SeqNo());
        SqliteStatement row = db.query(sql);
        const bool found = row.next();
        const char* fields[] = {"AvrData", "MinData", "MaxData", "Stdev"};
        for (size_t f = 0; f < 4; ++f)
            statistics_[q * 4 + f] = found ? float(row.toDouble(QLatin1String(fields[f]), 0)) : 0.0f;
    }
}

} // namespace tz4
