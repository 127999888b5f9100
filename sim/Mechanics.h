#pragma once

namespace tz4::sim {

// Travel ranges, speeds and fixed positions of the moving parts. Stage positions are in tenths
// of the stage unit, wavelengths in tenths of a nanometre.
namespace mechanics {

constexpr int kStageOrigin = 4;
constexpr int kStageLimit = 1600;
constexpr int kStageSample = 1000;
constexpr int kStagePhotoDiode = 300;
constexpr int kStageCarbon = 600;
constexpr int kStageSampleOut = 1500;
// Half-widths of what sits on the stage: the sample holder is wide, the references small.
constexpr int kSampleHalfWidth = 250;
constexpr int kReferenceHalfWidth = 50;

constexpr int kWaveOrigin = 2500; // the monochromator's origin switch sits at 250.0 nm
constexpr int kWaveMin = 1900;
constexpr int kWaveMax = 4000;

constexpr int kHighVoltageMax = 4500;

// Milliseconds each move takes; all fit well inside the time-outs the host allows.
int stageTravelMs(int from, int to);   // 400 tenths per second plus settling
int irisTravelMs(int from, int to);    // 1.5 ms per step plus settling
int filterTravelMs(int from, int to);  // 0.4 s per position on a five-position wheel
int waveTravelMs(int from, int to);    // 100 nm per second plus settling

enum class Target { Nothing, Sample, Carbon, PhotoDiode };
// What the stage holds under the light beam at `position`.
Target underLight(int position);

} // namespace mechanics
} // namespace tz4::sim
