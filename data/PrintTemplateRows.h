#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace tz4 {

class SqliteDatabase;

// One row of Prints: a report page's layout for one record kind (TemplateType 0 to 4).
// Lengths are millimetres on the page.
struct PrintsRow {
    qint32 SeqNo = 0; // 0 while the template has never been stored
    QString TemplateName;
    QDateTime TemplateDate;
    int TemplateType = 0;
    bool GraphVisible = false;
    double GraphLeft = 0, GraphTop = 0, GraphWidth = 0, GraphHeight = 0;
    QString GraphFontName;
    double GraphFontSize = 0;
    bool TableVisible = false;
    double TableLeft = 0, TableTop = 0, TableWidth = 0, TableHeight = 0;
    int TableCols = 1;
    QString TableFontName;
    double TableFontSize = 0;
    bool DefaultTemp = false;
};

// One row of PrtLabel: a text placed on the page, fixed or bound to a record parameter.
struct PrtLabelRow {
    qint32 SeqNo = 0;
    qint32 TempNo = 0;
    QVariant Caption; // null for Null
    QString F_Cap, B_Cap, Cap_Format;
    bool Binding = false;
    qint32 BindNo = 0;
    double LabelLeft = 0, LabelTop = 0;
    QString FontName;
    double FontSize = 0; // 0 for Null
    bool FontBold = false, FontUnder = false;
};

// The statements of the print window's templates. Each opens the database file, works and
// closes it again; a failure throws Tz4Error.
namespace PrintTemplateRows {

// The default template of a kind; nothing when the kind has none.
std::optional<qint32> defaultTemplate(const QString& databasePath, int templateType);
// True when template `seqNo` exists and is of the kind.
bool templateOfType(const QString& databasePath, int templateType, qint32 seqNo);
// The kind of template `seqNo`; nothing when there is no such template.
std::optional<int> templateType(const QString& databasePath, qint32 seqNo);

// The template's row and its labels in the order they were stored.
std::optional<PrintsRow> read(const QString& databasePath, qint32 seqNo);
QList<PrtLabelRow> readLabels(const QString& databasePath, qint32 seqNo);

// Replaces the stored template `row.SeqNo` and all its labels, in one transaction. The
// number of column groups is not stored.
void rewrite(const QString& databasePath, const PrintsRow& row, const QList<PrtLabelRow>& labels);
// Stores the template and its labels as a new template dated today, in one transaction;
// returns its number.
qint32 insert(const QString& databasePath, const PrintsRow& row, const QList<PrtLabelRow>& labels);

} // namespace PrintTemplateRows
} // namespace tz4
