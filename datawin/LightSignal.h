#pragma once

#include <QtGlobal>

namespace tz4 {

// Colour (0x00BBGGRR) of the UV-intensity indicator for a measured intensity against its
// target: light red outside 80 % to 120 %, yellow outside 95 % to 105 %, else light green.
quint32 GetLightSignal(float value, float target);

// True when the measured UV intensity lies within 80 % to 120 % of the target, bounds included.
bool uvIntensityInBand(float value, float target);

} // namespace tz4
