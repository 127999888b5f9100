#pragma once

#include "datawin/GridData.h"

#include <QAbstractTableModel>

namespace tz4 {

class DataWindowControl;
class clsTz4DataSet;
class clsTz4GraphDisp;

// The parameter grid of a data window as a two-column table model (title, value) over the
// rows of one tab: "Meas" the settings of the record to be measured, "Disp" the graph's
// ranges and the display set of the selected record's mode, "Data" the selected record's
// results. An edit is written into the record or the display set, and on into the database
// for a stored record; a typed value that does not parse, or that the record refuses, leaves
// the old one.
class ParameterGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Roles { EditTypeRole = Qt::UserRole + 1, ListItemRole, KeyRole, ColourRole };
    enum Tab { Meas, Disp, Data };

    explicit ParameterGridModel(DataWindowControl& window, QObject* parent = nullptr);

    Tab tab() const { return tab_; }
    void setTab(Tab tab);
    static QString tabKey(Tab tab);

    // Rebuilds the rows for the tab and the selected record.
    void MakeParameterList();
    const clsTz4GridDatas& rows() const { return rows_; }
    int rowOf(const QString& key) const { return rows_.indexOf(key); }

    // Whether a row takes edits now.
    bool editable(int row) const;
    // Writes an edited value (text, or a list position) back; false when nothing was written.
    bool ValidateEdit(int row, const QVariant& value);
    // A colour row's new colour (0x00BBGGRR), as the colour dialog chose it.
    bool PushEditButton(int row, qint32 colour);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A value was written: the graph and the other views follow.
    void edited(const QString& key);

private:
    void addMeasRows(const clsTz4DataSet& record);
    void addDispRows(const clsTz4DataSet& record, clsTz4GraphDisp* disp);
    void addDataRows(const clsTz4DataSet& record, const clsTz4GraphDisp* disp);
    bool writeMeas(const QString& key, clsTz4DataSet& record, const QVariant& value, double number, bool isNumber);
    bool writeDisp(const QString& key, clsTz4GraphDisp* disp, const QVariant& value, double number, bool isNumber);
    bool writeData(const QString& key, clsTz4DataSet& record, clsTz4GraphDisp* disp, const QVariant& value,
                   double number, bool isNumber);
    void setPowerNumber(clsTz4DataSet& record, double number);
    static void setLogDisplay(clsTz4DataSet& record, bool on);
    static void followScan(clsTz4DataSet& record);
    void store(clsTz4DataSet* record, clsTz4GraphDisp* disp);

    DataWindowControl& window_;
    clsTz4GridDatas rows_;
    Tab tab_ = Meas;
    bool building_ = false;
};

} // namespace tz4
