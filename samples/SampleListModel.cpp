#include "samples/SampleListModel.h"

#include "core/Formats.h"
#include "core/Keys.h"
#include "data/SampleListing.h"
#include "samples/SampleItemRoles.h"

#include <QFileInfo>
#include <QHash>
#include <QMimeData>
#include <QScopeGuard>

#include <algorithm>

namespace tz4 {

namespace {

struct KindShown {
    const char* letter;
    const char* image;
    const char* type;
    int hiddenBy;
};

// By Setting.Modes.
const KindShown kKinds[] = {
    {"W", "Graph", "Work Function", dispflag::WorkFunction},
    {"C", "Scope", "Thickness･Counting Rate", dispflag::Thickness},
    {"L", "Light", "Quantity of light correction coefficient", dispflag::LightCorrection},
    {"D", "Books", "Calibration Data", dispflag::CalibrationData},
    {"T", "Boxs", "Calibration Line", dispflag::CalibrationLine},
};

const char* const kTemplateFolders[] = {"Work Function", "Thickness", "Light Adjust", "Calib. Data", "Calibllation"};

SampleListModel::Item folderItem(const FolderRow& row)
{
    return {makeKey(row.seqNo, QStringLiteral("F")), row.name.isNull() ? QStringLiteral("Name None") : row.name.toString(),
            QStringLiteral("CloseFolder"), QStringLiteral("Folder"), false, {}, {}};
}

// The rows of one tree node, less what the display flags hide.
struct NodeItems {
    int dispFlags = 0;
    QList<SampleListModel::Item> items;
    bool templateDates = false;

    void folders(const QList<FolderRow>& rows)
    {
        if (dispFlags & dispflag::Folders)
            return;
        for (const FolderRow& row : rows)
            items << folderItem(row);
    }

    void records(const QList<RecordRow>& rows)
    {
        for (const RecordRow& row : rows) {
            if (row.modes < 0 || row.modes > 4 || (dispFlags & kKinds[row.modes].hiddenBy))
                continue;
            const KindShown& kind = kKinds[row.modes];
            items << SampleListModel::Item{makeKey(row.seqNo, QLatin1String(kind.letter)), row.sampleName,
                                           QLatin1String(kind.image), QString::fromUtf8(kind.type), true,
                                           row.measLight, row.dataTime};
        }
    }

    // The print folder holds a folder per record mode; each of those its templates.
    void printFolder(SampleListing& listing, qint32 number)
    {
        if (dispFlags & dispflag::Printer)
            return;
        templateDates = true;
        if (number == 1) {
            for (int i = 0; i < 5; ++i)
                items << SampleListModel::Item{makeKey(i + 2, QStringLiteral("P")), QString::fromUtf8(kTemplateFolders[i]),
                                               QStringLiteral("Printer"), {}, false, {}, {}};
        } else if (number >= 2 && number <= 6) {
            for (const TemplateRow& row : listing.templates(number - 2))
                items << SampleListModel::Item{makeKey(row.seqNo, QStringLiteral("K")), row.name,
                                               row.isDefault ? QStringLiteral("Printer") : QStringLiteral("NoPrint"),
                                               QStringLiteral("印刷ﾃﾝﾌﾟﾚｰﾄ"), false, {}, row.date};
        }
    }

    // The root: its folders and records, then the query and print nodes.
    void root(SampleListing& listing)
    {
        folders(listing.folders(0, false));
        records(listing.records(0));
        if (!(dispFlags & dispflag::Search))
            items << SampleListModel::Item{QStringLiteral("1 Q"), QStringLiteral("Query"), QStringLiteral("Query"), {}, false, {}, {}};
        if (!(dispFlags & dispflag::Printer))
            items << SampleListModel::Item{QStringLiteral("1 P"), QStringLiteral("Printer"), QStringLiteral("PrintFolder"), {}, false, {}, {}};
    }
};

} // namespace

SampleListModel::SampleListModel(QObject* parent) : QAbstractTableModel(parent) {}

void SampleListModel::MakeList()
{
    if (building_ || parentKey_.isEmpty() || !QFileInfo::exists(dataBaseFile_))
        return;
    building_ = true;
    const auto done = qScopeGuard([this] { building_ = false; });

    NodeItems node{dispFlags_, {}, false};
    SampleListing listing(dataBaseFile_);
    const QString type = GetKeyType(parentKey_);
    const qint32 number = GetKeySeq(parentKey_);
    if (type == QLatin1String("A")) {
        node.root(listing);
    } else if (type == QLatin1String("F")) {
        node.folders(listing.folders(number, false));
        node.records(listing.records(number));
    } else if (type == QLatin1String("R")) {
        node.folders(listing.trashedFolders());
        node.records(listing.trashedRecords());
    } else if (type == QLatin1String("Q")) {
        if (!(dispFlags_ & dispflag::Folders))
            node.records(listing.search(queryString_));
    } else if (type == QLatin1String("P")) {
        node.printFolder(listing, number);
    }
    beginResetModel();
    items_ = std::move(node.items);
    templateDates_ = node.templateDates;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, DateColumn, DateColumn);
}

