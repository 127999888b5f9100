#pragma once

#include <QStyledItemDelegate>
#include <QTreeView>

#include <functional>

namespace tz4::gui {

// Draws the tree's and the list's entries with the pictures their models name, and hands a
// finished label edit to the window instead of to the model: the window decides and stores.
class SampleItemDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit SampleItemDelegate(QTreeView* view);
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

signals:
    void renamed(const QString& key, const QString& oldName, const QString& newName) const;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QTreeView* view_;
};

// The folder tree or the record list of the sample manager. Entries are dragged with the
// keys they carry; while dragging over an entry the pointer shows a move or (with Ctrl) a
// copy, the entry is highlighted and a hint says what the drop will do; a drop that means
// nothing is shown as not allowed. The drop itself, pop-ups, renames and opening go to the
// window as signals.
class SampleItemView final : public QTreeView {
    Q_OBJECT

public:
    // Whether dropping `keys` on `targetKey` does anything (move or copy as `copy` says).
    using DropJudge = std::function<bool(const QString& targetKey, const QStringList& keys, bool copy)>;

    explicit SampleItemView(QWidget* parent = nullptr);

    void setDropJudge(DropJudge judge) { judge_ = std::move(judge); }
    // The key and text a drop or right click off every entry means: the list's own node.
    void setEmptyArea(const QString& key, const QString& text);

    QString keyAt(const QPoint& viewportPos) const;
    QString keyOf(const QModelIndex& index) const;
    // The selected entries' keys in their order; the current entry's alone when none is selected.
    QStringList selectedKeys() const;
    // The hint a drag shows over `targetKey` (text `targetText`).
    static QString dragHint(bool copy, const QString& targetText);
    // The keys a drag carries.
    static QStringList draggedKeys(const QMimeData* data);

signals:
    void dropRequested(const QString& targetKey, const QStringList& keys, bool copy);
    void hintChanged(const QString& hint);
    void popupRequested(const QPoint& globalPos, const QString& key);
    void openRequested(const QString& key);
    void focused();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // The target under a drag and its text; an empty key where nothing takes a drop.
    QString targetAt(const QPoint& viewportPos, QString* text) const;
    void endDrag();

    DropJudge judge_;
    QString emptyKey_;
    QString emptyText_;
};

} // namespace tz4::gui
