#include "samples/FatTreeModel.h"

#include "core/Keys.h"
#include "data/SampleListing.h"
#include "samples/SampleItemRoles.h"

#include <QFileInfo>
#include <QMimeData>
#include <QScopeGuard>
#include <QSet>

namespace tz4 {

struct FatTreeModel::Node {
    QString key;
    QString text;
    QString image;
    QString expandedImage;
    QString selectedImage;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;

    Node* add(const QString& childKey, const QString& childText, const QString& picture, const QString& expanded = {},
              const QString& selected = {})
    {
        auto child = std::make_unique<Node>();
        child->key = childKey;
        child->text = childText;
        child->image = picture;
        child->expandedImage = expanded.isEmpty() ? picture : expanded;
        child->selectedImage = selected.isEmpty() ? picture : selected;
        child->parent = this;
        children.push_back(std::move(child));
        return children.back().get();
    }

    int row() const
    {
        if (!parent)
            return 0;
        for (size_t i = 0; i < parent->children.size(); ++i)
            if (parent->children[i].get() == this)
                return int(i);
        return 0;
    }
};

namespace {

const QString kCloseFolder = QStringLiteral("CloseFolder");
const QString kOpenFolder = QStringLiteral("OpenFolder");

QString folderText(const FolderRow& row)
{
    return row.name.isNull() ? QStringLiteral("Name None") : row.name.toString();
}

// The sub-folders of a folder; a folder listed under the trash shows what it still holds live.
void addChildren(SampleListing& listing, FatTreeModel::Node* node, qint32 folder, QSet<qint32>& seen)
{
    if (seen.contains(folder))
        return; // a stored loop would never end
    seen.insert(folder);
    const bool inTrash = GetKeyType(node->key) == QLatin1String("R");
    for (const FolderRow& row : listing.folders(folder, inTrash)) {
        FatTreeModel::Node* child =
            node->add(makeKey(row.seqNo, QStringLiteral("F")), folderText(row), kCloseFolder, kCloseFolder, kOpenFolder);
        addChildren(listing, child, row.seqNo, seen);
    }
}

} // namespace

FatTreeModel::FatTreeModel(QObject* parent) : QAbstractItemModel(parent), root_(std::make_unique<Node>()) {}

FatTreeModel::~FatTreeModel() = default;

void FatTreeModel::MakeList()
{
    if (building_ || !QFileInfo::exists(dataBaseFile_))
        return;
    building_ = true;
    const auto done = qScopeGuard([this] { building_ = false; });
    auto root = std::make_unique<Node>();
    Node* desktop = root->add(QStringLiteral("1 A"), QStringLiteral("TZ4 DeskTop"), kCloseFolder, kOpenFolder);
    SampleListing listing(dataBaseFile_);
    if (!(dispFlags_ & dispflag::Folders)) {
        for (const FolderRow& row : listing.folders(0, false)) {
            QSet<qint32> seen;
            Node* child = desktop->add(makeKey(row.seqNo, QStringLiteral("F")), folderText(row), kCloseFolder, kOpenFolder);
            addChildren(listing, child, row.seqNo, seen);
        }
    }
    if (!(dispFlags_ & dispflag::Search))
        desktop->add(QStringLiteral("1 Q"), QStringLiteral("Query"), QStringLiteral("Query"));
    if (!(dispFlags_ & dispflag::Printer)) {
        Node* printer = desktop->add(QStringLiteral("1 P"), QStringLiteral("Printer"), QStringLiteral("PrintFolder"));
        const char* const folders[] = {"Work Function", "Thickness", "Light Adjust", "Calib. Datas", "Calibllation"};
        for (int i = 0; i < 5; ++i)
            printer->add(makeKey(i + 2, QStringLiteral("P")), QString::fromUtf8(folders[i]), QStringLiteral("Printer"));
    }
    if (!(dispFlags_ & dispflag::Trash)) {
        Node* trash = desktop->add(QStringLiteral("1 R"), QStringLiteral("Recycle"), QStringLiteral("Recycle2"));
        for (const FolderRow& row : listing.trashedFolders()) {
            QSet<qint32> seen;
            Node* child = trash->add(makeKey(row.seqNo, QStringLiteral("F")), folderText(row), kCloseFolder, kOpenFolder);
            addChildren(listing, child, row.seqNo, seen);
        }
    }
    beginResetModel();
    root_ = std::move(root);
    endResetModel();
    CheckTrushFull();
}

void FatTreeModel::CheckTrushFull()
{
    Node* trash = find(root_.get(), QStringLiteral("1 R"));
    if (!trash || !QFileInfo::exists(dataBaseFile_))
        return;
    const QString picture = SampleListing(dataBaseFile_).trashIsEmpty() ? QStringLiteral("Recycle2") : QStringLiteral("RecycleFull2");
    trash->image = trash->expandedImage = trash->selectedImage = picture;
    const QModelIndex at = indexOfKey(QStringLiteral("1 R"));
    emit dataChanged(at, at, {ImageRole, ExpandedImageRole, SelectedImageRole});
}

FatTreeModel::Node* FatTreeModel::find(Node* node, const QString& key) const
{
    if (node->key == key)
        return node;
    for (const auto& child : node->children)
        if (Node* found = find(child.get(), key))
            return found;
    return nullptr;
}

QModelIndex FatTreeModel::indexOfKey(const QString& key) const
{
    Node* node = find(root_.get(), makeKey(GetKeySeq(key), GetKeyType(key)));
    return node && node != root_.get() ? createIndex(node->row(), 0, node) : QModelIndex();
}

QString FatTreeModel::keyOf(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->key : QString();
}

FatTreeModel::Node* FatTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QModelIndex FatTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex FatTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    Node* parentNode = nodeOf(child)->parent;
    if (!parentNode || parentNode == root_.get())
        return {};
    return createIndex(parentNode->row(), 0, parentNode);
}

int FatTreeModel::rowCount(const QModelIndex& parent) const
{
    return parent.column() > 0 ? 0 : int(nodeOf(parent)->children.size());
}

int FatTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FatTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node* node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return node->text;
    case KeyRole:
        return node->key;
    case ImageRole:
        return node->image;
    case ExpandedImageRole:
        return node->expandedImage;
    case SelectedImageRole:
        return node->selectedImage;
    default:
        return {};
    }
}

Qt::ItemFlags FatTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    const QString type = GetKeyType(nodeOf(index)->key);
    // The search and print-template nodes cannot be renamed; only folders are dragged.
    if (type == QLatin1String("F")) {
        f |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
    }
    return f;
}

QStringList FatTreeModel::mimeTypes() const
{
    return {kDragKeysMimeType};
}

QMimeData* FatTreeModel::mimeData(const QModelIndexList& indexes) const
{
    QStringList keys;
    for (const QModelIndex& index : indexes)
        if (index.isValid())
            keys << nodeOf(index)->key;
    auto* mime = new QMimeData;
    mime->setData(kDragKeysMimeType, joinKeyList(keys).toUtf8());
    return mime;
}

Qt::DropActions FatTreeModel::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

} // namespace tz4
