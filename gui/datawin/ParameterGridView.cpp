#include "gui/datawin/ParameterGridView.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "datawin/ParameterGridModel.h"
#include "graph/GraphColor.h"

#include <QColorDialog>
#include <QComboBox>
#include <QHeaderView>
#include <QTabBar>
#include <QVBoxLayout>

namespace tz4::gui {

namespace {

bool isList(const QModelIndex& index)
{
    const int type = index.data(ParameterGridModel::EditTypeRole).toInt();
    return type == clsTz4GridData::EditList || type == clsTz4GridData::EditBoolList;
}

} // namespace

QWidget* ParameterDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    if (!isList(index))
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->addItems(index.data(ParameterGridModel::ListItemRole).toStringList());
    return combo;
}

void ParameterDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(index.data(Qt::EditRole).toInt());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void ParameterDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        model->setData(index, combo->currentIndex(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

ParameterGridView::ParameterGridView(ParameterGridModel& model, QWidget* parent)
    : QWidget(parent), model_(model), tabs_(new QTabBar(this)), table_(new QTableView(this))
{
    chooseColour_ = [this](qint32 current) {
        const QColor chosen = QColorDialog::getColor(colorFromBgr(current), this);
        return chosen.isValid() ? bgrFromColor(chosen) : -1;
    };
    tabs_->addTab(GetRes(msg::TabMeasurement));
    tabs_->addTab(GetRes(msg::TabDisplay));
    tabs_->addTab(GetRes(msg::TabData));
    for (int tab = 0; tab < 3; ++tab)
        tabs_->setTabData(tab, ParameterGridModel::tabKey(ParameterGridModel::Tab(tab)));
    tabs_->setCurrentIndex(model_.tab());

    table_->setModel(&model_);
    table_->setItemDelegate(new ParameterDelegate(table_));
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(table_);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) { model_.setTab(ParameterGridModel::Tab(tab)); });
    connect(table_, &QTableView::clicked, this, &ParameterGridView::pushEditButton);
}

void ParameterGridView::pushEditButton(const QModelIndex& index)
{
    if (index.column() != 1 || index.data(ParameterGridModel::EditTypeRole).toInt() != clsTz4GridData::EditButton)
        return;
    const qint32 chosen = chooseColour_(index.data(ParameterGridModel::ColourRole).toInt());
    if (chosen >= 0)
        model_.PushEditButton(index.row(), chosen);
}

} // namespace tz4::gui
