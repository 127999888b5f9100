#pragma once

class QPaintDevice;

namespace tz4 {

// A device of 1440 dots per inch (one dot a twip) on which texts are measured, so that the
// sizes of labels and table rows do not depend on the screen or printer they end up on.
const QPaintDevice& referenceDevice();

} // namespace tz4
