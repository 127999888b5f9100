#include "print/BindingList.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/Tz4DataSet.h"

namespace tz4::binding {

namespace {

using namespace msg;

// Position = parameter number; the list names 25 "Measure Count" although the count is 26
// ("Reserve"), as stored templates expect.
constexpr int kTitles[Count] = {
    BindNo,           BindDataType,      BindSampleName,    BindLocation,      BindMeasureDate,
    BindParentFolder, BindCpsAverage,    BindCpsMinimum,    BindCpsMaximum,    BindCpsDeviation,
    BindLogAverage,   BindLogMinimum,    BindLogMaximum,    BindLogDeviation,  BindThkAverage,
    BindThkMinimum,   BindThkMaximum,    BindThkDeviation,  BindStartEnergy,   BindFinishEnergy,
    BindStepEnergy,   BindMeasureEnergy, BindUvIntensity,   BindTargetUv,      BindPowerNumber,
    BindMeasureCount, BindReserve,       BindAdjustNumber,  BindAdjustName,    BindCalibShift,
    BindCalibThickness, BindUnitPhoton,  BindBackGround,    BindCountingTime,  BindAnodeVoltage,
    BindDeadTime,     BindNotes1,        BindNotes2,        BindNotes3,        BindWorkFunction,
    BindSlope,        BindOffset,        BindGroundLevel,   BindCorrelation,   BindGroundXStart,
    BindGroundYStart, BindGroundXFinish, BindGroundYFinish, BindFitXStart,     BindFitYStart,
    BindFitXFinish,   BindFitYFinish,    BindGraphXStart,   BindGraphXFinish,  BindGraphXStep,
    BindGraphYStart,  BindGraphYFinish,  BindGraphYStep,    BindCalibDataCount, BindNowDatetime,
};

} // namespace

int titleId(int position)
{
    return position >= 0 && position < Count ? kTitles[position] : 0;
}

QString title(int position)
{
    const int id = titleId(position);
    return id ? GetRes(id) : QString();
}

QStringList titles()
{
    QStringList all;
    for (int position = 0; position < Count; ++position)
        all << title(position);
    return all;
}

QVariant value(const clsTz4DataSet* record, int position, const QDateTime& now)
{
    if (position == NowDateTime)
        return now;
    if (!record || position < 0 || position >= Count)
        return {};
    const QVariant answer = record->Parameters(position);
    return answer.isValid() ? answer : QVariant();
}

bool answered(const clsTz4DataSet* record, int position)
{
    return position == NowDateTime || value(record, position, {}).isValid();
}

} // namespace tz4::binding
