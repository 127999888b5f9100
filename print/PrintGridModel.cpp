#include "print/PrintGridModel.h"

#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "print/BindingList.h"
#include "print/LabelFormat.h"
#include "print/PrintControl.h"

#include <QLocale>

#include <optional>

namespace tz4 {

namespace {

const QString PagePicture = QStringLiteral("###0.0\\m\\m");
const QString PositionPicture = QStringLiteral("###0.0");
const QString ButtonText = QStringLiteral("...");

// The list of a True/False row, in this order.
QStringList boolItems() { return {QStringLiteral("True"), QStringLiteral("False")}; }

std::optional<double> numberOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
        return value.toDouble();
    const QString text = value.toString().trimmed();
    bool ok = false;
    double number = QLocale().toDouble(text, &ok);
    if (!ok)
        number = QLocale::c().toDouble(text, &ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

// "True"/"False" as typed, or a list position (0 True, 1 False).
std::optional<bool> boolOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
        return value.toInt() == 0;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

QString fontText(const QFont& font)
{
    return QStringLiteral("%1 %2").arg(font.family(), shortestText(font.pointSizeF()));
}

// The template's lengths by row key.
double PrintsRow::*lengthOf(const QString& key)
{
    static const QHash<QString, double PrintsRow::*> lengths = {
        {QStringLiteral("gLeft"), &PrintsRow::GraphLeft},   {QStringLiteral("gTop"), &PrintsRow::GraphTop},
        {QStringLiteral("gWidth"), &PrintsRow::GraphWidth}, {QStringLiteral("gHeight"), &PrintsRow::GraphHeight},
        {QStringLiteral("tLeft"), &PrintsRow::TableLeft},   {QStringLiteral("tTop"), &PrintsRow::TableTop},
        {QStringLiteral("tWidth"), &PrintsRow::TableWidth}, {QStringLiteral("tHeight"), &PrintsRow::TableHeight},
    };
    return lengths.value(key, nullptr);
}

} // namespace

PrintGridModel::PrintGridModel(PrintControl& control, QObject* parent)
    : QAbstractTableModel(parent), control_(control)
{
    MakeGridList();
    connect(&control_, &PrintControl::selectionChanged, this, &PrintGridModel::refreshValues);
    connect(&control_, &PrintControl::templateChanged, this, &PrintGridModel::refreshValues);
    connect(&control_, &PrintControl::pageChanged, this, &PrintGridModel::refreshValues);
}

void PrintGridModel::MakeGridList()
{
    beginResetModel();
    rows_ = {
        {QStringLiteral("TempName"), msg::PrintTemplateName, {}, Text, false},
        {QStringLiteral("MeasDate"), msg::PrintTemplateDate, {}, ReadOnly, false},
        {QStringLiteral("DeviceName"), msg::PrintDevice, {}, ReadOnly, false},
        {QStringLiteral("PageWidth"), msg::PrintPaperWidth, PagePicture, ReadOnly, false},
        {QStringLiteral("PageHeight"), msg::PrintPaperHeight, PagePicture, ReadOnly, false},
        {QStringLiteral("DataWidth"), msg::PrintableWidth, PagePicture, ReadOnly, false},
        {QStringLiteral("DataHeight"), msg::PrintableHeight, PagePicture, ReadOnly, false},
        {QStringLiteral("GraphVisible"), msg::PrintGraphVisible, {}, BoolList, false},
        {QStringLiteral("gLeft"), msg::PrintGraphLeft, PositionPicture, Text, false},
        {QStringLiteral("gTop"), msg::PrintGraphTop, PositionPicture, Text, false},
        {QStringLiteral("gWidth"), msg::PrintGraphWidth, PositionPicture, Text, false},
        {QStringLiteral("gHeight"), msg::PrintGraphHeight, PositionPicture, Text, false},
        {QStringLiteral("gFont"), msg::PrintGraphFont, {}, FontButton, false},
        {QStringLiteral("TableVisible"), msg::PrintTableVisible, {}, BoolList, false},
        {QStringLiteral("tLeft"), msg::PrintTableLeft, PositionPicture, Text, false},
        {QStringLiteral("tTop"), msg::PrintTableTop, PositionPicture, Text, false},
        {QStringLiteral("tWidth"), msg::PrintTableWidth, PositionPicture, Text, false},
        {QStringLiteral("tHeight"), msg::PrintTableHeight, PositionPicture, Text, false},
        {QStringLiteral("tFont"), msg::PrintTableFont, {}, FontButton, false},
        {QStringLiteral("tCols"), msg::PrintTableCols, {}, Text, false},
        {QStringLiteral("NewLabel"), msg::PrintNewLabel, {}, Button, false},
        {QStringLiteral("lBind"), msg::PrintLabelBinding, {}, BoolList, true},
        {QStringLiteral("lBindNum"), msg::PrintBindingNumber, {}, BindingList, true},
        {QStringLiteral("lValue"), msg::PrintLabelValue, {}, Text, true},
        {QStringLiteral("lFormat"), msg::PrintLabelFormat, {}, Text, true},
        {QStringLiteral("lFCap"), msg::PrintForeCaption, {}, Text, true},
        {QStringLiteral("lBCap"), msg::PrintBackCaption, {}, Text, true},
        {QStringLiteral("lFont"), msg::PrintLabelFont, {}, FontButton, true},
        {QStringLiteral("lLeft"), msg::PrintLabelLeft, PositionPicture, Text, true},
        {QStringLiteral("lTop"), msg::PrintLabelTop, PositionPicture, Text, true},
        {QStringLiteral("Save"), msg::PrintSaveTemplate, {}, Button, false},
    };
    endResetModel();
}

int PrintGridModel::rowOf(const QString& key) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].key == key)
            return int(i);
    return -1;
}

