#include "datawin/GridRowShapes.h"

#include "core/OwnTexts.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"

#include <algorithm>

namespace tz4::gridrow {

QString titled(int textId, const QString& unit)
{
    return unit.isEmpty() ? GetRes(textId) : GetRes(textId) + QStringLiteral(" [") + unit + QLatin1Char(']');
}

const QString eV = QStringLiteral("eV");
const QString sec = QStringLiteral("sec");
const QString nW = QStringLiteral("nW");
const QString volts = QStringLiteral("V");
const QString angstrom = QStringLiteral("A");

QStringList shapeList()
{
    return {GetRes(msg::ShapeCircle), GetRes(msg::ShapeSquare), GetRes(msg::ShapeUpperTriangle),
            GetRes(msg::ShapeLowerTriangle), GetRes(msg::ShapeDiamond)};
}

// Pen styles solid, dash, dot, dash-dot and dash-dot-dot drawn in characters.
QStringList lineStyleList()
{
    return {QStringLiteral("-----------"), QStringLiteral("--  --  -- "), QStringLiteral("- - - - - -"),
            QStringLiteral("---- - ----"), QStringLiteral("--- - - ---")};
}

namespace {

QStringList booleanList() { return {ownText(OwnText::False), ownText(OwnText::True)}; }

} // namespace

QVariant recordNameShown(const QVariant& name)
{
    // The record keeps "None" as the name of a link that is not there; it is shown in the
    // operator's language.
    return name.toString() == QLatin1String("None") ? QVariant(ownText(OwnText::NoName)) : name;
}

void asList(clsTz4GridData& row, const QStringList& items, int index)
{
    row.ListItem = items;
    row.ListIndex = index;
}

void asBoolean(clsTz4GridData& row, bool value)
{
    row.EditType = clsTz4GridData::EditBoolList;
    asList(row, booleanList(), value ? 1 : 0);
}

void asColour(clsTz4GridData& row, qint32 colour)
{
    row.EditType = clsTz4GridData::EditButton;
    row.Numeric = false;
    row.BackColor = colour;
}

bool is(int kind, std::initializer_list<int> kinds)
{
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

} // namespace tz4::gridrow
