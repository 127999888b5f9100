#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

namespace tz4 {

// Name and size in points of the font the windows use for their controls.
struct DisplayFontSpec {
    QString name;
    double size = 0;
};

// The process-wide system parameters: defaults first, then the settings file.
struct SystemParamRecord {
    qint16 BodyType = 2;
    qint16 LightUnitNo = 1;
    qint16 StageUnitNo = 1;
    QString DatabasePath;
    qint16 MaxDataForms = 5;
    qint16 MaxMultiGraph = 5;
    DisplayFontSpec DisplayFont{QStringLiteral("Arial"), 8};
    QString DateTimeFormat;
    bool EditablePrint = false;
    bool DebugMode = false;
    // Slots of the open data windows, indices 0 to MaxDataForms.
    QList<QPointer<QObject>> DataForms;
    // Device path of the instrument's port when it is not the numbered one; empty for none.
    QString SerialDevice;
};

SystemParamRecord& SystemParam();

// Sets every field to its default; the database file lies in the data directory.
void InitSystemParam();

// Re-sizes the data window slots to 0..MaxDataForms, keeping those that still fit.
void resizeDataForms();

// True when errors must not be trapped, so that they reach the developer.
bool DebugMode();

} // namespace tz4
