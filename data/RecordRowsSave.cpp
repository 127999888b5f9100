#include "data/RecordRows.h"

#include "core/Formats.h"
#include "core/Keys.h"
#include "core/SystemParam.h"
#include "data/SqlText.h"
#include "data/SqliteDatabase.h"

namespace tz4 {

namespace {

// Numbers go into statements in the user's locale with its separator turned into a point.
QString sqlNumber(float value)
{
    return uncheckPointDelim(shortestText(value));
}

QString sqlWhole(double value)
{
    return QString::number(roundHalfEven(value));
}

// Dates go between "#" marks in the program's date pattern.
QString sqlDate(const QDateTime& when)
{
    QString pattern = SystemParam().DateTimeFormat;
    if (pattern.isEmpty())
        pattern = QStringLiteral(R"(mm"/"dd"/"yyyy hh":"nn":"ss)");
    return QLatin1Char('#') + formatDate(when, pattern) + QLatin1Char('#');
}

QString sqlBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// The settings that describe a measurement as it was made; the energy columns mean what the kind makes them mean.
QStringList measuredItems(int kind, const RecordSettings& s, int pointCount)
{
    QStringList items;
    items << QStringLiteral("Volts=%1").arg(s.volts) << QStringLiteral("BackGndCps=") + sqlNumber(s.backGndCps)
          << QStringLiteral("MeasTime=%1").arg(s.measTime) << QStringLiteral("Tau=") + sqlNumber(s.tau)
          << QStringLiteral("DataTime=") + sqlDate(s.dataTime) << QStringLiteral("MeasLight=") + sqlNumber(s.measLight)
          << QStringLiteral("SetLight=") + sqlNumber(s.setLight);
    const bool scanned = kind == RecordKinds::KindW || kind == RecordKinds::KindL;
    if (scanned) {
        items << QStringLiteral("EngStr=") + sqlWhole(double(s.startEnergy) * 100)
              << QStringLiteral("EngEnd=") + sqlWhole(double(s.finishEnergy) * 100);
    } else if (kind == RecordKinds::KindC || kind == RecordKinds::KindD) {
        items << QStringLiteral("EngStr=") + sqlWhole(double(s.fixedEnergy) * 100)
              << QStringLiteral("EngEnd=%1").arg(pointCount);
    }
    items << QStringLiteral("UnitLight=") + sqlNumber(s.unitLight);
    if (scanned)
        items << QStringLiteral("EngStp=") + sqlWhole(double(s.stepEnergy) * 100);
    else if (kind == RecordKinds::KindC)
        items << QStringLiteral("EngStp=") + sqlWhole(double(s.calibThick) * 10000);
    return items;
}

QStringList descriptiveItems(int kind, const RecordSettings& s)
{
    QStringList items;
    items << QStringLiteral("X1=") + sqlNumber(s.graphX[0]) << QStringLiteral("X2=") + sqlNumber(s.graphX[1])
          << QStringLiteral("Xstep=") + sqlNumber(s.graphX[2]) << QStringLiteral("Y1=") + sqlNumber(s.graphY[0])
          << QStringLiteral("Y2=") + sqlNumber(s.graphY[1]) << QStringLiteral("Ystep=") + sqlNumber(s.graphY[2])
          << QStringLiteral("AdjustNo=%1").arg(s.adjustNo) << QStringLiteral("SampleName=") + sqlQuote(s.sampleName)
          << QStringLiteral("GndDown=") + sqlBool(s.gndDown);
    if (kind == RecordKinds::KindW)
        items << QStringLiteral("Exp_Thick=") + sqlNumber(s.powerNumber);
    else if (kind == RecordKinds::KindC || kind == RecordKinds::KindD)
        items << QStringLiteral("Exp_Thick=") + sqlNumber(s.thick);
    items << QStringLiteral("Parent=%1").arg(s.parentFolder());
    for (size_t i = 0; i < s.notes.size(); ++i)
        items << QStringLiteral("Notes%1=").arg(i + 1) + sqlQuoteOrNull(s.notes[i]);
    return items;
}

} // namespace

qint32 RecordRows::insert(SqliteDatabase& db, int kind, const RecordSettings& settings, RecordPoints& points)
{
    const qint64 key = db.newKey(QStringLiteral("Select Max(SeqNo) + 1 As MaxSeq From Setting;"));
    db.execute(QStringLiteral("Insert Into Setting(SeqNo,Modes,Parent,Recycled) Values (%1,%2,%3,0);")
                   .arg(key)
                   .arg(kind)
                   .arg(settings.parentFolder()));
    const qint64 firstPoint = db.newKey(QStringLiteral("Select Max(SeqNo) + 1 As MaxSeq From Datas;"));
    SqliteStatement insert = db.prepare(QStringLiteral(
        "Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) "
        "Values (?,?,?,0,0,?,?,False,False);"));
    const bool scanned = kind == KindW || kind == KindL;
    const qint64 fixedEnergy = roundHalfEven(double(settings.fixedEnergy) * 100);
    for (size_t p = 0; p < size_t(points.count()); ++p) {
        const qint64 pointKey = firstPoint + qint64(p);
        insert.bind(1, pointKey)
            .bind(2, key)
            .bind(3, scanned ? roundHalfEven(double(points.x[p]) * 100) : fixedEnergy)
            .bind(4, double(points.y[p]))
            .bind(5, kind == KindD && p < points.z.size() ? double(points.z[p]) : 0.0);
        insert.run();
        insert.reset();
        points.keys[p] = qint32(pointKey);
    }
    saveSettings(db, qint32(key), kind, settings, points.count(), false);
    return qint32(key);
}

void RecordRows::saveSettings(SqliteDatabase& db, qint32 seqNo, int kind, const RecordSettings& settings,
                              int pointCount, bool descriptiveOnly)
{
    QStringList items;
    if (!descriptiveOnly)
        items = measuredItems(kind, settings, pointCount);
    items << descriptiveItems(kind, settings);
    db.execute(QStringLiteral("UpDate Setting Set ") + items.join(QLatin1Char(',')) + QStringLiteral(" Where SeqNo=") +
               QString::number(seqNo) + QLatin1Char(';'));
}

void RecordRows::saveValues(SqliteDatabase& db, int kind, const RecordPoints& points)
{
    const size_t count = size_t(points.count());
    if (kind == KindW || kind == KindT) {
        SqliteStatement update = db.prepare(QStringLiteral("UpDate Datas Set G_Flag=?,F_Flag=? Where SeqNo=?;"));
        for (size_t p = 0; p < count; ++p) {
            update.bind(1, qint64(points.ground[p] != 0)).bind(2, qint64(points.fit[p] != 0)).bind(3, qint64(points.keys[p]));
            update.run();
            update.reset();
        }
    } else if (kind == KindD) {
        SqliteStatement update = db.prepare(QStringLiteral("UpDate Datas Set aData=? Where SeqNo=?;"));
        for (size_t p = 0; p < count; ++p) {
            update.bind(1, double(p < points.z.size() ? points.z[p] : 0.0f)).bind(2, qint64(points.keys[p]));
            update.run();
            update.reset();
        }
    }
}

} // namespace tz4
