#include "graph/Tz4GraphDisp.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"
#include "graph/GraphStyles.h"

namespace tz4 {

namespace {

// Larger points than an inch are a damaged row, not a style.
constexpr qint64 kMaxPointSize = 1440;

bool modeWithoutAnalysis(const QString& key)
{
    const int kind = clsTz4GraphDisp::typeNoOfKey(key);
    return kind == clsTz4DataSet::KindC || kind == clsTz4DataSet::KindL || kind == clsTz4DataSet::KindD;
}

} // namespace

clsTz4GraphDisp::clsTz4GraphDisp()
    : pointDelim_(localeDecimalSeparator())
{
    SetDefaultValue();
}

void clsTz4GraphDisp::SetDefaultValue()
{
    EnterProcedure here("clsTz4GraphDisp:SetDefaultValue");
    backColor_ = 0xFFC0C0;
    foreColor_ = 0xC0D8FF;
    scaleColor_ = 0;
    gridVisible_ = false;
    xscaleVisible_ = true;
    yscaleVisible_ = true;
    drawVisible_ = true;
    overLayLevel_ = 1.0f;
    dotColor_ = 0;
    dotFill_ = false;
    dotSize_ = 30;
    dotStyle_ = dotstyle::Circle;
    dotVisible_ = true;
    lineColor_ = 0;
    lineStyle_ = penstyle::Solid;
    lineVisible_ = false;
    selectColor_ = 0xFF00FF;
    selectFill_ = true;
    selectSize_ = 35;
    selectStyle_ = dotstyle::Circle;
    selectVisible_ = true;
    gndColor_ = 0;
    gndStyle_ = penstyle::Dot;
    gndVisible_ = true;
    funcColor_ = 0;
    funcStyle_ = penstyle::Dot;
    funcVisible_ = true;
    selectX1_ = selectX2_ = selectY1_ = selectY2_ = 0;
}

void clsTz4GraphDisp::setOverLayLevel(float value)
{
    if (value >= 0 && value <= 1)
        overLayLevel_ = value;
}

int clsTz4GraphDisp::typeNoOfKey(const QString& key)
{
    // The Graphs rows are numbered as the record kinds.
    return clsTz4DataSet::kindOfLetter(GetKeyType(key));
}

void clsTz4GraphDisp::ReLoad()
{
    EnterProcedure here("clsTz4GraphDisp:ReLoad");
    SetDefaultValue();
    loadWarnings_.clear();
    if (key_.isEmpty() || dataBaseName_.isEmpty())
        return;
    ErrorTrap trap;
    trap.run([&] {
        SqliteDatabase db(dataBaseName_);
        const int typeNo = typeNoOfKey(key_);
        if (typeNo < 0)
            throw Tz4Error(err::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
        SqliteStatement row = db.query(QStringLiteral("Select * From Graphs Where TypeNo = %1;").arg(typeNo));
        if (!row.next())
            return;

        // Each column that is not Null replaces its default; one that cannot be drawn is reported.
        auto warn = [&](const QString& column, const QString& value, const QString& why) {
            loadWarnings_ << QStringLiteral("Graphs row %1: %2 %3 %4; the default is used")
                                 .arg(typeNo)
                                 .arg(column, value, why);
        };
        auto color = [&](const char* name, qint32& member) {
            const QString column = QLatin1String(name);
            if (row.isNull(column))
                return;
            const qint64 value = row.toInt(column);
            if (value < 0 || value > 0xFFFFFF)
                return warn(column, QString::number(value), QStringLiteral("is not a 24-bit colour"));
            member = qint32(value);
        };
        auto flag = [&](const char* name, bool& member) {
            if (!row.isNull(QLatin1String(name)))
                member = row.toBool(QLatin1String(name));
        };
        auto size = [&](const char* name, qint16& member) {
            const QString column = QLatin1String(name);
            if (row.isNull(column))
                return;
            const qint64 value = row.toInt(column);
            if (value < 0 || value > kMaxPointSize)
                return warn(column, QString::number(value), QStringLiteral("is not a point size from 0 to 1440 twips"));
            member = qint16(value);
        };
        auto pen = [&](const char* name, qint32& member) {
            const QString column = QLatin1String(name);
            if (row.isNull(column))
                return;
            const qint64 value = row.toInt(column);
            if (value < penstyle::Solid || value > penstyle::InsideSolid)
                return warn(column, QString::number(value), QStringLiteral("is not a pen style"));
            member = qint32(value);
        };
        auto whole = [&](const char* name, qint32& member) {
            if (!row.isNull(QLatin1String(name)))
                member = qint32(row.toInt(QLatin1String(name)));
        };

        color("DotColor", dotColor_);
        flag("DotFill", dotFill_);
        size("DotSize", dotSize_);
        whole("DotStyle", dotStyle_);
        flag("DotVisible", dotVisible_);
        color("LineColor", lineColor_);
        pen("LineStyle", lineStyle_);
        flag("LineVisible", lineVisible_);
        color("SelColor", selectColor_);
        flag("SelFill", selectFill_);
        size("SelSize", selectSize_);
        whole("SelStyle", selectStyle_);
        flag("SelVisible", selectVisible_);
        color("GndColor", gndColor_);
        pen("GndStyle", gndStyle_);
        flag("GndVisible", gndVisible_);
        color("FuncColor", funcColor_);
        pen("FuncStyle", funcStyle_);
        flag("FuncVisible", funcVisible_);
        color("GraphBack", backColor_);
        color("GraphFore", foreColor_);
        color("GraphScale", scaleColor_);
        flag("GraphGrid", gridVisible_);
        flag("XscaleVisible", xscaleVisible_);
        flag("YscaleVisible", yscaleVisible_);
        flag("BackVisible", drawVisible_);
        if (!row.isNull(QStringLiteral("OverLayLevel"))) {
            const double level = row.toDouble(QStringLiteral("OverLayLevel"));
            if (level >= 0 && level <= 1)
                overLayLevel_ = float(level);
            else
                warn(QStringLiteral("OverLayLevel"), QString::number(level), QStringLiteral("is outside 0 to 1"));
        }
    });
    if (modeWithoutAnalysis(key_)) {
        selectVisible_ = false;
        gndVisible_ = false;
        funcVisible_ = false;
    }
    trap.finish();
}

void clsTz4GraphDisp::UpDates(qint32 types)
{
    EnterProcedure here("clsTz4GraphDisp:UpDates");
    if (key_.isEmpty() || dataBaseName_.isEmpty())
        return;
    ErrorTrap trap;
    trap.run([&] {
        const int typeNo = typeNoOfKey(key_);
        if (typeNo < 0)
            throw Tz4Error(err::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
        {
            SqliteDatabase db(dataBaseName_);
            SqliteStatement rows = db.query(QStringLiteral("Select * From Graphs Where TypeNo=%1;").arg(typeNo));
            const bool exists = rows.next();
            if (!exists)
                db.execute(QStringLiteral("Insert Into Graphs(TypeNo) Values (%1);").arg(typeNo));
        }
        SaveDatas(types);
    });
    trap.finish();
}

void clsTz4GraphDisp::SaveDatas(qint32 types)
{
    EnterProcedure here("clsTz4GraphDisp:SaveDatas");
    if (key_.isEmpty() || dataBaseName_.isEmpty())
        return;
    SqliteDatabase db(dataBaseName_);
    QString sql = QStringLiteral("Update Graphs Set ");
    if (types == 0) {
        auto number = [&](const char* column, qint32 value) {
            sql += QLatin1String(column) + QLatin1Char('=') + UncheckPointDelim(QString::number(value)) + QLatin1Char(',');
        };
        auto boolean = [&](const char* column, bool value) {
            sql += QLatin1String(column) + QLatin1Char('=') + (value ? QStringLiteral("True") : QStringLiteral("False"))
                + QLatin1Char(',');
        };
        number("DotColor", dotColor_);
        boolean("DotFill", dotFill_);
        number("DotSize", dotSize_);
        number("DotStyle", dotStyle_);
        boolean("DotVisible", dotVisible_);
        number("LineColor", lineColor_);
        number("LineStyle", lineStyle_);
        boolean("LineVisible", lineVisible_);
        number("SelColor", selectColor_);
        boolean("SelFill", selectFill_);
        number("SelSize", selectSize_);
        number("SelStyle", selectStyle_);
        boolean("SelVisible", selectVisible_);
        number("GndColor", gndColor_);
        number("GndStyle", gndStyle_);
        boolean("GndVisible", gndVisible_);
        number("FuncColor", funcColor_);
        number("FuncStyle", funcStyle_);
        boolean("FuncVisible", funcVisible_);
        number("GraphBack", backColor_);
        number("GraphFore", foreColor_);
        number("GraphScale", scaleColor_);
        boolean("GraphGrid", gridVisible_);
        boolean("XscaleVisible", xscaleVisible_);
        boolean("YscaleVisible", yscaleVisible_);
        boolean("BackVisible", drawVisible_);
    }
    sql += QStringLiteral("OverLayLevel=") + UncheckPointDelim(shortestText(overLayLevel_));
    sql += QStringLiteral(" Where TypeNo = %1;").arg(typeNoOfKey(key_));
    db.execute(sql);
}

QString clsTz4GraphDisp::UncheckPointDelim(const QString& value) const
{
    QString result;
    QString rest = value;
    for (qsizetype at = rest.indexOf(pointDelim_); at >= 0; at = rest.indexOf(pointDelim_)) {
        result += rest.left(at) + QLatin1Char('.');
        rest = rest.mid(at + 1);
    }
    return result + rest;
}

} // namespace tz4
