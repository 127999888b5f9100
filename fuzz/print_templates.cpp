// "PrintFormat.Dat" as any bytes, imported into a fresh database. The import may refuse lines,
// but every line stores at most one row, it touches nothing but the two template tables and it
// leaves a sound file.

#include "fuzz/DatabaseSnapshot.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ScratchDatabase.h"

#include "data/DatabaseSchema.h"
#include "data/PrintTemplateImport.h"
#include "data/SqliteDatabase.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tz4;

namespace {

QTemporaryDir* scratch; // removed at exit with all the files of the run
fuzz::ScratchDatabase* database;
QString templateFile;
QString pristineSnapshot; // what lies outside the template tables

const QStringList kTemplateTables{QStringLiteral("Prints"), QStringLiteral("PrtLabel")};

void writeFile(const QString& file, const QByteArray& content)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(content) != content.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static fuzz::SilentReporter reporter;
    setErrorReporter(&reporter);
    static QTemporaryDir dir;
    scratch = &dir;
    setDataDirectory(scratch->path());
    const QString fresh = scratch->filePath(QStringLiteral("fresh.mdb"));
    if (!MakeDB(fresh))
        std::abort();
    {
        SqliteDatabase db(fresh);
        fuzz::addSentinelRows(db);
    }
    database = new fuzz::ScratchDatabase(fresh);
    pristineSnapshot = fuzz::snapshot(database->db(), kTemplateTables);
    templateFile = scratch->filePath(QStringLiteral("PrintFormat.Dat"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16384)
        return 0;
    const QByteArray input = fuzz::bytes(data, size);
    fuzz::trimCautionLog();
    database->reset();
    writeFile(templateFile, input);

    int accepted = -1;
    ImportPrintData(database->path(), templateFile, &accepted);

    SqliteDatabase& db = database->db();
    FUZZ_CHECK(fuzz::integrityCheck(db) == QLatin1String("ok"), fuzz::integrityCheck(db));
    const QString after = fuzz::snapshot(db, kTemplateTables);
    FUZZ_CHECK(after == pristineSnapshot, QStringLiteral("outside the templates:\n") + after);
    // One row at most for every line the import accepted, none for a line it refused.
    FUZZ_CHECK(accepted >= 0 && accepted <= input.count('\n') + 1, QStringLiteral("%1 lines accepted").arg(accepted));
    SqliteStatement& count = db.cached(QStringLiteral("SELECT (SELECT count(*) FROM Prints) + (SELECT count(*) FROM PrtLabel)"));
    FUZZ_CHECK(count.next() && count.toInt(0) <= accepted,
               QStringLiteral("%1 rows from %2 accepted lines").arg(count.toInt(0)).arg(accepted));
    count.reset();
    database->empty(kTemplateTables);
    return 0;
}
