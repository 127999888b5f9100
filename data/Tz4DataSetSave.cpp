#include "data/Tz4DataSet.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
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

} // namespace

// Only a folder key names a parent row; the desktop root and the trash mean the top level.
qint32 clsTz4DataSet::parentFolder() const
{
    return GetKeyType(parentKey_) == QLatin1String("F") ? GetKeySeq(parentKey_) : 0;
}

bool clsTz4DataSet::AddDatas()
{
    EnterProcedure here("clsTz4DataSet:AddDatas");
    if (dataBaseName_.isEmpty() || SeqNo() >= 1)
        return false;
    const QString oldKey = key_;
    const std::vector<qint32> oldPointKeys = pointKeys_;
    ErrorTrap trap;
    const bool ok = trap.run([&] {
        SqliteDatabase db(dataBaseName_);
        SqliteTransaction transaction(db);
        const qint64 key = db.newKey(QStringLiteral("Select Max(SeqNo) + 1 As MaxSeq From Setting;"));
        const qint32 parent = parentFolder();
        db.execute(QStringLiteral("Insert Into Setting(SeqNo,Modes,Parent,Recycled) Values (%1,%2,%3,0);")
                       .arg(key)
                       .arg(kind_)
                       .arg(parent));
        setKey(makeKey(qint32(key), letterOfKind(kind_)));
        const qint64 firstPoint = db.newKey(QStringLiteral("Select Max(SeqNo) + 1 As MaxSeq From Datas;"));
        SqliteStatement insert = db.prepare(QStringLiteral(
            "Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) "
            "Values (?,?,?,0,0,?,?,False,False);"));
        const bool scanned = kind_ == KindW || kind_ == KindL;
        const qint64 fixedEnergy = roundHalfEven(double(fixedEnergy_) * 100);
        for (int i = 0; i < dataCount_; ++i) {
            const size_t p = size_t(i);
            const qint64 pointKey = firstPoint + i;
            insert.bind(1, pointKey)
                .bind(2, key)
                .bind(3, scanned ? roundHalfEven(double(dataX_[p]) * 100) : fixedEnergy)
                .bind(4, double(dataY_[p]))
                .bind(5, kind_ == KindD && p < zValues_.size() ? double(zValues_[p]) : 0.0);
            insert.run();
            insert.reset();
            pointKeys_[p] = qint32(pointKey);
        }
        saveSettings(db, false);
        transaction.commit();
    });
    if (!ok) {
        // Nothing was stored: the record stays new.
        setKey(oldKey);
        pointKeys_ = oldPointKeys;
    }
    trap.finish();
    return ok;
}

bool clsTz4DataSet::UpDates()
{
    EnterProcedure here("clsTz4DataSet:UpDates");
    if (dataBaseName_.isEmpty() || SeqNo() < 1)
        return false;
    ErrorTrap trap;
    trap.run([&] {
        SqliteDatabase db(dataBaseName_);
        SqliteTransaction transaction(db);
        saveSettings(db, false);
        saveValues(db);
        transaction.commit();
    });
    return trap.finish();
}

bool clsTz4DataSet::SaveSettingDatas(bool descriptiveOnly)
{
    EnterProcedure here("clsTz4DataSet:SaveSettingDatas");
    if (dataBaseName_.isEmpty())
        return false;
    ErrorTrap trap;
    trap.run([&] {
        SqliteDatabase db(dataBaseName_);
        saveSettings(db, descriptiveOnly);
    });
    return trap.finish();
}

bool clsTz4DataSet::SaveDataValues()
{
    EnterProcedure here("clsTz4DataSet:SaveDataValues");
    if (dataBaseName_.isEmpty())
        return false;
    ErrorTrap trap;
    trap.run([&] {
        SqliteDatabase db(dataBaseName_);
        SqliteTransaction transaction(db);
        saveValues(db);
        transaction.commit();
    });
    return trap.finish();
}

