#pragma once

#include "data/SearchQuery.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tz4 {

// The sample manager's property grid as a two-column table (title, value): the values of the
// selected record, or the search conditions with the button that runs the search. Record rows
// are read-only; search rows take typed text, dates, whole numbers and choices, and refuse
// what does not parse with a message, keeping the old value.
class SampleGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum class Mode { Empty, Record, Search };
    // How a value is edited.
    enum class Edit { ReadOnly, Text, Date, Whole, Choice, Button };
    enum Roles {
        RowKeyRole = Qt::UserRole + 40, // "SampleName", "AdjustName", "CalibData0", "QuerySample" ...
        EditRole,                       // Edit, as int
        ChoicesRole,                    // the choices of a Choice row, in order
        MemberRole,                     // CalibData rows: the member record's number
    };
    // The date rows' choices (QueryDate).
    enum DateLimit { NoDateLimit, DateRange, PastMonths, PastDays };

    explicit SampleGridModel(QObject* parent = nullptr);

    Mode mode() const { return mode_; }
    // The record shown; empty unless mode() is Record.
    const QString& recordKey() const { return recordKey_; }

    void clear();
    // The rows of stored record `key`; false (and an empty grid) when it cannot be read.
    bool showRecord(const QString& databasePath, const QString& key);
    // The search rows, with the conditions as last typed.
    void showSearch();

    // The conditions the search rows hold.
    SearchConditions conditions() const;
    void setConditions(const SearchConditions& conditions);

    int rowOf(const QString& key) const;
    QString keyOf(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        QString key;
        QString title;
        QString shown;
        Edit edit = Edit::ReadOnly;
        QStringList choices;
        qint32 member = 0;
    };
    void setRows(Mode mode, QList<Row> rows);
    QList<Row> searchRows() const;
    bool writeSearch(const QString& key, const QVariant& value);

    Mode mode_ = Mode::Empty;
    QString recordKey_;
    QList<Row> rows_;
    // The search conditions live on while the grid shows a record.
    SearchConditions conditions_;
    int dateLimit_ = NoDateLimit;
};

} // namespace tz4
