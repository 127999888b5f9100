#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace tz4 {

// Sizes of the main window, in twips (1440 per inch).
constexpr double FrameWidthTwips = 9480;
constexpr double FrameHeightTwips = 6920;
constexpr double FrameMinimumWidthTwips = 6000;
constexpr double FrameMinimumHeightTwips = 2500;

// Whether a screen of `pixels` can show the frame at its own size; a smaller one gets the
// frame maximised and a notice.
bool screenLargeEnough(const QSize& pixels);

// The Window menu's arrangements beyond cascading.
enum class Arrangement {
    Cascade = 0,
    FullWidthStrips = 1,  // one above the other
    FullHeightStrips = 2, // side by side
    ArrangeIcons = 3,
};

// `count` strips sharing `area`; the last one takes what division leaves over.
QList<QRect> stripRects(const QRect& area, int count, Arrangement arrangement);

// Places for `sizes` minimised windows: a row along the bottom of `area` from the left,
// wrapping upwards when a row is full.
QList<QRect> iconRects(const QRect& area, const QList<QSize>& sizes);

} // namespace tz4
