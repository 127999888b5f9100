#pragma once

#include "data/RecordPoints.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <array>

namespace tz4 {

// The settings of one record: its Setting row's values, the ranges drawn on its graph, how it
// is plotted and the statistics of its stored points, reached by parameter number with the
// rules each number's values obey.
struct RecordSettings {
    RecordSettings() { setDefaults(); }

    // The values a record without a stored row starts from.
    void setDefaults();

    // The value of a parameter held here; an invalid QVariant for any other number.
    QVariant value(int number) const;
    // False when the number is not held here or the value does not fit its rule; the setting
    // then stays as it was.
    bool setValue(int number, const QVariant& value);
    // The numbers whose change moves the plotted values or the result.
    static bool movesPlot(int number);

    // The power applies to W scans plotted as yield to the power n, with 0 < n < 2.
    bool powered() const { return expLog && powerNumber > 0 && powerNumber < 2; }
    // The parent row's number: only a folder key names one; the desktop root and the trash mean
    // the top level, 0.
    qint32 parentFolder() const;

    QString parentKey;
    QString folderPath;
    QString sampleName;
    QDateTime dataTime;
    float startEnergy = 0, finishEnergy = 0, stepEnergy = 0, fixedEnergy = 0;
    float measLight = 0, setLight = 0, powerNumber = 0, unitLight = 0;
    qint32 adjustNo = 0;
    float backGndCps = 0;
    qint16 measTime = 0, volts = 0;
    float tau = 0, thick = 0, calibThick = 0;
    QString calibName;
    qint16 measCount = 0;
    std::array<QString, 3> notes;
    std::array<float, 3> graphX{}, graphY{}; // the stored graph range: minimum, maximum, step

    bool gndDown = false, expLog = false, adjustFlag = false;
    PlotRect groundRect, fitRect;
    // Average, minimum, maximum and deviation of the counts, their logarithms and the second values.
    std::array<float, 12> statistics{};
};

} // namespace tz4
