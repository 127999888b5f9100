#pragma once

#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"
#include "datawin/MeasurementControl.h"
#include "tests/mainwin/MainWindowFixture.h"

#include <memory>

namespace tz4::test {

// The measurement control of a new record on the simulated instrument; the record passes
// every start check (a short scan of a gold sample) until a test spoils one setting.
class MeasurementFixture : public MainWindowFixture {
protected:
    void attach(const QString& kind)
    {
        record.setKey(kind);
        control = std::make_unique<MeasurementControl>(*main, record);
        control->setLocation(0);
        record.setParameters(param::SampleName, QStringLiteral("Gold"));
        record.setParameters(param::StartEnergy, 5.0f);
        record.setParameters(param::FinishEnergy, 5.5f);
        record.setParameters(param::EnergyStep, 0.1f);
        record.setParameters(param::FixedEnergy, 5.9f);
        record.setParameters(param::MeasuredLight, 10.0f);
        record.setParameters(param::TargetLight, 10.0f);
        record.setParameters(param::MeasureCount, 3);
        record.setParameters(param::CountingTime, 2);
        record.setParameters(param::CalibrationShift, 100.0f);
    }

    void TearDown() override
    {
        control.reset();
        MainWindowFixture::TearDown();
    }

    clsTz4DataSet record;
    std::unique_ptr<MeasurementControl> control;
};

} // namespace tz4::test