QString PrintGridModel::keyOf(int row) const
{
    return row >= 0 && size_t(row) < rows_.size() ? rows_[size_t(row)].key : QString();
}

PrintGridModel::EditType PrintGridModel::editType(int row) const
{
    return row >= 0 && size_t(row) < rows_.size() ? rows_[size_t(row)].type : ReadOnly;
}

void PrintGridModel::refreshValues()
{
    if (!rows_.empty())
        emit dataChanged(index(0, 1), index(int(rows_.size()) - 1, 1));
}

QVariant PrintGridModel::value(const Row& row) const
{
    const PrintTemplate& t = control_.templ();
    const PageDevice& device = control_.page().device();
    const clsTz4PrintLabel* label = control_.selectedLabel();
    const QString& key = row.key;
    if (row.type == Button)
        return ButtonText;
    if (row.labelRow && !label)
        return {};
    if (key == QLatin1String("TempName"))
        return t.TemplateName;
    if (key == QLatin1String("MeasDate"))
        return t.TemplateDate.isValid() ? generalDate(t.TemplateDate) : QString();
    if (key == QLatin1String("DeviceName"))
        return device.name;
    if (key == QLatin1String("PageWidth"))
        return formatNumber(device.paperMM.width(), row.format);
    if (key == QLatin1String("PageHeight"))
        return formatNumber(device.paperMM.height(), row.format);
    if (key == QLatin1String("DataWidth"))
        return formatNumber(device.printableMM.width(), row.format);
    if (key == QLatin1String("DataHeight"))
        return formatNumber(device.printableMM.height(), row.format);
    if (key == QLatin1String("GraphVisible"))
        return boolItems().at(t.GraphVisible ? 0 : 1);
    if (key == QLatin1String("TableVisible"))
        return boolItems().at(t.TableVisible ? 0 : 1);
    if (auto length = lengthOf(key))
        return formatNumber(t.*length, row.format);
    if (key == QLatin1String("gFont"))
        return fontText(t.graphFont());
    if (key == QLatin1String("tFont"))
        return fontText(t.tableFont());
    if (key == QLatin1String("tCols"))
        return t.TableCols;
    if (key == QLatin1String("lBind"))
        return boolItems().at(label->Binding() ? 0 : 1);
    if (key == QLatin1String("lBindNum")) {
        const QString title = binding::title(label->BindingNumber());
        return title.isEmpty() ? QString::number(label->BindingNumber()) : title;
    }
    if (key == QLatin1String("lValue"))
        return plainValueText(label->Value());
    if (key == QLatin1String("lFormat"))
        return label->FormatString();
    if (key == QLatin1String("lFCap"))
        return label->ForeCaption();
    if (key == QLatin1String("lBCap"))
        return label->BackCaption();
    if (key == QLatin1String("lFont"))
        return fontText(label->Font());
    if (key == QLatin1String("lLeft"))
        return formatNumber(label->mmLeft(), row.format);
    if (key == QLatin1String("lTop"))
        return formatNumber(label->mmTop(), row.format);
    return {};
}

bool PrintGridModel::ValidateEdit(int row, const QVariant& value)
{
    if (row < 0 || size_t(row) >= rows_.size())
        return false;
    if (!(flags(index(row, 1)) & Qt::ItemIsEditable))
        return false;
    const bool written = write(rows_[size_t(row)], value);
    if (written)
        refreshValues();
    return written;
}

