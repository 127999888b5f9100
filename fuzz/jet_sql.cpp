// Any text through the Jet-dialect translation and on to the engine, on a database with the
// program's schema. A statement is accepted or refused as a whole: a refused one leaves every
// table and the schema exactly as they were.

#include "fuzz/DatabaseSnapshot.h"
#include "fuzz/FuzzSupport.h"

#include "core/Tz4Error.h"
#include "data/DatabaseSchema.h"
#include "data/JetSql.h"
#include "data/SqliteDatabase.h"

#include <sqlite3.h>

using namespace tz4;

namespace {

SqliteDatabase* db;
QString pristine;
bool armed = false; // only the fuzzed statement is restricted, not the harness's own

// The fuzzed statement may not leave the scratch database: no other files, no transaction
// control that would pull the floor from under the harness's savepoint, no settings.
int authorize(void*, int action, const char*, const char*, const char*, const char*)
{
    if (!armed)
        return SQLITE_OK;
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
    case SQLITE_PRAGMA:
        return SQLITE_DENY;
    default:
        return SQLITE_OK;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static fuzz::SilentReporter reporter;
    setErrorReporter(&reporter);
    fuzz::dropQtWarnings();
    db = new SqliteDatabase(QStringLiteral(":memory:"), SqliteDatabase::Open::CreateIfMissing);
    for (const QString& statement : databaseTableStatements())
        db->execute(statement);
    fuzz::addSentinelRows(*db);
    pristine = fuzz::snapshot(*db);
    sqlite3_set_authorizer(db->handle(), authorize, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    // The translation alone: text or a refusal, and every "IN" file named goes to the callback.
    try {
        JetSql::translate(text, [](const QString&) { return QStringLiteral("ext1"); });
    } catch (const Tz4Error&) {
    }

    // A date literal that parses is stored and read back unchanged.
    const QDateTime date = JetSql::parseDateLiteral(text);
    if (date.isValid()) {
        const QString stored = JetSql::storedDate(date);
        FUZZ_CHECK(JetSql::fromStoredDate(stored) == date.addMSecs(-date.time().msec()), text + QStringLiteral(" -> ") + stored);
    }

    // VACUUM INTO writes a file wherever the text says; nothing else here leaves the database.
    if (text.contains(QLatin1String("vacuum"), Qt::CaseInsensitive))
        return 0;

    db->cached(QStringLiteral("SAVEPOINT fuzz")).run();
    const int changesBefore = sqlite3_total_changes(db->handle());
    bool refused = false;
    armed = true;
    try {
        db->execute(text);
    } catch (const Tz4Error&) {
        refused = true;
    }
    armed = false;
    if (refused) {
        FUZZ_CHECK(sqlite3_total_changes(db->handle()) == changesBefore, QStringLiteral("rows changed by a refused statement: ") + text);
        FUZZ_CHECK(fuzz::snapshot(*db) == pristine, QStringLiteral("refused but applied: ") + text);
    }
    FUZZ_CHECK(db->inTransaction(), QStringLiteral("the statement ended the harness's savepoint: ") + text);
    db->cached(QStringLiteral("ROLLBACK TO fuzz")).run();
    db->cached(QStringLiteral("RELEASE fuzz")).run();
    FUZZ_CHECK(fuzz::snapshot(*db) == pristine, QStringLiteral("scratch database not restored after: ") + text);
    return 0;
}