void clsTz4DataSet::saveSettings(SqliteDatabase& db, bool descriptiveOnly)
{
    QStringList items;
    if (!descriptiveOnly) {
        items << QStringLiteral("Volts=%1").arg(volts_) << QStringLiteral("BackGndCps=") + sqlNumber(backGndCps_)
              << QStringLiteral("MeasTime=%1").arg(measTime_) << QStringLiteral("Tau=") + sqlNumber(tau_)
              << QStringLiteral("DataTime=") + sqlDate(dataTime_)
              << QStringLiteral("MeasLight=") + sqlNumber(measLight_)
              << QStringLiteral("SetLight=") + sqlNumber(setLight_);
        if (kind_ == KindW || kind_ == KindL) {
            items << QStringLiteral("EngStr=") + sqlWhole(double(startEnergy_) * 100)
                  << QStringLiteral("EngEnd=") + sqlWhole(double(finishEnergy_) * 100);
        } else if (kind_ == KindC || kind_ == KindD) {
            items << QStringLiteral("EngStr=") + sqlWhole(double(fixedEnergy_) * 100)
                  << QStringLiteral("EngEnd=%1").arg(dataCount_);
        }
        items << QStringLiteral("UnitLight=") + sqlNumber(unitLight_);
        if (kind_ == KindW || kind_ == KindL)
            items << QStringLiteral("EngStp=") + sqlWhole(double(stepEnergy_) * 100);
        else if (kind_ == KindC)
            items << QStringLiteral("EngStp=") + sqlWhole(double(calibThick_) * 10000);
    }
    items << QStringLiteral("X1=") + sqlNumber(graphX_[0]) << QStringLiteral("X2=") + sqlNumber(graphX_[1])
          << QStringLiteral("Xstep=") + sqlNumber(graphX_[2]) << QStringLiteral("Y1=") + sqlNumber(graphY_[0])
          << QStringLiteral("Y2=") + sqlNumber(graphY_[1]) << QStringLiteral("Ystep=") + sqlNumber(graphY_[2])
          << QStringLiteral("AdjustNo=%1").arg(adjustNo_) << QStringLiteral("SampleName=") + sqlQuote(sampleName_)
          << QStringLiteral("GndDown=") + sqlBool(gndDown_);
    if (kind_ == KindW)
        items << QStringLiteral("Exp_Thick=") + sqlNumber(powerNumber_);
    else if (kind_ == KindC || kind_ == KindD)
        items << QStringLiteral("Exp_Thick=") + sqlNumber(thick_);
    items << QStringLiteral("Parent=%1").arg(parentFolder());
    for (int i = 0; i < 3; ++i)
        items << QStringLiteral("Notes%1=").arg(i + 1) + sqlQuoteOrNull(notes_[size_t(i)]);
    db.execute(QStringLiteral("UpDate Setting Set ") + items.join(QLatin1Char(',')) + QStringLiteral(" Where SeqNo=") +
               QString::number(SeqNo()) + QLatin1Char(';'));
}

void clsTz4DataSet::saveValues(SqliteDatabase& db)
{
    if (kind_ == KindW || kind_ == KindT) {
        SqliteStatement update = db.prepare(QStringLiteral("UpDate Datas Set G_Flag=?,F_Flag=? Where SeqNo=?;"));
        for (int i = 0; i < dataCount_; ++i) {
            const size_t p = size_t(i);
            update.bind(1, qint64(gFlags_[p] != 0)).bind(2, qint64(fFlags_[p] != 0)).bind(3, qint64(pointKeys_[p]));
            update.run();
            update.reset();
        }
    } else if (kind_ == KindD) {
        SqliteStatement update = db.prepare(QStringLiteral("UpDate Datas Set aData=? Where SeqNo=?;"));
        for (int i = 0; i < dataCount_; ++i) {
            const size_t p = size_t(i);
            update.bind(1, double(p < zValues_.size() ? zValues_[p] : 0.0f)).bind(2, qint64(pointKeys_[p]));
            update.run();
            update.reset();
        }
    }
}

} // namespace tz4