bool PrintGridModel::write(const Row& row, const QVariant& value)
{
    PrintTemplate& t = control_.templ();
    const QString& key = row.key;
    if (key == QLatin1String("TempName")) {
        const QString name = value.toString();
        if (name != t.TemplateName) {
            t.TemplateName = name;
            t.NameEdited = true;
            emit control_.templateChanged();
        }
        return true;
    }
    if (key == QLatin1String("GraphVisible") || key == QLatin1String("TableVisible")) {
        const std::optional<bool> on = boolOf(value);
        if (!on)
            return false;
        const bool graph = key == QLatin1String("GraphVisible");
        (graph ? t.GraphVisible : t.TableVisible) = *on;
        control_.changed(graph ? PrintPage::GraphLayer : PrintPage::TableLayer);
        return true;
    }
    if (auto length = lengthOf(key)) {
        const std::optional<double> number = numberOf(value);
        if (!number)
            return false;
        t.*length = *number;
        control_.changed(key.startsWith(QLatin1Char('g')) ? PrintPage::GraphLayer : PrintPage::TableLayer);
        return true;
    }
    if (key == QLatin1String("tCols")) {
        const std::optional<double> number = numberOf(value);
        if (!number || *number < 1 || *number != int(*number))
            return false;
        t.TableCols = int(*number);
        control_.changed(PrintPage::TableLayer);
        return true;
    }
    clsTz4PrintLabel* label = control_.selectedLabel();
    if (!row.labelRow || !label)
        return false;
    if (key == QLatin1String("lBind")) {
        const std::optional<bool> on = boolOf(value);
        if (!on)
            return false;
        label->setBinding(*on);
    } else if (key == QLatin1String("lBindNum")) {
        const std::optional<double> number = numberOf(value);
        if (!number || *number != int(*number) || *number < 0 || *number >= binding::Count)
            return false;
        label->setBindingNumber(int(*number));
    } else if (key == QLatin1String("lValue")) {
        label->setValue(value.toString());
    } else if (key == QLatin1String("lFormat")) {
        label->setFormatString(value.toString());
    } else if (key == QLatin1String("lFCap")) {
        label->setForeCaption(value.toString());
    } else if (key == QLatin1String("lBCap")) {
        label->setBackCaption(value.toString());
    } else if (key == QLatin1String("lLeft") || key == QLatin1String("lTop")) {
        const std::optional<double> number = numberOf(value);
        if (!number)
            return false;
        if (key == QLatin1String("lLeft"))
            label->setMmLeft(float(*number));
        else
            label->setMmTop(float(*number));
    } else {
        return false;
    }
    control_.changed(PrintPage::LabelLayer);
    return true;
}

QFont PrintGridModel::fontOf(int row) const
{
    const QString key = keyOf(row);
    if (key == QLatin1String("gFont"))
        return control_.templ().graphFont();
    if (key == QLatin1String("tFont"))
        return control_.templ().tableFont();
    if (key == QLatin1String("lFont") && control_.selectedLabel())
        return control_.selectedLabel()->Font();
    return {};
}

bool PrintGridModel::setFont(int row, const QFont& font)
{
    const QString key = keyOf(row);
    if (key == QLatin1String("gFont")) {
        control_.templ().setGraphFont(font);
        control_.changed(PrintPage::GraphLayer);
    } else if (key == QLatin1String("tFont")) {
        control_.templ().setTableFont(font);
        control_.changed(PrintPage::TableLayer);
    } else if (key == QLatin1String("lFont") && control_.selectedLabel()) {
        control_.selectedLabel()->setFont(font);
        control_.changed(PrintPage::LabelLayer);
    } else {
        return false;
    }
    refreshValues();
    return true;
}

bool PrintGridModel::PushButton(int row)
{
    const QString key = keyOf(row);
    if (key == QLatin1String("NewLabel")) {
        control_.NewLabel();
        return true;
    }
    if (key == QLatin1String("Save"))
        return control_.Save() != TemplateSaved::Failed;
    return false;
}

int PrintGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int PrintGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant PrintGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= rows_.size())
        return {};
    const Row& row = rows_[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? GetRes(row.titleId) : value(row);
    case Qt::EditRole: {
        if (index.column() == 0)
            return GetRes(row.titleId);
        if (row.type == BoolList)
            return boolItems().indexOf(value(row).toString());
        if (row.type == BindingList)
            return control_.selectedLabel() ? control_.selectedLabel()->BindingNumber() : 0;
        return value(row);
    }
    case Qt::AccessibleTextRole:
        return index.column() == 0 ? GetRes(row.titleId) : value(row);
    case EditTypeRole: return int(row.type);
    case ListItemRole:
        if (row.type == BoolList)
            return boolItems();
        if (row.type == BindingList)
            return binding::titles();
        return {};
    case KeyRole: return row.key;
    case FontRole: return fontOf(index.row());
    default: return {};
    }
}

bool PrintGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 1 || role != Qt::EditRole)
        return false;
    return ValidateEdit(index.row(), value);
}

Qt::ItemFlags PrintGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || size_t(index.row()) >= rows_.size())
        return Qt::NoItemFlags;
    const Row& row = rows_[size_t(index.row())];
    if (row.labelRow && !control_.selectedLabel())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 1 && (row.type == Text || row.type == BoolList || row.type == BindingList))
        flags |= Qt::ItemIsEditable;
    return flags;
}

} // namespace tz4
