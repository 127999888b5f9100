#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

namespace tz4 {
class PrintGridModel;
}

namespace tz4::gui {

// Edits a template row with the editor it asks for: a list for True/False and for the
// binding list, plain text otherwise.
class TemplateDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

// The print window's property grid. A click on a font row's value opens the font dialog, a
// click on a button row ("New Label", "Save Template") pushes it; so do Space and Enter.
class TemplateGridView final : public QTableView {
    Q_OBJECT

public:
    explicit TemplateGridView(PrintGridModel& model, QWidget* parent = nullptr);

    // Chooses a font starting at the current one; false when the user cancelled. The
    // platform's font dialog unless replaced.
    using FontChooser = std::function<bool(QFont& font)>;
    void setFontChooser(FontChooser choose) { chooseFont_ = std::move(choose); }

protected:
    // Space or Enter on a font or button row pushes it, as a click does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void push(const QModelIndex& index);

    PrintGridModel& model_;
    FontChooser chooseFont_;
};

} // namespace tz4::gui
