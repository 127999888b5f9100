#pragma once

#include <QString>

namespace tz4 {

// Makes print template `templateKey` ("12 K") the default of its record kind, and no other
// template of that kind. One transaction; a template that is gone is refused (Tz4Error).
void SetPrintDefault(const QString& databasePath, const QString& templateKey);

} // namespace tz4
