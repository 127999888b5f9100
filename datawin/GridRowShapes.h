#pragma once

#include "datawin/GridData.h"

#include <initializer_list>

// How the parameter grid's rows are titled and edited, shared by the builders of its tabs.
namespace tz4::gridrow {

// A catalogue title with its unit in brackets, when it has one.
QString titled(int textId, const QString& unit = {});

extern const QString eV;
extern const QString sec;
extern const QString nW;
extern const QString volts;
extern const QString angstrom;

// The marker shapes and pen styles as the list editors offer them.
QStringList shapeList();
QStringList lineStyleList();

// A linked record's name as the grid shows it ("None" in the operator's language).
QVariant recordNameShown(const QVariant& name);
void asList(clsTz4GridData& row, const QStringList& items, int index);
void asBoolean(clsTz4GridData& row, bool value);
void asColour(clsTz4GridData& row, qint32 colour);

bool is(int kind, std::initializer_list<int> kinds);

} // namespace tz4::gridrow
