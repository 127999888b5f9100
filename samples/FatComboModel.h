#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>

namespace tz4 {

// The folder combo: every top-level folder followed by its live sub-folders, indented one
// level per depth. Reads the database named by DataBaseName on MakeList.
class FatComboModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit FatComboModel(QObject* parent = nullptr);

    const QString& DataBaseName() const { return dataBaseName_; }
    void setDataBaseName(const QString& path) { dataBaseName_ = path; }

    void MakeList();
    // The folder path of the entry in `row`, top folder first, "\" between the names.
    QString Path(int row) const;
    QString keyOf(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Entry {
        qint32 seqNo;
        QString text;
        int depth;
    };
    QString dataBaseName_;
    QList<Entry> entries_;
};

} // namespace tz4
