#pragma once

#include "data/OperationProgress.h"

#include <QString>

namespace tz4 {

class SqliteDatabase;

// The name an exchange file is written or read under: ".mdb" appended unless the name
// already ends in "mdb" (any case).
QString exchangeFileName(const QString& fileName);

// Writes the items of `exportList` ("12 F,40 W,") with everything they depend on into a new
// exchange file; returns its path. The file appears whole or not at all. Refused when the file
// exists (unless `replaceExisting`), is the database itself, or cannot be written.
QString ExportMain(const QString& databasePath, const QString& fileName, const QString& exportList,
                   const OperationProgress& progress = {}, bool replaceExisting = false);

struct ImportCounts {
    int folders = 0;
    int records = 0;
    int points = 0;
};

// Reads exchange file `fileName` into the database under new keys and hangs its top level
// under `targetKey` (a folder, or the root "1 A" for the top level). One transaction: a file
// that is not an exchange file, is damaged or holds broken references changes nothing.
ImportCounts ImportMain(const QString& databasePath, const QString& fileName, const QString& targetKey,
                        const OperationProgress& progress = {});

// The steps, on the main database with the work tables in its temporary schema.
namespace ops {
void ExportLoop(SqliteDatabase& db, QString list, const OperationProgress& progress = {});
void ExportSeq(SqliteDatabase& db, const OperationProgress& progress = {});
// Checks the work tables' references; throws on the first broken one.
void checkImportedRows(SqliteDatabase& db);
void ImportSeq(SqliteDatabase& db, const QString& targetKey, const OperationProgress& progress = {});
} // namespace ops

} // namespace tz4
