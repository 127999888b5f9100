#include "data/PrintTemplateRows.h"

#include "core/Formats.h"
#include "data/SqlText.h"
#include "data/SqliteDatabase.h"

#include <QDate>

namespace tz4::PrintTemplateRows {

namespace {

// Numbers go into statements in the user's locale with its separator turned into a point.
QString sqlNumber(double value)
{
    return uncheckPointDelim(shortestText(value));
}

QString sqlBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// An empty text is stored as Null.
QString sqlText(const QString& text)
{
    return sqlQuoteOrNull(text);
}

QString sqlValue(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return sqlNumber(value.toDouble());
    case QMetaType::QDateTime:
        return sqlQuote(generalDate(value.toDateTime()));
    default:
        return sqlText(value.toString());
    }
}

PrintsRow rowOf(const SqliteStatement& st)
{
    PrintsRow row;
    row.SeqNo = qint32(st.toInt(QStringLiteral("SeqNo")));
    row.TemplateName = st.toText(QStringLiteral("TemplateName"));
    row.TemplateDate = st.toDateTime(QStringLiteral("TemplateDate"));
    row.TemplateType = int(st.toInt(QStringLiteral("TemplateType")));
    row.GraphVisible = st.toBool(QStringLiteral("GraphVisible"));
    row.GraphLeft = st.toDouble(QStringLiteral("GraphLeft"));
    row.GraphTop = st.toDouble(QStringLiteral("GraphTop"));
    row.GraphWidth = st.toDouble(QStringLiteral("GraphWidth"));
    row.GraphHeight = st.toDouble(QStringLiteral("GraphHeight"));
    row.GraphFontName = st.toText(QStringLiteral("GraphFontName"));
    row.GraphFontSize = st.toDouble(QStringLiteral("GraphFontSize"));
    row.TableVisible = st.toBool(QStringLiteral("TableVisible"));
    row.TableLeft = st.toDouble(QStringLiteral("TableLeft"));
    row.TableTop = st.toDouble(QStringLiteral("TableTop"));
    row.TableWidth = st.toDouble(QStringLiteral("TableWidth"));
    row.TableHeight = st.toDouble(QStringLiteral("TableHeight"));
    row.TableCols = int(st.toInt(QStringLiteral("TableCols"), 1));
    row.TableFontName = st.toText(QStringLiteral("TableFontName"));
    row.TableFontSize = st.toDouble(QStringLiteral("TableFontSize"));
    row.DefaultTemp = st.toBool(QStringLiteral("DefaultTemp"));
    return row;
}

PrtLabelRow labelOf(const SqliteStatement& st)
{
    PrtLabelRow label;
    label.SeqNo = qint32(st.toInt(QStringLiteral("SeqNo")));
    label.TempNo = qint32(st.toInt(QStringLiteral("TempNo")));
    label.Caption = st.isNull(QStringLiteral("Caption")) ? QVariant() : st.value(QStringLiteral("Caption"));
    label.F_Cap = st.toText(QStringLiteral("F_Cap"));
    label.B_Cap = st.toText(QStringLiteral("B_Cap"));
    label.Cap_Format = st.toText(QStringLiteral("Cap_Format"));
    label.Binding = st.toBool(QStringLiteral("Binding"));
    label.BindNo = qint32(st.toInt(QStringLiteral("BindNo")));
    label.LabelLeft = st.toDouble(QStringLiteral("LabelLeft"));
    label.LabelTop = st.toDouble(QStringLiteral("LabelTop"));
    label.FontName = st.toText(QStringLiteral("FontName"));
    label.FontSize = st.toDouble(QStringLiteral("FontSize"));
    label.FontBold = st.toBool(QStringLiteral("FontBold"));
    label.FontUnder = st.toBool(QStringLiteral("FontUnder"));
    return label;
}

// "Select Max(SeqNo) As MaxSeq From ..." plus one; 1 for an empty table.
qint32 nextKey(SqliteDatabase& db, const QString& table)
{
    SqliteStatement st = db.query(QStringLiteral("Select Max(SeqNo) As MaxSeq From ") + table);
    return st.next() ? qint32(st.toInt(QStringLiteral("MaxSeq"), 0)) + 1 : 1;
}

// The font name and size are written only when a font is set.
void addFont(QStringList& items, const QString& nameColumn, const QString& name, const QString& sizeColumn,
             double size)
{
    if (name.isEmpty())
        return;
    items << nameColumn + QLatin1Char('=') + sqlQuote(name) << sizeColumn + QLatin1Char('=') + sqlNumber(size);
}

void insertLabels(SqliteDatabase& db, qint32 templateNo, const QList<PrtLabelRow>& labels)
{
    qint32 key = nextKey(db, QStringLiteral("PrtLabel"));
    for (const PrtLabelRow& label : labels) {
        const QStringList values = {QString::number(key++),
                                    QString::number(templateNo),
                                    sqlValue(label.Caption),
                                    sqlText(label.F_Cap),
                                    sqlText(label.B_Cap),
                                    sqlText(label.Cap_Format),
                                    sqlBool(label.Binding),
                                    QString::number(label.BindNo),
                                    sqlNumber(label.LabelLeft),
                                    sqlNumber(label.LabelTop),
                                    sqlText(label.FontName),
                                    sqlNumber(label.FontSize),
                                    sqlBool(label.FontBold),
                                    sqlBool(label.FontUnder)};
        db.execute(QStringLiteral("Insert Into PrtLabel(SeqNo,TempNo,Caption,F_Cap,B_Cap,Cap_Format,"
                                  "Binding,BindNo,LabelLeft,LabelTop,FontName,FontSize,FontBold,FontUnder"
                                  ") Values (")
                   + values.join(QLatin1Char(',')) + QStringLiteral(");"));
    }
}

} // namespace

