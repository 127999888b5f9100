#pragma once

#include <QAbstractTableModel>
#include <QFont>

#include <vector>

namespace tz4 {

class PrintControl;

// The property grid of the print window (MakeGridList) as a two-column table model (title,
// value): the template's name and date, the paper, the graph's and the table's rectangles and
// fonts, the number of column groups, and the selected label's binding, texts, format, font
// and position. Each row has a key; an edit goes through ValidateEdit, which refuses a
// non-numeric length, and changes the template in memory until it is saved.
class PrintGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Roles { EditTypeRole = Qt::UserRole + 1, ListItemRole, KeyRole, FontRole };
    // How a row's value is edited.
    enum EditType { ReadOnly, Text, BoolList, BindingList, FontButton, Button };

    explicit PrintGridModel(PrintControl& control, QObject* parent = nullptr);

    void MakeGridList();
    int rowOf(const QString& key) const;
    QString keyOf(int row) const;
    EditType editType(int row) const;

    // Writes an edited value (text, or a list position for a list row); false when refused.
    bool ValidateEdit(int row, const QVariant& value);
    // The font of a font row, and its new font as the font dialog chose it.
    QFont fontOf(int row) const;
    bool setFont(int row, const QFont& font);
    // A button row: "NewLabel" adds a label, "Save" stores the template.
    bool PushButton(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        QString key;
        int titleId;
        QString format; // number picture of a length
        EditType type;
        bool labelRow;
    };

    QVariant value(const Row& row) const;
    bool write(const Row& row, const QVariant& value);
    void refreshValues();

    PrintControl& control_;
    std::vector<Row> rows_;
};

} // namespace tz4