QString SampleListModel::recordTypeText(int modes)
{
    return modes >= 0 && modes <= 4 ? QString::fromUtf8(kKinds[modes].type) : QString();
}

QString SampleListModel::keyOf(int row) const
{
    return row >= 0 && row < items_.size() ? items_.at(row).key : QString();
}

int SampleListModel::rowOfKey(const QString& key) const
{
    const QString wanted = makeKey(GetKeySeq(key), GetKeyType(key));
    for (qsizetype i = 0; i < items_.size(); ++i)
        if (items_.at(i).key == wanted)
            return int(i);
    return -1;
}

QString SampleListModel::dragKeyList(const QModelIndexList& selected) const
{
    QList<int> rows;
    for (const QModelIndex& index : selected)
        if (index.isValid() && !rows.contains(index.row()))
            rows << index.row();
    std::sort(rows.begin(), rows.end());
    QStringList keys;
    for (const int row : rows)
        keys << keyOf(row);
    return joinKeyList(keys);
}

int SampleListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(items_.size());
}

int SampleListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant SampleListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= items_.size())
        return {};
    const Item& item = items_.at(index.row());
    if (role == KeyRole)
        return item.key;
    if (role == ImageRole)
        return index.column() == NameColumn ? QVariant(item.image) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case NameColumn:
        return item.text;
    case TypeColumn:
        return item.type;
    case LightColumn:
        if (!item.record)
            return QString();
        return item.light.isNull() ? QStringLiteral("0.0nW")
                                   : formatNumber(item.light.toDouble(), QStringLiteral("##0.0")) + QStringLiteral("nW");
    case DateColumn:
        if (item.date.isValid())
            return generalDate(item.date);
        return item.record ? QStringLiteral("Measure Date None") : QString();
    default:
        return {};
    }
}

QVariant SampleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return QStringLiteral("Names");
    case TypeColumn:
        return QStringLiteral("Types");
    case LightColumn:
        return QStringLiteral("Lights");
    case DateColumn:
        return templateDates_ ? QStringLiteral("作成日時") : QStringLiteral("Dates");
    default:
        return {};
    }
}

Qt::ItemFlags SampleListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    const QString type = GetKeyType(items_.at(index.row()).key);
    // The search item and the print folders keep their names.
    if (type != QLatin1String("P") && type != QLatin1String("Q")) {
        f |= Qt::ItemIsDragEnabled;
        if (index.column() == NameColumn)
            f |= Qt::ItemIsEditable;
    }
    return f;
}

void SampleListModel::sort(int column, Qt::SortOrder order)
{
    // Entries without a light or a date (folders, the search and print items) come last.
    const auto less = [column](const Item& a, const Item& b) {
        switch (column) {
        case TypeColumn:
            return a.type.compare(b.type) < 0;
        case LightColumn:
            if (a.record != b.record)
                return a.record;
            return a.light.toDouble() < b.light.toDouble();
        case DateColumn:
            if (a.date.isValid() != b.date.isValid())
                return a.date.isValid();
            return a.date < b.date;
        default:
            return a.text.compare(b.text) < 0;
        }
    };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selections and the current item follow their entries to their new rows.
    const QModelIndexList before = persistentIndexList();
    QStringList keysBefore;
    for (const QModelIndex& index : before)
        keysBefore << items_.at(index.row()).key;
    if (order == Qt::AscendingOrder)
        std::stable_sort(items_.begin(), items_.end(), less);
    else
        std::stable_sort(items_.begin(), items_.end(), [&](const Item& a, const Item& b) { return less(b, a); });
    QHash<QString, int> rowOf;
    for (qsizetype i = 0; i < items_.size(); ++i)
        rowOf.insert(items_.at(i).key, int(i));
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOf.value(keysBefore.at(i)), before.at(i).column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QStringList SampleListModel::mimeTypes() const
{
    return {kDragKeysMimeType};
}

QMimeData* SampleListModel::mimeData(const QModelIndexList& indexes) const
{
    auto* mime = new QMimeData;
    mime->setData(kDragKeysMimeType, dragKeyList(indexes).toUtf8());
    return mime;
}

Qt::DropActions SampleListModel::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

} // namespace tz4
