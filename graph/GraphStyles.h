#pragma once

#include <Qt>

namespace tz4 {

// Pen styles of the lines as stored in the display sets.
namespace penstyle {
constexpr int Solid = 0;
constexpr int Dash = 1;
constexpr int Dot = 2;
constexpr int DashDot = 3;
constexpr int DashDotDot = 4;
constexpr int Transparent = 5;
constexpr int InsideSolid = 6;
} // namespace penstyle

// Shapes of the measured and selected points.
namespace dotstyle {
constexpr int Circle = 0;
constexpr int Square = 1;
constexpr int UpperTriangle = 2;
constexpr int LowerTriangle = 3;
constexpr int Diamond = 4;
} // namespace dotstyle

// A stored pen style as Qt draws it; unknown values draw solid.
Qt::PenStyle qtPenStyle(int penStyle);

} // namespace tz4
