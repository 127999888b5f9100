#include "gui/samples/SampleItemView.h"
#include "gui/samples/SampleIcons.h"

#include "core/Keys.h"
#include "samples/SampleItemRoles.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>

namespace tz4::gui {

SampleItemDelegate::SampleItemDelegate(QTreeView* view) : QStyledItemDelegate(view), view_(view) {}

void SampleItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QString image = index.data(ImageRole).toString();
    if (image.isEmpty())
        return;
    // A node shows its expanded picture while open, its selected one while chosen.
    QString shown = image;
    if ((option->state & QStyle::State_Selected) && !index.data(SelectedImageRole).toString().isEmpty())
        shown = index.data(SelectedImageRole).toString();
    else if (view_->isExpanded(index) && !index.data(ExpandedImageRole).toString().isEmpty())
        shown = index.data(ExpandedImageRole).toString();
    option->icon = sampleIcon(shown);
    option->features |= QStyleOptionViewItem::HasDecoration;
}

void SampleItemDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        emit renamed(index.data(KeyRole).toString(), index.data().toString(), line->text());
}

SampleItemView::SampleItemView(QWidget* parent) : QTreeView(parent)
{
    setItemDelegate(new SampleItemDelegate(this));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    // A drop lands on an entry, never between two.
    setDragDropOverwriteMode(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setUniformRowHeights(true);
}

void SampleItemView::setEmptyArea(const QString& key, const QString& text)
{
    emptyKey_ = key;
    emptyText_ = text;
}

QString SampleItemView::keyOf(const QModelIndex& index) const
{
    return index.isValid() ? index.siblingAtColumn(0).data(KeyRole).toString() : QString();
}

QString SampleItemView::keyAt(const QPoint& viewportPos) const { return keyOf(indexAt(viewportPos)); }

QStringList SampleItemView::selectedKeys() const
{
    // In list order: the list is flat, the tree selects one node.
    QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList keys;
    for (const QModelIndex& row : rows)
        keys << keyOf(row);
    if (keys.isEmpty() && currentIndex().isValid())
        keys << keyOf(currentIndex());
    return keys;
}

QString SampleItemView::dragHint(bool copy, const QString& targetText)
{
    return QStringLiteral("[") + (copy ? QStringLiteral("Copy") : QStringLiteral("Move")) + QStringLiteral("] (")
        + targetText + QLatin1Char(')');
}

QStringList SampleItemView::draggedKeys(const QMimeData* data)
{
    return data ? splitKeyList(QString::fromUtf8(data->data(kDragKeysMimeType))) : QStringList();
}

QString SampleItemView::targetAt(const QPoint& viewportPos, QString* text) const
{
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid()) {
        *text = emptyText_;
        return emptyKey_;
    }
    *text = index.siblingAtColumn(0).data().toString();
    return keyOf(index);
}

void SampleItemView::startDrag(Qt::DropActions)
{
    QModelIndexList dragged;
    for (const QModelIndex& index : selectedIndexes())
        if (index.flags() & Qt::ItemIsDragEnabled)
            dragged << index;
    if (dragged.isEmpty())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(model()->mimeData(dragged));
    drag->setPixmap(sampleIcon(dragged.first().siblingAtColumn(0).data(ImageRole).toString()).pixmap(16, 16));
    drag->setDragCursor(dragPointer(true), Qt::CopyAction);
    drag->setDragCursor(dragPointer(false), Qt::MoveAction);
    // The window carries out the drop; the views are rebuilt from the database afterwards.
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

void SampleItemView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasFormat(kDragKeysMimeType)) {
        event->ignore();
        return;
    }
    QTreeView::dragEnterEvent(event);
    event->accept();
}

void SampleItemView::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeView::dragMoveEvent(event);
    const QPoint at = event->position().toPoint();
    QString text;
    const QString target = targetAt(at, &text);
    const bool copy = event->modifiers() & Qt::ControlModifier;
    const QStringList keys = draggedKeys(event->mimeData());
    if (target.isEmpty() || keys.isEmpty() || !judge_ || !judge_(target, keys, copy)) {
        event->ignore();
        emit hintChanged(QString());
        return;
    }
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    emit hintChanged(dragHint(copy, text));
}

void SampleItemView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QTreeView::dragLeaveEvent(event);
    emit hintChanged(QString());
}

void SampleItemView::endDrag()
{
    QDragLeaveEvent leave;
    QTreeView::dragLeaveEvent(&leave);
    emit hintChanged(QString());
}

void SampleItemView::dropEvent(QDropEvent* event)
{
    QString text;
    const QString target = targetAt(event->position().toPoint(), &text);
    const QStringList keys = draggedKeys(event->mimeData());
    const bool copy = event->modifiers() & Qt::ControlModifier;
    endDrag();
    if (target.isEmpty() || keys.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    // Carried out once the drag has ended: the drop may ask or refuse in a message box.
    QMetaObject::invokeMethod(
        this, [this, target, keys, copy] { emit dropRequested(target, keys, copy); }, Qt::QueuedConnection);
}

void SampleItemView::contextMenuEvent(QContextMenuEvent* event)
{
    QString text;
    const QPoint at = viewport()->mapFromGlobal(event->globalPos());
    const QString key = targetAt(at, &text);
    if (!key.isEmpty())
        emit popupRequested(event->globalPos(), key);
    event->accept();
}

void SampleItemView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState
        && currentIndex().isValid()) {
        emit openRequested(keyOf(currentIndex()));
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void SampleItemView::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    emit focused();
}

} // namespace tz4::gui