std::optional<qint32> defaultTemplate(const QString& databasePath, int templateType)
{
    SqliteDatabase db(databasePath);
    SqliteStatement st = db.query(
        QStringLiteral("Select * From Prints Where TemplateType=%1 And DefaultTemp=True;").arg(templateType));
    if (!st.next())
        return std::nullopt;
    return qint32(st.toInt(QStringLiteral("SeqNo")));
}

bool templateOfType(const QString& databasePath, int templateType, qint32 seqNo)
{
    SqliteDatabase db(databasePath);
    return db.query(QStringLiteral("Select * From Prints Where TemplateType=%1 And SeqNo=%2;").arg(templateType).arg(seqNo))
        .next();
}

std::optional<int> templateType(const QString& databasePath, qint32 seqNo)
{
    SqliteDatabase db(databasePath);
    SqliteStatement st = db.query(QStringLiteral("Select TemplateType From Prints Where SeqNo=%1;").arg(seqNo));
    if (!st.next())
        return std::nullopt;
    return int(st.toInt(QStringLiteral("TemplateType"), -1));
}

std::optional<PrintsRow> read(const QString& databasePath, qint32 seqNo)
{
    SqliteDatabase db(databasePath);
    SqliteStatement st = db.query(QStringLiteral("Select * From Prints Where SeqNo=%1;").arg(seqNo));
    if (!st.next())
        return std::nullopt;
    return rowOf(st);
}

QList<PrtLabelRow> readLabels(const QString& databasePath, qint32 seqNo)
{
    SqliteDatabase db(databasePath);
    // Stored order is the order they were added, which is also the order they are drawn in.
    SqliteStatement st = db.query(QStringLiteral("Select * From PrtLabel Where TempNo=%1 Order By SeqNo").arg(seqNo));
    QList<PrtLabelRow> labels;
    while (st.next())
        labels << labelOf(st);
    return labels;
}

void rewrite(const QString& databasePath, const PrintsRow& row, const QList<PrtLabelRow>& labels)
{
    QStringList items;
    items << QStringLiteral("TemplateName=") + sqlQuote(row.TemplateName)
          << QStringLiteral("GraphVisible=") + sqlBool(row.GraphVisible)
          << QStringLiteral("GraphLeft=") + sqlNumber(row.GraphLeft) << QStringLiteral("GraphTop=") + sqlNumber(row.GraphTop)
          << QStringLiteral("GraphWidth=") + sqlNumber(row.GraphWidth)
          << QStringLiteral("GraphHeight=") + sqlNumber(row.GraphHeight);
    addFont(items, QStringLiteral("GraphFontName"), row.GraphFontName, QStringLiteral("GraphFontSize"), row.GraphFontSize);
    items << QStringLiteral("TableVisible=") + sqlBool(row.TableVisible)
          << QStringLiteral("TableLeft=") + sqlNumber(row.TableLeft) << QStringLiteral("TableTop=") + sqlNumber(row.TableTop)
          << QStringLiteral("TableWidth=") + sqlNumber(row.TableWidth)
          << QStringLiteral("TableHeight=") + sqlNumber(row.TableHeight);
    addFont(items, QStringLiteral("TableFontName"), row.TableFontName, QStringLiteral("TableFontSize"), row.TableFontSize);

    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    db.execute(QStringLiteral("Update Prints Set ") + items.join(QLatin1Char(',')) + QStringLiteral(" Where SeqNo=")
               + QString::number(row.SeqNo) + QLatin1Char(';'));
    db.execute(QStringLiteral("Delete From PrtLabel Where TempNo=%1;").arg(row.SeqNo));
    insertLabels(db, row.SeqNo, labels);
    transaction.commit();
}

qint32 insert(const QString& databasePath, const PrintsRow& row, const QList<PrtLabelRow>& labels)
{
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    const qint32 seqNo = nextKey(db, QStringLiteral("Prints"));
    const QStringList values = {QString::number(seqNo),
                                sqlQuote(row.TemplateName),
                                QLatin1Char('#') + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('#'),
                                QString::number(row.TemplateType),
                                sqlBool(row.GraphVisible),
                                sqlNumber(row.GraphLeft),
                                sqlNumber(row.GraphTop),
                                sqlNumber(row.GraphWidth),
                                sqlNumber(row.GraphHeight),
                                sqlText(row.GraphFontName),
                                sqlNumber(row.GraphFontSize),
                                sqlBool(row.TableVisible),
                                sqlNumber(row.TableLeft),
                                sqlNumber(row.TableTop),
                                sqlNumber(row.TableWidth),
                                sqlNumber(row.TableHeight),
                                sqlText(row.TableFontName),
                                sqlNumber(row.TableFontSize)};
    db.execute(QStringLiteral("Insert Into Prints(SeqNo,TemplateName,TemplateDate,TemplateType,"
                              "GraphVisible,GraphLeft,GraphTop,GraphWidth,GraphHeight,"
                              "GraphFontName,GraphFontSize,"
                              "TableVisible,TableLeft,TableTop,TableWidth,TableHeight,"
                              "TableFontName,TableFontSize"
                              ") Values (")
               + values.join(QLatin1Char(',')) + QStringLiteral(");"));
    insertLabels(db, seqNo, labels);
    transaction.commit();
    return seqNo;
}

} // namespace tz4::PrintTemplateRows
