#include "data/RecordRows.h"

#include "core/Formats.h"
#include "core/Keys.h"
#include "core/SystemParam.h"
#include "data/SqlText.h"
#include "data/SqliteDatabase.h"

#include <QMap>

#include <map>

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

// What saveSettings writes, by column.
QMap<QString, QString> settingValues(int kind, const RecordSettings& s, int pointCount)
{
    QMap<QString, QString> values;
    for (const QString& item : measuredItems(kind, s, pointCount) + descriptiveItems(kind, s)) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        values.insert(item.left(eq), item.mid(eq + 1));
    }
    return values;
}

bool flagsOf(int kind)
{
    return kind == RecordKinds::KindW || kind == RecordKinds::KindT;
}

// The stored values of one point as saveValues writes them.
std::array<float, 3> pointValues(int kind, const RecordPoints& points, size_t p)
{
    if (flagsOf(kind))
        return {float(points.ground[p] != 0), float(points.fit[p] != 0), 0};
    if (kind == RecordKinds::KindD)
        return {0, 0, p < points.z.size() ? points.z[p] : 0.0f};
    return {};
}

// Index of each point key.
std::map<qint32, size_t> pointIndex(const RecordPoints& points)
{
    std::map<qint32, size_t> index;
    for (size_t p = 0; p < size_t(points.count()) && p < points.keys.size(); ++p)
        index.emplace(points.keys[p], p);
    return index;
}

} // namespace

bool RecordRows::exists(SqliteDatabase& db, qint32 seqNo)
{
    SqliteStatement row = db.prepare(QStringLiteral("Select 1 From Setting Where SeqNo=?;"));
    row.bind(1, qint64(seqNo));
    return row.next();
}

RecordRows::Changes RecordRows::changes(int kind, const RecordSettings& before, const RecordPoints& beforePoints,
                                        const RecordSettings& after, const RecordPoints& afterPoints)
{
    Changes changed;
    const QMap<QString, QString> was = settingValues(kind, before, beforePoints.count());
    const QMap<QString, QString> is = settingValues(kind, after, afterPoints.count());
    for (auto it = is.constBegin(); it != is.constEnd(); ++it)
        if (was.value(it.key()) != it.value())
            changed.columns << it.key();
    if (flagsOf(kind) || kind == KindD) {
        const std::map<qint32, size_t> wasAt = pointIndex(beforePoints);
        for (size_t p = 0; p < size_t(afterPoints.count()) && p < afterPoints.keys.size(); ++p) {
            const auto old = wasAt.find(afterPoints.keys[p]);
            if (old == wasAt.end() || pointValues(kind, beforePoints, old->second) != pointValues(kind, afterPoints, p))
                changed.points.push_back(p);
        }
    }
    return changed;
}

RecordRows::Changes RecordRows::changedSince(SqliteDatabase& db, qint32 seqNo, int kind, const RecordSettings& before,
                                             const RecordPoints& beforePoints, const RecordPoints& afterPoints,
                                             const Changes& wanted)
{
    Changes elsewhere;
    // The row read again the way the record read it, so that equal rows give equal texts.
    RecordSettings stored;
    RecordCalibration unused;
    loadSettings(db, seqNo, kind, stored, unused);
    const QMap<QString, QString> was = settingValues(kind, before, beforePoints.count());
    const QMap<QString, QString> now = settingValues(kind, stored, beforePoints.count());
    for (const QString& column : wanted.columns)
        if (was.value(column) != now.value(column))
            elsewhere.columns << column;
    if (wanted.points.empty())
        return elsewhere;
    RecordPoints storedPoints;
    loadPoints(db, seqNo, kind, storedPoints);
    const std::map<qint32, size_t> storedAt = pointIndex(storedPoints);
    const std::map<qint32, size_t> wasAt = pointIndex(beforePoints);
    for (const size_t p : wanted.points) {
        const qint32 key = afterPoints.keys[p];
        const auto old = wasAt.find(key);
        const auto current = storedAt.find(key);
        if (old == wasAt.end() || current == storedAt.end()
            || pointValues(kind, beforePoints, old->second) != pointValues(kind, storedPoints, current->second))
            elsewhere.points.push_back(p);
    }
    return elsewhere;
}

void RecordRows::saveChanges(SqliteDatabase& db, qint32 seqNo, int kind, const RecordSettings& after,
                             const RecordPoints& afterPoints, const Changes& wanted)
{
    if (!wanted.columns.isEmpty()) {
        const QMap<QString, QString> values = settingValues(kind, after, afterPoints.count());
        QStringList items;
        for (const QString& column : wanted.columns)
            items << column + QLatin1Char('=') + values.value(column);
        db.execute(QStringLiteral("UpDate Setting Set ") + items.join(QLatin1Char(',')) + QStringLiteral(" Where SeqNo=") +
                   QString::number(seqNo) + QLatin1Char(';'));
    }
    if (wanted.points.empty())
        return;
    SqliteStatement update = db.prepare(flagsOf(kind) ? QStringLiteral("UpDate Datas Set G_Flag=?,F_Flag=? Where SeqNo=?;")
                                                      : QStringLiteral("UpDate Datas Set aData=? Where SeqNo=?;"));
    for (const size_t p : wanted.points) {
        const std::array<float, 3> v = pointValues(kind, afterPoints, p);
        if (flagsOf(kind))
            update.bind(1, qint64(v[0] != 0)).bind(2, qint64(v[1] != 0)).bind(3, qint64(afterPoints.keys[p]));
        else
            update.bind(1, double(v[2])).bind(2, qint64(afterPoints.keys[p]));
        update.run();
        update.reset();
    }
}

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
