#include "sim/CalibrationMemory.h"

#include "sim/LightModel.h"
#include "sim/Mechanics.h"

#include <cmath>
#include <cstdio>

namespace tz4::sim {

CalibrationMemory::CalibrationMemory() { words_.fill(QByteArrayLiteral("FFFF")); }

CalibrationMemory CalibrationMemory::factory(const LightModel& light, double deadTime)
{
    CalibrationMemory memory;
    memory.storeNumber(kDeadTimeAddress, deadTime);
    const int positions[8] = {mechanics::kStageSample, 0, mechanics::kStagePhotoDiode, 0,
                              mechanics::kStageCarbon, 0, mechanics::kStageSampleOut, 0};
    for (int i = 0; i < 8; ++i)
        memory.store(kPositionsAddress + i, QByteArray::number(positions[i]).rightJustified(4, '0'));
    memory.store(kSpareWordAddress, QByteArrayLiteral("0001")); // layout revision
    for (int range = 1; range <= LightModel::kRanges; ++range)
        memory.storeNumber(kRangeGainAddress + 2 * (range - 1), light.rangeGain(range));
    for (int entry = 0; entry < kSensitivityEntries; ++entry)
        memory.storeNumber(kSensitivityAddress + 2 * entry, light.sensitivity(3.40 + 0.05 * entry));
    return memory;
}

bool CalibrationMemory::setAddress(int address)
{
    if (address < 0 || address >= kWords)
        return false;
    address_ = address;
    return true;
}

std::optional<QByteArray> CalibrationMemory::read()
{
    if (address_ >= kWords)
        return std::nullopt;
    return words_[address_++];
}

bool CalibrationMemory::write(const QByteArray& word)
{
    if (address_ >= kWords || word.size() != 4)
        return false;
    words_[address_++] = word;
    return true;
}

void CalibrationMemory::store(int address, const QByteArray& word) { words_[address] = word; }

void CalibrationMemory::storeNumber(int address, double value)
{
    const QByteArray text = eightCharNumber(value);
    store(address, text.left(4));
    store(address + 1, text.mid(4));
}

QByteArray CalibrationMemory::eightCharNumber(double value)
{
    char buffer[64];
    for (int decimals = 7; decimals >= 0; --decimals) {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        const QByteArray text(buffer);
        if (text.size() <= 8)
            return text.rightJustified(8, '0');
    }
    return QByteArrayLiteral("99999999");
}

namespace {

QByteArray spanPower(double power)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%08.3f", power);
    return buffer;
}

QByteArray spanRange(int range) { return QByteArray::number(range).rightJustified(8, '0'); }

// The range the set-up leaves in force after reading `power`.
int rangeFor(double power)
{
    const double upper[] = {20, 50, 100, 200, 500, 1000, 2000, 5000};
    for (int r = 0; r < 8; ++r)
        if (power <= upper[r])
            return r + 1;
    return 9;
}

} // namespace

SpanMemory::SpanMemory()
{
    for (int slot = 0; slot < kSlots; ++slot)
        slots_[slot] = slot < 10 ? spanPower(0) : spanRange(0);
}

SpanMemory SpanMemory::factory(const LightModel& light, double energy)
{
    // Filter 1 spans its whole iris travel; filters 2 to 4 are measured with the iris where
    // filter 2 gives the middle of the gap between filter 1's minimum and filter 2's full power,
    // so that neighbouring filters overlap.
    SpanMemory span;
    const double min1 = light.power(energy, 1, LightModel::kIrisClosed);
    const double mid = (min1 + light.power(energy, 2, 0)) / 2;
    int iris = 0;
    while (iris < LightModel::kIrisClosed && light.power(energy, 2, iris) > mid)
        ++iris;
    const double max[5] = {0, light.power(energy, 1, 0), light.power(energy, 2, iris), light.power(energy, 3, iris),
                           light.power(energy, 4, iris)};
    const double min4 = light.power(energy, 4, LightModel::kIrisClosed);
    span.slots_[1] = spanPower(min1);
    span.slots_[2] = spanPower(light.power(energy, 2, LightModel::kIrisClosed));
    span.slots_[3] = spanPower(light.power(energy, 3, LightModel::kIrisClosed));
    span.slots_[4] = spanPower(min4);
    for (int record = 1; record <= 4; ++record) {
        span.slots_[5 + record] = spanPower(max[record]);
        span.slots_[10 + record] = spanRange(rangeFor(record == 4 ? min4 : max[record]));
    }
    return span;
}

bool SpanMemory::select(int slot)
{
    if (slot < 0 || slot >= kSlots)
        return false;
    slot_ = slot;
    return true;
}

} // namespace tz4::sim
