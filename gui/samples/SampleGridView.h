#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

class QPushButton;

namespace tz4 {
class SampleGridModel;
}

namespace tz4::gui {

// Edits a search row with the editor it asks for: a list to choose from, else typed text that
// the model reads (and refuses with a message when it does not parse).
class SampleGridDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

// The sample manager's property grid: titles and values, the search button on the search
// rows, and a pop-up request on a right click.
class SampleGridView final : public QTableView {
    Q_OBJECT

public:
    SampleGridView(SampleGridModel& model, QWidget* parent = nullptr);

    // The search rows' button; nullptr while the grid shows no search.
    QPushButton* searchButton() const { return button_; }

signals:
    void searchRequested();
    void popupRequested(const QPoint& globalPos, int row);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void placeButton();

    SampleGridModel& model_;
    QPushButton* button_ = nullptr;
};

} // namespace tz4::gui
