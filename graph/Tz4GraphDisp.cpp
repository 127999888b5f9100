#include "graph/Tz4GraphDisp.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "data/GraphRows.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"
#include "graph/GraphStyles.h"

#include <optional>

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

// Takes one Graphs row: each column that is not Null replaces its default; one that cannot
// be drawn leaves the default and is reported.
class clsTz4GraphDisp::RowReader {
public:
    RowReader(const SqliteStatement& row, int typeNo, QStringList& warnings)
        : row_(row), typeNo_(typeNo), warnings_(warnings)
    {
    }

    void color(const char* name, qint32& member)
    {
        if (const auto value = checked(name, 0, 0xFFFFFF, "is not a 24-bit colour"))
            member = qint32(*value);
    }
    void size(const char* name, qint16& member)
    {
        if (const auto value = checked(name, 0, kMaxPointSize, "is not a point size from 0 to 1440 twips"))
            member = qint16(*value);
    }
    void pen(const char* name, qint32& member)
    {
        if (const auto value = checked(name, penstyle::Solid, penstyle::InsideSolid, "is not a pen style"))
            member = qint32(*value);
    }
    void whole(const char* name, qint32& member)
    {
        if (!row_.isNull(QLatin1String(name)))
            member = qint32(row_.toInt(QLatin1String(name)));
    }
    void flag(const char* name, bool& member)
    {
        if (!row_.isNull(QLatin1String(name)))
            member = row_.toBool(QLatin1String(name));
    }
    void level(const char* name, float& member)
    {
        const QString column = QLatin1String(name);
        if (row_.isNull(column))
            return;
        const double level = row_.toDouble(column);
        if (level >= 0 && level <= 1)
            member = float(level);
        else
            warn(column, QString::number(level), QStringLiteral("is outside 0 to 1"));
    }

private:
    std::optional<qint64> checked(const char* name, qint64 low, qint64 high, const char* why)
    {
        const QString column = QLatin1String(name);
        if (row_.isNull(column))
            return std::nullopt;
        const qint64 value = row_.toInt(column);
        if (value >= low && value <= high)
            return value;
        warn(column, QString::number(value), QLatin1String(why));
        return std::nullopt;
    }
    void warn(const QString& column, const QString& value, const QString& why)
    {
        warnings_ << QStringLiteral("Graphs row %1: %2 %3 %4; the default is used").arg(typeNo_).arg(column, value, why);
    }

    const SqliteStatement& row_;
    int typeNo_;
    QStringList& warnings_;
};

// Collects the columns to store, with their values.
class clsTz4GraphDisp::RowWriter {
public:
    void color(const char* name, qint32 value) { add(name, value); }
    void size(const char* name, qint16 value) { add(name, value); }
    void pen(const char* name, qint32 value) { add(name, value); }
    void whole(const char* name, qint32 value) { add(name, value); }
    void flag(const char* name, bool value) { add(name, value); }
    void add(const char* name, const QVariant& value) { columns.append({QLatin1String(name), value}); }

    QList<std::pair<QString, QVariant>> columns;
};

// Every stored column but OverLayLevel with its member, in the order they are written.
template <class Columns>
void clsTz4GraphDisp::eachColumn(Columns& columns)
{
    columns.color("DotColor", dotColor_);
    columns.flag("DotFill", dotFill_);
    columns.size("DotSize", dotSize_);
    columns.whole("DotStyle", dotStyle_);
    columns.flag("DotVisible", dotVisible_);
    columns.color("LineColor", lineColor_);
    columns.pen("LineStyle", lineStyle_);
    columns.flag("LineVisible", lineVisible_);
    columns.color("SelColor", selectColor_);
    columns.flag("SelFill", selectFill_);
    columns.size("SelSize", selectSize_);
    columns.whole("SelStyle", selectStyle_);
    columns.flag("SelVisible", selectVisible_);
    columns.color("GndColor", gndColor_);
    columns.pen("GndStyle", gndStyle_);
    columns.flag("GndVisible", gndVisible_);
    columns.color("FuncColor", funcColor_);
    columns.pen("FuncStyle", funcStyle_);
    columns.flag("FuncVisible", funcVisible_);
    columns.color("GraphBack", backColor_);
    columns.color("GraphFore", foreColor_);
    columns.color("GraphScale", scaleColor_);
    columns.flag("GraphGrid", gridVisible_);
    columns.flag("XscaleVisible", xscaleVisible_);
    columns.flag("YscaleVisible", yscaleVisible_);
    columns.flag("BackVisible", drawVisible_);
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
        const int typeNo = typeNoOfKey(key_);
        if (typeNo < 0)
            throw Tz4Error(err::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
        GraphRows::read(dataBaseName_, typeNo, [&](const SqliteStatement& row) {
            RowReader reader(row, typeNo, loadWarnings_);
            eachColumn(reader);
            reader.level("OverLayLevel", overLayLevel_);
        });
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
        GraphRows::ensure(dataBaseName_, typeNo);
        SaveDatas(types);
    });
    trap.finish();
}

void clsTz4GraphDisp::SaveDatas(qint32 types)
{
    EnterProcedure here("clsTz4GraphDisp:SaveDatas");
    if (key_.isEmpty() || dataBaseName_.isEmpty())
        return;
    RowWriter writer;
    if (types == 0)
        eachColumn(writer);
    // The level is stored as its shortest decimal text reads, not as the float's binary value.
    writer.add("OverLayLevel", UncheckPointDelim(shortestText(overLayLevel_)).toDouble());
    GraphRows::write(dataBaseName_, typeNoOfKey(key_), writer.columns);
}

void clsTz4GraphDisp::UpDatesChanged(const clsTz4GraphDisp& before)
{
    EnterProcedure here("clsTz4GraphDisp:UpDates");
    if (key_.isEmpty() || dataBaseName_.isEmpty())
        return;
    RowWriter now, then;
    eachColumn(now);
    clsTz4GraphDisp earlier = before;
    earlier.eachColumn(then);
    QList<std::pair<QString, QVariant>> changed;
    for (qsizetype i = 0; i < now.columns.size(); ++i)
        if (now.columns[i].second != then.columns[i].second)
            changed.append(now.columns[i]);
    if (overLayLevel_ != before.overLayLevel_)
        changed.append({QStringLiteral("OverLayLevel"), UncheckPointDelim(shortestText(overLayLevel_)).toDouble()});
    if (changed.isEmpty())
        return;
    ErrorTrap trap;
    trap.run([&] {
        const int typeNo = typeNoOfKey(key_);
        if (typeNo < 0)
            throw Tz4Error(err::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
        GraphRows::ensure(dataBaseName_, typeNo);
        GraphRows::write(dataBaseName_, typeNo, changed);
    });
    trap.finish();
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
