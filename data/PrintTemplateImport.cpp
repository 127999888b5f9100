#include "data/PrintTemplateImport.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "data/SqliteDatabase.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>

namespace tz4 {

namespace {

// Runs the insert of one template line as a unit. Values such as "1),(2" would turn it into an
// insert of several rows; such a line is taken back whole and refused.
void insertLine(SqliteDatabase& db, const QString& statement, qsizetype lineNumber)
{
    // Prepared once per import: a file has a few hundred lines.
    db.cached(QStringLiteral("SAVEPOINT templateLine")).run();
    try {
        db.execute(statement);
        if (db.changes() > 1)
            throw Tz4Error(dberr::TrailingText,
                           QStringLiteral("PrintFormat.Dat line %1 holds %2 rows instead of one [%3]")
                               .arg(lineNumber).arg(db.changes()).arg(statement));
    } catch (...) {
        db.cached(QStringLiteral("ROLLBACK TO templateLine")).run();
        db.cached(QStringLiteral("RELEASE templateLine")).run();
        throw;
    }
    db.cached(QStringLiteral("RELEASE templateLine")).run();
}

} // namespace

QString decodePrintFormat(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Files from the Japanese installations are in their Windows code page.
    QStringDecoder shiftJis("Shift_JIS");
    if (!shiftJis.isValid())
        throw Tz4Error(err::InvalidPropertyValue,
                       QStringLiteral("PrintFormat.Dat is neither UTF-8 nor readable as Shift-JIS on this system"));
    return shiftJis.decode(bytes);
}

QStringList printDataValues(const QString& line)
{
    QStringList values = line.split(QLatin1Char('\t'));
    values.removeLast();
    for (qsizetype i = 1; i < values.size(); ++i) {
        if (values[i].isEmpty() || values[i] == QLatin1String("''"))
            values[i] = QStringLiteral("NULL");
    }
    return values;
}

bool ImportPrintData(const QString& databasePath, const QString& templateFilePath, int* linesStored)
{
    if (linesStored)
        *linesStored = 0;
    EnterProcedure here("modDataBase:ImportPrintData");
    static const QString printsInsert = QStringLiteral(
        "Insert Into Prints(SeqNo,TemplateName,TemplateDate,TemplateType,GraphVisible,"
        "GraphLeft,GraphTop,GraphWidth,GraphHeight,GraphFontName,GraphFontSize,"
        "TableVisible,TableLeft,TableTop,TableWidth,TableHeight,TableCols,"
        "TableFontName,TableFontSize,DefaultTemp) Values (");
    static const QString labelInsert = QStringLiteral(
        "Insert Into Prtlabel(SeqNo,TempNo,Caption,F_Cap,B_Cap,Cap_Format,Binding,BindNo,"
        "LabelLeft,LabelTop,FontName,FontSize,FontBold,FontUnder) Values (");

    ErrorTrap trap;
    trap.run([&] {
        QFile file(templateFilePath);
        if (!file.open(QIODevice::ReadOnly))
            throw fileError(file);
        const QStringList lines = decodePrintFormat(file.readAll()).split(QLatin1Char('\n'));
        SqliteDatabase db(databasePath);
        SqliteTransaction transaction(db);
        const QString* insert = nullptr;
        int stored = 0;
        for (qsizetype n = 0; n < lines.size(); ++n) {
            QString line = lines[n];
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (line.contains(QLatin1String("[PRINTS]"), Qt::CaseInsensitive)) {
                insert = &printsInsert;
            } else if (line.contains(QLatin1String("[PRTLABEL]"), Qt::CaseInsensitive)) {
                insert = &labelInsert;
            } else if (insert && line.contains(QLatin1Char('\t'))) {
                const QString statement = *insert + printDataValues(line).join(QLatin1Char(',')) + QStringLiteral(");");
                if (trap.run([&] { insertLine(db, statement, n + 1); }))
                    ++stored;
            }
        }
        transaction.commit();
        if (linesStored)
            *linesStored = stored;
    });
    return trap.finish();
}

} // namespace tz4
