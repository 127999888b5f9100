#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tz4::gui {

// The picture of an image name the tree and list give their entries ("CloseFolder", "Graph",
// "RecycleFull2" ...); a null icon for a name without one.
QIcon sampleIcon(const QString& imageName);

// The pointer while dragging: a copy or a move picture.
QPixmap dragPointer(bool copy);

} // namespace tz4::gui
