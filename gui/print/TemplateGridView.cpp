#include "gui/print/TemplateGridView.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "print/PrintGridModel.h"

#include <QComboBox>
#include <QFontDialog>
#include <QHeaderView>
#include <QKeyEvent>

namespace tz4::gui {

namespace {

bool isList(const QModelIndex& index)
{
    const int type = index.data(PrintGridModel::EditTypeRole).toInt();
    return type == PrintGridModel::BoolList || type == PrintGridModel::BindingList;
}

} // namespace

QWidget* TemplateDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    if (!isList(index))
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->addItems(index.data(PrintGridModel::ListItemRole).toStringList());
    combo->setAccessibleName(index.siblingAtColumn(0).data().toString());
    return combo;
}

void TemplateDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(index.data(Qt::EditRole).toInt());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void TemplateDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        model->setData(index, combo->currentIndex(), Qt::EditRole);
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

TemplateGridView::TemplateGridView(PrintGridModel& model, QWidget* parent)
    : QTableView(parent), model_(model)
{
    chooseFont_ = [this](QFont& font) {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, font, this);
        if (ok)
            font = chosen;
        return ok;
    };
    setObjectName(QStringLiteral("TemplateGrid"));
    setAccessibleName(GetRes(msg::PrintTemplateProperties));
    setModel(&model_);
    setItemDelegate(new TemplateDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    connect(this, &QTableView::clicked, this, &TemplateGridView::push);
}

void TemplateGridView::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    const int type = current.isValid() ? model_.editType(current.row()) : PrintGridModel::ReadOnly;
    if ((type == PrintGridModel::FontButton || type == PrintGridModel::Button)
        && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        push(current.siblingAtColumn(1));
        return;
    }
    QTableView::keyPressEvent(event);
}

void TemplateGridView::push(const QModelIndex& index)
{
    if (index.column() != 1)
        return;
    switch (model_.editType(index.row())) {
    case PrintGridModel::FontButton: {
        QFont font = model_.fontOf(index.row());
        if (chooseFont_(font))
            model_.setFont(index.row(), font);
        break;
    }
    case PrintGridModel::Button: model_.PushButton(index.row()); break;
    default: break;
    }
}

} // namespace tz4::gui
