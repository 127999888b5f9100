#pragma once

#include <QAbstractItemModel>
#include <QString>

#include <memory>
#include <vector>

namespace tz4 {

// The folder tree of the sample manager: the desktop root "1 A" with the live folders, the
// search node, the print-template folders and the trash. It reads the database named by
// DataBaseFile on MakeList and holds nothing but what it shows.
class FatTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit FatTreeModel(QObject* parent = nullptr);
    ~FatTreeModel() override;

    const QString& DataBaseFile() const { return dataBaseFile_; }
    void setDataBaseFile(const QString& path) { dataBaseFile_ = path; }
    int DispFlags() const { return dispFlags_; }
    void setDispFlags(int flags) { dispFlags_ = flags; }

    // Rebuilds the tree; a no-op when the file is missing or a rebuild is running. A failure
    // while reading leaves the tree as far as it got and is thrown.
    void MakeList();
    // Gives the trash node its full or empty picture.
    void CheckTrushFull();

    QModelIndex indexOfKey(const QString& key) const;
    QString keyOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;

    struct Node;

private:
    Node* nodeOf(const QModelIndex& index) const;
    Node* find(Node* node, const QString& key) const;

    QString dataBaseFile_;
    int dispFlags_ = 0;
    bool building_ = false;
    std::unique_ptr<Node> root_; // invisible; its one child is "1 A"
};

} // namespace tz4
