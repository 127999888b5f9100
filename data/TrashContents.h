#pragma once

#include "data/FolderContents.h"

namespace tz4 {

// What the trash holds, as a folder's listing: the trashed folders, then the trashed records,
// wherever they lay. Throws Tz4Error when the database cannot be read.
QList<FolderEntry> trashEntries(const QString& databasePath);

} // namespace tz4
