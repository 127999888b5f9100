#pragma once

#include <Qt>

#include <QString>

namespace tz4 {

// The data every entry of the folder tree, the record list and the folder combo carries
// beside its text.
enum SampleItemRole {
    KeyRole = Qt::UserRole + 1, // the item key ("12 F", "1 Q", "40 W")
    ImageRole,                  // the image name ("CloseFolder", "Graph" ...); views pick the picture
    ExpandedImageRole,          // tree: the image of an expanded node
    SelectedImageRole,          // tree: the image of a selected node
    DepthRole,                  // combo: the indentation level
};

// Bits of DispFlags: a set bit hides that kind of entry.
namespace dispflag {
constexpr int Trash = 1;
constexpr int Folders = 2;
constexpr int Printer = 4;
constexpr int Search = 8;
constexpr int WorkFunction = 16;
constexpr int Thickness = 32;
constexpr int LightCorrection = 64;
constexpr int CalibrationData = 128;
constexpr int CalibrationLine = 256;
} // namespace dispflag

// The drag key list travels as this MIME type: every key followed by a tab.
inline const QString kDragKeysMimeType = QStringLiteral("application/x-tz4-keys");

} // namespace tz4
