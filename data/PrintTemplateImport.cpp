#include "data/PrintTemplateImport.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "data/SqliteDatabase.h"

#include <QFile>
#include <QStringList>

namespace tz4 {

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

bool ImportPrintData(const QString& databasePath, const QString& templateFilePath)
{
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
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        SqliteDatabase db(databasePath);
        SqliteTransaction transaction(db);
        const QString* insert = nullptr;
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (line.contains(QLatin1String("[PRINTS]"), Qt::CaseInsensitive)) {
                insert = &printsInsert;
            } else if (line.contains(QLatin1String("[PRTLABEL]"), Qt::CaseInsensitive)) {
                insert = &labelInsert;
            } else if (insert && line.contains(QLatin1Char('\t'))) {
                const QString statement = *insert + printDataValues(line).join(QLatin1Char(',')) + QStringLiteral(");");
                trap.run([&] { db.execute(statement); });
            }
        }
        transaction.commit();
    });
    return trap.finish();
}

} // namespace tz4
