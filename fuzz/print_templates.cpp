// "PrintFormat.Dat" as any bytes, imported into a fresh database. The import may skip lines it
// cannot read, but it touches nothing but the two template tables and leaves a sound file.

#include "fuzz/DatabaseSnapshot.h"
#include "fuzz/FuzzSupport.h"

#include "data/DatabaseSchema.h"
#include "data/PrintTemplateImport.h"
#include "data/SqliteDatabase.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tz4;

namespace {

QTemporaryDir* scratch;
QByteArray pristine;       // the fresh database file
QString pristineSnapshot;  // what lies outside the template tables

QString path(const char* name) { return scratch->filePath(QLatin1String(name)); }

void writeFile(const QString& file, const QByteArray& content)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(content) != content.size())
        std::abort();
}

const QStringList kTemplateTables{QStringLiteral("Prints"), QStringLiteral("PrtLabel")};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static fuzz::SilentReporter reporter;
    setErrorReporter(&reporter);
    scratch = new QTemporaryDir;
    const QString fresh = path("fresh.mdb");
    if (!MakeDB(fresh))
        std::abort();
    {
        SqliteDatabase db(fresh);
        fuzz::addSentinelRows(db);
        pristineSnapshot = fuzz::snapshot(db, kTemplateTables);
    }
    QFile file(fresh);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    pristine = file.readAll();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 16384)
        return 0;
    const QString database = path("TZ4.mdb");
    QFile::remove(database + QStringLiteral("-journal"));
    writeFile(database, pristine);
    writeFile(path("PrintFormat.Dat"), fuzz::bytes(data, size));

    ImportPrintData(database, path("PrintFormat.Dat"));

    SqliteDatabase db(database);
    FUZZ_CHECK(fuzz::integrityCheck(db) == QLatin1String("ok"), fuzz::integrityCheck(db));
    const QString after = fuzz::snapshot(db, kTemplateTables);
    FUZZ_CHECK(after == pristineSnapshot, QStringLiteral("outside the templates:\n") + after);
    // At most one row per template line of the file.
    const qsizetype lines = fuzz::bytes(data, size).count('\n') + 1;
    SqliteStatement count = db.prepare(QStringLiteral("SELECT (SELECT count(*) FROM Prints) + (SELECT count(*) FROM PrtLabel)"));
    FUZZ_CHECK(count.next() && count.toInt(0) <= lines, QStringLiteral("%1 rows from %2 lines").arg(count.toInt(0)).arg(lines));
    return 0;
}
