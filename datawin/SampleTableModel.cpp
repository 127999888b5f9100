#include "datawin/SampleTableModel.h"

#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSets.h"

namespace tz4 {

namespace {

bool scanned(const clsTz4DataSet& record)
{
    return record.Kind() == clsTz4DataSet::KindW || record.Kind() == clsTz4DataSet::KindL;
}

} // namespace

SampleTableModel::SampleTableModel(clsTz4DataSets& records, QObject* parent)
    : QAbstractTableModel(parent), records_(records)
{
    MakeSampleTable();
}

int SampleTableModel::longest() const
{
    int most = 0;
    for (const clsTz4DataSet& record : records_)
        most = std::max(most, record.DataCount());
    return most;
}

void SampleTableModel::MakeSampleTable()
{
    beginResetModel();
    rows_ = longest();
    columns_ = 1 + 2 * records_.Count();
    endResetModel();
}

void SampleTableModel::pointAdded(int row)
{
    if (row < 0 || 1 + 2 * records_.Count() != columns_) {
        MakeSampleTable();
        return;
    }
    if (row >= rows_) {
        beginInsertRows({}, rows_, row);
        rows_ = row + 1;
        endInsertRows();
        return;
    }
    emit dataChanged(index(row, 0), index(row, columns_ - 1));
}

const clsTz4DataSet* SampleTableModel::recordOfColumn(int column) const
{
    if (column < 1 || column >= columns_)
        return nullptr;
    return records_.Item((column - 1) / 2 + 1);
}

bool SampleTableModel::xAt(int row, int column, float* x) const
{
    const clsTz4DataSet* record = recordOfColumn(column);
    if (!record || row < 0 || row >= record->DataCount())
        return false;
    *x = record->ValueX(row);
    return true;
}

int SampleTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int SampleTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant SampleTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == 0)
        return index.row() + 1;
    const clsTz4DataSet* record = recordOfColumn(index.column());
    if (!record || index.row() >= record->DataCount())
        return {};
    if (index.column() % 2 == 1)
        return formatNumber(record->OrgValueX(index.row()), scanned(*record) ? QStringLiteral("0.00") : QStringLiteral("###0"));
    return formatNumber(record->OrgValueY(index.row()), QStringLiteral("###0.0"));
}

QVariant SampleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return GetRes(msg::TablePointNumber);
    const clsTz4DataSet* record = recordOfColumn(section);
    if (!record)
        return {};
    if (section % 2 == 1)
        return record->Parameters(param::SampleName).toString()
            + (scanned(*record) ? QStringLiteral(" [eV]") : QStringLiteral(" [No.]"));
    return record->Kind() == clsTz4DataSet::KindL ? QStringLiteral("[nW]") : QStringLiteral("[cps]");
}

} // namespace tz4
