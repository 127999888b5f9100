#include "gui/samples/SampleGridView.h"

#include "samples/SampleGridModel.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

namespace tz4::gui {

namespace {

SampleGridModel::Edit editOf(const QModelIndex& index)
{
    return SampleGridModel::Edit(index.data(SampleGridModel::EditRole).toInt());
}

} // namespace

QWidget* SampleGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (editOf(index) == SampleGridModel::Edit::Choice) {
        auto* combo = new QComboBox(parent);
        combo->addItems(index.data(SampleGridModel::ChoicesRole).toStringList());
        return combo;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void SampleGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(index.data(Qt::EditRole).toInt());
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void SampleGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, combo->currentIndex());
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, line->text());
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

SampleGridView::SampleGridView(SampleGridModel& model, QWidget* parent) : QTableView(parent), model_(model)
{
    setModel(&model_);
    setItemDelegate(new SampleGridDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    connect(&model_, &QAbstractItemModel::modelReset, this, &SampleGridView::placeButton);
    placeButton();
}

// The search button stands in the value cell of its row.
void SampleGridView::placeButton()
{
    button_ = nullptr;
    const int row = model_.rowOf(QStringLiteral("GoQuery"));
    setColumnWidth(0, fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    if (row < 0)
        return;
    const QModelIndex cell = model_.index(row, 1);
    button_ = new QPushButton(cell.data().toString());
    button_->setObjectName(QStringLiteral("btnGoQuery"));
    connect(button_, &QPushButton::clicked, this, &SampleGridView::searchRequested);
    setIndexWidget(cell, button_);
}

void SampleGridView::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (index.isValid()) {
        setCurrentIndex(index);
        emit popupRequested(event->globalPos(), index.row());
    }
    event->accept();
}

} // namespace tz4::gui
