#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

namespace tz4 {

// The record list of the sample manager: the contents of the tree node named by ParentKey
// (folders, then records; the search result for "1 Q"; templates under the print folders),
// in four columns Names, Types, Lights, Dates. It reads the database named by DataBaseFile
// on MakeList and holds nothing but what it shows.
class SampleListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, TypeColumn, LightColumn, DateColumn };

    explicit SampleListModel(QObject* parent = nullptr);

    const QString& DataBaseFile() const { return dataBaseFile_; }
    void setDataBaseFile(const QString& path) { dataBaseFile_ = path; }
    int DispFlags() const { return dispFlags_; }
    void setDispFlags(int flags) { dispFlags_ = flags; }
    const QString& ParentKey() const { return parentKey_; }
    void setParentKey(const QString& key) { parentKey_ = key; }
    const QString& QueryString() const { return queryString_; }
    void setQueryString(const QString& where) { queryString_ = where; }

    // Rebuilds the list; a no-op without a database file or ParentKey, or while a rebuild runs.
    void MakeList();

    // The Types column's text of a record kind (Setting.Modes 0 to 4).
    static QString recordTypeText(int modes);

    QString keyOf(int row) const;
    int rowOfKey(const QString& key) const;
    // The drag key list of a selection: every selected key followed by a tab, in list order.
    QString dragKeyList(const QModelIndexList& selected) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;

    // Lights and dates are kept as values and written out only when a view asks for them, so
    // a folder of thousands of records lists at once.
    struct Item {
        QString key;
        QString text;
        QString image;
        QString type;
        bool record = false; // records show a light and a date, also when none is stored
        QVariant light;      // nW; null when not stored
        QDateTime date;      // invalid when not stored
    };

private:
    QString dataBaseFile_;
    int dispFlags_ = 0;
    QString parentKey_;
    QString queryString_;
    bool building_ = false;
    bool templateDates_ = false;
    QList<Item> items_;
};

} // namespace tz4
