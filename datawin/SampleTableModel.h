#pragma once

#include <QAbstractTableModel>

namespace tz4 {

class clsTz4DataSet;
class clsTz4DataSets;

// The points of a data window's records side by side: a point-number column, then the X and
// Y of each record as measured. A point added during a measurement inserts or updates one
// row only, so the cost of a live point does not grow with the points already there.
class SampleTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit SampleTableModel(clsTz4DataSets& records, QObject* parent = nullptr);

    // The records or their number changed: the table is built again.
    void MakeSampleTable();
    // Point `row` of a record was measured; -1 when the points were cleared.
    void pointAdded(int row);

    // The record behind a column (nullptr for the number column) and the X value of a cell.
    const clsTz4DataSet* recordOfColumn(int column) const;
    bool xAt(int row, int column, float* x) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int longest() const;

    clsTz4DataSets& records_;
    int rows_ = 0;
    int columns_ = 1;
};

} // namespace tz4
