#pragma once

#include <QString>

namespace tz4 {

// The print-template file shipped with the program (a resource).
QString shippedPrintFormatPath();

// Start-up and `init`: when "TZ4.mdb" is missing from the data directory, copies the shipped
// "PrintFormat.Dat" there unless one is present, creates the database and loads the templates
// into it. The lookup indexes and write-ahead logging are ensured on every call. True when the database is usable.
bool createDatabaseIfMissing(const QString& dataDir);

} // namespace tz4
