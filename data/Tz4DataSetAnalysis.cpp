#include "data/Tz4DataSet.h"

#include "core/ErrorLocation.h"
#include "data/LowCountBias.h"

#include <algorithm>

namespace tz4 {

void clsTz4DataSet::setGndDown(bool on)
{
    settings_.gndDown = on;
    analysis_.filter(kind_, settings_, calibration_, points_);
}

void clsTz4DataSet::setExpLog(bool on)
{
    settings_.expLog = on;
    Refresh();
}

void clsTz4DataSet::setAdjustFlag(bool on)
{
    settings_.adjustFlag = on;
    Refresh();
}

void clsTz4DataSet::Refresh()
{
    analysis_.refresh(kind_, settings_, calibration_, points_);
}

void clsTz4DataSet::RefreshGFlag()
{
    points_.markGround(settings_.groundRect, RecordPoints::Mark::Only);
}

void clsTz4DataSet::AddGFlag()
{
    points_.markGround(settings_.groundRect, RecordPoints::Mark::Add);
}

void clsTz4DataSet::DelGFlag()
{
    points_.markGround(settings_.groundRect, RecordPoints::Mark::Remove);
}

// Makes this record a new one holding what lies above the fitted line, stored at once where
// there is a database.
bool clsTz4DataSet::CreateWfSubtruct()
{
    EnterProcedure here("clsTz4DataSet:CreateWfSubtruct");
    if (!(settings_.powerNumber > 0 && settings_.powerNumber < 2))
        return false;
    analysis_.filter(kind_, settings_, calibration_, points_);
    analysis_.subtractFit(settings_, points_);
    settings_.sampleName += QStringLiteral("_Dif");
    settings_.adjustNo = 0;
    settings_.groundRect = {};
    settings_.fitRect = {};
    settings_.adjustFlag = false;
    settings_.expLog = true;
    settings_.gndDown = false;
    std::fill(points_.ground.begin(), points_.ground.end(), 0);
    std::fill(points_.fit.begin(), points_.fit.end(), 0);
    setKey(letterOfKind(kind_));
    const bool stored = !rows_.stored() || AddDatas();
    Refresh();
    return stored;
}

QString clsTz4DataSet::LowCountWarning() const
{
    return LowCountWarningText(EstimateLowCountBias(*this));
}

} // namespace tz4
