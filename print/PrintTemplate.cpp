#include "print/PrintTemplate.h"

namespace tz4 {

namespace {

constexpr double kDefaultFontSize = 9;

QFont fontOf(const QString& name, double size)
{
    QFont font;
    if (!name.isEmpty())
        font.setFamily(name);
    font.setPointSizeF(size > 0 ? size : kDefaultFontSize);
    return font;
}

void addLabel(clsTz4PrintLabels& labels, const PrtLabelRow& row)
{
    clsTz4PrintLabel* label = labels.Add({}, row.Caption, row.Cap_Format, row.F_Cap, row.B_Cap);
    label->setBinding(row.Binding);
    label->setBindingNumber(row.BindNo);
    label->setMmLeft(float(row.LabelLeft));
    label->setMmTop(float(row.LabelTop));
    QFont font = label->Font();
    if (!row.FontName.isEmpty())
        font.setFamily(row.FontName);
    if (row.FontSize > 0)
        font.setPointSizeF(row.FontSize);
    font.setBold(row.FontBold);
    font.setUnderline(row.FontUnder);
    label->setFont(font);
}

} // namespace

QFont PrintTemplate::graphFont() const { return fontOf(GraphFontName, GraphFontSize); }
QFont PrintTemplate::tableFont() const { return fontOf(TableFontName, TableFontSize); }

void PrintTemplate::setGraphFont(const QFont& font)
{
    GraphFontName = font.family();
    GraphFontSize = font.pointSizeF();
}

void PrintTemplate::setTableFont(const QFont& font)
{
    TableFontName = font.family();
    TableFontSize = font.pointSizeF();
}

std::optional<PrintTemplate> PrintTemplate::load(const QString& databasePath, qint32 seqNo)
{
    const std::optional<PrintsRow> row = PrintTemplateRows::read(databasePath, seqNo);
    if (!row)
        return std::nullopt;
    std::optional<PrintTemplate> loaded(std::in_place);
    static_cast<PrintsRow&>(*loaded) = *row;
    if (loaded->TableCols < 1)
        loaded->TableCols = 1;
    for (const PrtLabelRow& label : PrintTemplateRows::readLabels(databasePath, seqNo))
        addLabel(loaded->Labels, label);
    return loaded;
}

PrintTemplate PrintTemplate::blank(int templateType)
{
    PrintTemplate t;
    t.TemplateName = newTemplateName();
    t.TemplateDate = QDateTime::currentDateTime();
    t.TemplateType = templateType;
    return t;
}

QList<PrtLabelRow> PrintTemplate::labelRows() const
{
    QList<PrtLabelRow> rows;
    for (const clsTz4PrintLabel& label : Labels) {
        PrtLabelRow row;
        row.TempNo = SeqNo;
        row.Caption = label.Value();
        row.F_Cap = label.ForeCaption();
        row.B_Cap = label.BackCaption();
        row.Cap_Format = label.FormatString();
        row.Binding = label.Binding();
        row.BindNo = label.BindingNumber();
        row.LabelLeft = label.mmLeft();
        row.LabelTop = label.mmTop();
        row.FontName = label.Font().family();
        row.FontSize = label.OriginalFontSize();
        row.FontBold = label.Font().bold();
        row.FontUnder = label.Font().underline();
        rows << row;
    }
    return rows;
}

} // namespace tz4
