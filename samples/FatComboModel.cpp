#include "samples/FatComboModel.h"

#include "core/Keys.h"
#include "data/SampleListing.h"
#include "samples/SampleItemRoles.h"

#include <QFileInfo>
#include <QSet>

namespace tz4 {

namespace {

QString nameOf(const FolderRow& row)
{
    return row.name.isNull() ? QStringLiteral("Name None") : row.name.toString();
}

} // namespace

FatComboModel::FatComboModel(QObject* parent) : QAbstractListModel(parent) {}

void FatComboModel::MakeList()
{
    if (!QFileInfo::exists(dataBaseName_))
        return;
    SampleListing listing(dataBaseName_);
    QList<Entry> entries;
    QSet<qint32> seen;
    const std::function<void(qint32, int)> addChildren = [&](qint32 folder, int depth) {
        if (seen.contains(folder))
            return;
        seen.insert(folder);
        for (const FolderRow& row : listing.folders(folder, false)) {
            entries.append({row.seqNo, nameOf(row), depth});
            addChildren(row.seqNo, depth + 1);
        }
    };
    for (const FolderRow& row : listing.comboTopFolders()) {
        entries.append({row.seqNo, nameOf(row), 0});
        addChildren(row.seqNo, 1);
    }
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

QString FatComboModel::Path(int row) const
{
    if (row < 0 || row >= entries_.size() || !QFileInfo::exists(dataBaseName_))
        return {};
    return SampleListing(dataBaseName_).folderPath(entries_.at(row).seqNo);
}

QString FatComboModel::keyOf(int row) const
{
    return row >= 0 && row < entries_.size() ? makeKey(entries_.at(row).seqNo, QStringLiteral("F")) : QString();
}

int FatComboModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant FatComboModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= entries_.size())
        return {};
    const Entry& entry = entries_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return entry.text;
    case KeyRole:
        return makeKey(entry.seqNo, QStringLiteral("F"));
    case ImageRole:
        return QStringLiteral("SmallClose");
    case DepthRole:
        return entry.depth;
    default:
        return {};
    }
}

} // namespace tz4
