// Any file imported as an exchange database into a throw-away main database. The import takes
// the file whole or refuses it; either way the main database stays sound, still opens, and
// holds no record or folder that points at nothing.

#include "fuzz/DatabaseSnapshot.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ScratchDatabase.h"

#include "core/DataDirectory.h"
#include "core/Tz4Error.h"
#include "data/DatabaseSetup.h"
#include "data/ExportImport.h"
#include "data/SqliteDatabase.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tz4;

namespace {

QTemporaryDir* scratch; // removed at exit with all the files of the run
fuzz::ScratchDatabase* database;
QString exchangeFile;
QString pristineSnapshot;
qint64 pristineRows[3];
const char* const kRowCounts[3] = {"SELECT count(*) FROM FAT", "SELECT count(*) FROM Setting",
                                   "SELECT count(*) FROM Datas"};

QString path(const char* name) { return scratch->filePath(QLatin1String(name)); }

void writeFile(const QString& file, const QByteArray& content)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(content) != content.size())
        std::abort();
}

qint64 count(SqliteDatabase& db, const char* sql)
{
    SqliteStatement& st = db.cached(QLatin1String(sql));
    const qint64 n = st.next() ? st.toInt(0) : -1;
    st.reset();
    return n;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static fuzz::SilentReporter reporter;
    setErrorReporter(&reporter);
    static QTemporaryDir dir;
    scratch = &dir;
    setDataDirectory(scratch->path());
    if (!createDatabaseIfMissing(scratch->path()))
        std::abort();
    database = new fuzz::ScratchDatabase(path("TZ4.mdb"));
    pristineSnapshot = fuzz::snapshot(database->db());
    for (int i = 0; i < 3; ++i)
        pristineRows[i] = count(database->db(), kRowCounts[i]);
    exchangeFile = path("Exchange.mdb");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 262144)
        return 0;
    database->reset();
    fuzz::trimCautionLog();
    writeFile(exchangeFile, fuzz::bytes(data, size));

    bool refused = false;
    ImportCounts counts;
    try {
        counts = ImportMain(database->path(), exchangeFile, QStringLiteral("1 A"));
    } catch (const Tz4Error&) {
        refused = true;
    }

    SqliteDatabase& db = database->db();
    if (refused) {
        // Most inputs are refused before anything is written: the same bytes need no checking.
        if (database->unchanged())
            return 0;
        FUZZ_CHECK(fuzz::integrityCheck(db) == QLatin1String("ok"), fuzz::integrityCheck(db));
        FUZZ_CHECK(fuzz::snapshot(db) == pristineSnapshot, QStringLiteral("a refused import changed the database"));
        return 0;
    }
    FUZZ_CHECK(fuzz::integrityCheck(db) == QLatin1String("ok"), fuzz::integrityCheck(db));
    {
        SqliteDatabase reopened(database->path());
        FUZZ_CHECK(count(reopened, kRowCounts[0]) >= 0, QStringLiteral("the database no longer opens"));
    }
    FUZZ_CHECK(counts.folders >= 0 && counts.records >= 0 && counts.points >= 0, QStringLiteral("negative counts"));
    // What was added is what the import says it added.
    const int added[3] = {counts.folders, counts.records, counts.points};
    for (int i = 0; i < 3; ++i)
        FUZZ_CHECK(count(db, kRowCounts[i]) == pristineRows[i] + added[i],
                   QStringLiteral("%1: %2 before, %3 after, %4 imported")
                       .arg(QLatin1String(kRowCounts[i])).arg(pristineRows[i]).arg(count(db, kRowCounts[i])).arg(added[i]));
    FUZZ_CHECK(count(db, "SELECT count(*) FROM Setting WHERE Parent <> 0 AND Parent NOT IN (SELECT SeqNo FROM FAT)") == 0,
               QStringLiteral("a record in a folder that does not exist"));
    FUZZ_CHECK(count(db, "SELECT count(*) FROM FAT WHERE Parent <> 0 AND Parent NOT IN (SELECT SeqNo FROM FAT)") == 0,
               QStringLiteral("a folder in a folder that does not exist"));
    FUZZ_CHECK(count(db, "SELECT count(*) FROM Datas WHERE SerialNo NOT IN (SELECT SeqNo FROM Setting)") == 0,
               QStringLiteral("points of a record that does not exist"));
    return 0;
}
