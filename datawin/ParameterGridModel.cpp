#include "datawin/ParameterGridModel.h"

#include "datawin/DataWindowControl.h"
#include "graph/GraphColor.h"

#include <QColor>

namespace tz4 {

ParameterGridModel::ParameterGridModel(DataWindowControl& window, QObject* parent)
    : QAbstractTableModel(parent), window_(window)
{
}

QString ParameterGridModel::tabKey(Tab tab)
{
    switch (tab) {
    case Meas: return QStringLiteral("Meas");
    case Disp: return QStringLiteral("Disp");
    case Data: return QStringLiteral("Data");
    }
    return {};
}

void ParameterGridModel::setTab(Tab tab)
{
    tab_ = tab;
    MakeParameterList();
}

int ParameterGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.Count();
}

int ParameterGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ParameterGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.Count())
        return {};
    const clsTz4GridData& row = rows_.Item(index.row());
    const bool valueColumn = index.column() == 1;
    switch (role) {
    case Qt::DisplayRole: return valueColumn ? row.displayText() : row.Title;
    case Qt::EditRole:
        if (!valueColumn)
            return row.Title;
        if (row.EditType == clsTz4GridData::EditList || row.EditType == clsTz4GridData::EditBoolList)
            return row.ListIndex;
        return row.displayText();
    case Qt::BackgroundRole:
        if (valueColumn && row.BackColor >= 0 && row.EditType != clsTz4GridData::EditButton)
            return colorFromBgr(row.BackColor);
        return {};
    case Qt::DecorationRole:
        // A colour row shows its colour as a swatch beside the button caption.
        if (valueColumn && row.EditType == clsTz4GridData::EditButton)
            return colorFromBgr(row.Value.toInt());
        return {};
    case Qt::ForegroundRole:
        if (valueColumn && row.ForeColor >= 0)
            return colorFromBgr(row.ForeColor);
        return {};
    case Qt::ToolTipRole: return row.Title;
    case EditTypeRole: return row.EditType;
    case ListItemRole: return row.ListItem;
    case KeyRole: return row.Key;
    case ColourRole: return row.EditType == clsTz4GridData::EditButton ? row.Value : QVariant();
    default: return {};
    }
}

bool ParameterGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 1)
        return false;
    if (ValidateEdit(index.row(), value))
        return true;
    // Refused: the view shows the old value again.
    emit dataChanged(index, index);
    return false;
}

Qt::ItemFlags ParameterGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 1 && editable(index.row()) && rows_.Item(index.row()).EditType != clsTz4GridData::EditButton)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ParameterGridModel::editable(int row) const
{
    if (row < 0 || row >= rows_.Count() || !rows_.Item(row).Editable)
        return false;
    // Display settings may change during a measurement; what the record says may not.
    return tab_ == Disp || !window_.settingsLocked(window_.selected());
}

} // namespace tz4
