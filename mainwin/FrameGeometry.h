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

// Where the frame opens the first time on a screen whose free area is `available`: four
// fifths of it, never less than `least` (the frame's own size), centred.
QRect firstFrameRect(const QRect& available, const QSize& least);

// Where a child window opens the first time: the whole `area` when it is the only window,
// else the size it asks for (`wanted`), kept inside the area, `offset` pixels in from its
// top-left corner per window already open.
QRect firstChildRect(const QRect& area, const QSize& wanted, int windowsBefore, int offset);

// Cascaded places for `count` windows: each `step` pixels down and right of the one before,
// all of one size that stays at least two thirds of the area, starting again at the top-left
// when the next would not fit.
QList<QRect> cascadeRects(const QRect& area, int count, int step);

} // namespace tz4
