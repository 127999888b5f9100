#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

class QTabBar;

namespace tz4 {
class ParameterGridModel;
}

namespace tz4::gui {

// Edits a grid value with the editor its row asks for: a list to pick from, or plain text.
class ParameterDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

// The parameter grid: the "Meas", "Disp" and "Data" tabs over the two-column grid. Colour
// rows open a colour dialog when their value is clicked.
class ParameterGridView final : public QWidget {
    Q_OBJECT

public:
    ParameterGridView(ParameterGridModel& model, QWidget* parent = nullptr);

    QTabBar* tabs() const { return tabs_; }
    QTableView* table() const { return table_; }
    // Chooses a colour for a colour row, starting at the current one (0x00BBGGRR); a negative
    // answer keeps the colour. The platform's colour dialog unless replaced.
    void setColourChooser(std::function<qint32(qint32)> chooser) { chooseColour_ = std::move(chooser); }

private:
    void pushEditButton(const QModelIndex& index);

    ParameterGridModel& model_;
    QTabBar* tabs_;
    QTableView* table_;
    std::function<qint32(qint32)> chooseColour_;
};

} // namespace tz4::gui
