#include "data/RecordRows.h"

#include "data/SqliteDatabase.h"

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

void RecordRows::loadAdjustment(SqliteDatabase& db, int kind, RecordSettings& settings, RecordCalibration& calibration)
{
    if (kind != KindW && kind != KindC)
        return;
    if (settings.adjustNo < 1) {
        settings.calibName = QStringLiteral("None");
        if (kind == KindC)
            calibration.clearLine();
        return;
    }
    settings.calibName = calibrationName(db, settings.adjustNo);
    if (kind == KindW) {
        SqliteStatement rows = db.query(QStringLiteral("Select * From Datas Where SerialNo=%1;").arg(settings.adjustNo));
        std::vector<std::pair<double, float>> light;
        while (rows.next())
            light.emplace_back(rows.toDouble(QStringLiteral("EngData")), float(rows.toDouble(QStringLiteral("CpsData"))));
        calibration.setLightPoints(light);
    } else {
        SqliteStatement rows =
            db.query(QStringLiteral("Select * From Datas Where SerialNo=%1 and F_Flag;").arg(settings.adjustNo));
        std::vector<std::pair<float, float>> line;
        while (rows.next())
            line.emplace_back(float(rows.toDouble(QStringLiteral("CpsData"))), float(rows.toDouble(QStringLiteral("aData"))));
        calibration.fitLine(line);
    }
}

void RecordRows::storeThicknesses(SqliteDatabase& db, int kind, const RecordSettings& settings,
                                  const RecordCalibration& calibration, RecordPoints& points)
{
    if (kind != KindC || settings.adjustNo < 1)
        return;
    points.z.resize(size_t(points.count()));
    SqliteTransaction transaction(db);
    SqliteStatement update = db.prepare(QStringLiteral("Update Datas Set aData=? Where SeqNo=?;"));
    for (size_t p = 0; p < size_t(points.count()); ++p) {
        const float thickness = calibration.thicknessOf(points.y[p]);
        points.z[p] = thickness;
        update.bind(1, double(thickness)).bind(2, qint64(points.keys[p]));
        update.run();
        update.reset();
    }
    transaction.commit();
}

} // namespace tz4
