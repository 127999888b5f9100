#pragma once

#include <QString>
#include <QStringList>

namespace tz4 {

class SqliteDatabase;

// The Create Table statements, in creation order: Setting, Datas, FAT, Thicks, Graphs, Prints, PrtLabel.
const QStringList& databaseTableStatements();

// Creates a new database file with every table. Runs every statement even after a failure and
// logs the last failure once; a partly created file stays. False when anything failed.
bool MakeDB(const QString& path);

// Drops the export/import work tables; a missing one is fine.
void dropWorkTables(SqliteDatabase& db);

// Empties the export/import work tables of the main database: drops them (a missing one is
// fine) and creates them again. The first other failure is shown and logged; false then.
bool MakeTmpDB(const QString& mainDatabasePath);

// Creates the four work tables on `db`; `temporary` keeps them out of the database file: they
// live in the connection's temporary schema and vanish with it.
void createWorkTables(SqliteDatabase& db, bool temporary);

// Lookup indexes of the main database; they change only speed.
void addMainIndexes(const QString& path);

// Puts the main database into write-ahead logging, so that readers (a listing, an export)
// never hold up a writer and a writer never holds up a reader; writers still take turns.
// Exchange files keep their single-file journal.
void useWriteAheadLog(const QString& path);

} // namespace tz4
