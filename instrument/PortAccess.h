#pragma once

#include "core/CatalogText.h"

#include <QString>

namespace tz4 {

// Why this user may not open the serial device at `path`, and the fix: join the group that
// owns serial devices (the device's own group, else dialout as on Debian) and log in again,
// or only log in again when the user joined it after this session began.
CatalogText permissionProblem(const QString& path);

} // namespace tz4
