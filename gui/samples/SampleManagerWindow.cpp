#include "gui/samples/SampleManagerWindow.h"
#include "gui/samples/SampleGridView.h"
#include "gui/samples/SampleItemView.h"

#include "gui/datawin/DataWindowOpener.h"
#include "gui/mainwin/MainWindow.h"

#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/SampleOperations.h"
#include "samples/SampleItemRoles.h"
#include "samples/SampleManagerControl.h"
#include "samples/SampleTexts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace tz4::gui {

namespace {

// Widths of the list's columns in average characters: Names, Types, Lights, Dates.
constexpr int ColumnChars[] = {26, 22, 9, 20};
// Width of the tree and the grid in average characters.
constexpr int TreeChars = 40;

} // namespace

SampleManagerWindow::SampleManagerWindow(const QString& databasePath, MainWindow* frame, QWidget* parent)
    : QWidget(parent), frame_(frame)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QLatin1String(StateName));
    control_ = std::make_unique<SampleManagerControl>(databasePath, frame ? &frame->control() : nullptr);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    buildMenus(menuBar_);
    layout->setMenuBar(menuBar_);
    buildViews();
    buildPopups();
    connectViews();

    control_->FormLoad();
    tree_->expand(control_->tree().indexOfKey(QStringLiteral("1 A")));
    treeRebuilt();
    updateMeasurementMenu();
    resize(sizeHint());
    QGuiApplication::restoreOverrideCursor();
}

SampleManagerWindow::~SampleManagerWindow() = default;

QSize SampleManagerWindow::sizeHint() const
{
    const int character = fontMetrics().averageCharWidth();
    int listChars = 0;
    for (const int chars : ColumnChars)
        listChars += chars;
    return {character * (TreeChars + listChars + 4), fontMetrics().height() * 32};
}

void SampleManagerWindow::buildViews()
{
    tree_ = new SampleItemView(this);
    tree_->setObjectName(QStringLiteral("tz4Fat"));
    tree_->setAccessibleName(captionText(msg::MenuDataManager));
    tree_->setModel(&control_->tree());
    tree_->header()->hide();
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);

    list_ = new SampleItemView(this);
    list_->setObjectName(QStringLiteral("tz4List"));
    list_->setAccessibleName(QStringLiteral("Names"));
    list_->setModel(&control_->list());
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->header()->setSectionsClickable(true);
    list_->header()->setSortIndicatorShown(false);
    const int character = fontMetrics().averageCharWidth();
    for (int column = 0; column < 4; ++column)
        list_->setColumnWidth(column, ColumnChars[column] * character);

    grid_ = new SampleGridView(control_->grid(), this);
    grid_->setObjectName(QStringLiteral("tz4Grid"));
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("hint"));

    auto* left = new QSplitter(Qt::Vertical, this);
    left->addWidget(tree_);
    left->addWidget(grid_);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 2);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(list_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({character * TreeChars, character * 80});
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(split, 1);
    layout->addWidget(hint_);
    lastView_ = list_;
}

void SampleManagerWindow::connectViews()
{
    SampleManagerControl& c = *control_;
    const auto judge = [this](const QString& target, const QStringList& keys, bool copy) {
        return !control_->busy() && std::any_of(keys.begin(), keys.end(), [&](const QString& key) {
                   return dropHasEffect(target, key, copy);
               });
    };
    for (SampleItemView* view : {tree_, list_}) {
        view->setDropJudge(judge);
        connect(view, &SampleItemView::dropRequested, this, &SampleManagerWindow::dropOn);
        connect(view, &SampleItemView::hintChanged, hint_, &QLabel::setText);
        connect(view, &SampleItemView::focused, this, [this, view] {
            lastView_ = view;
            updateMenus();
        });
        connect(view, &SampleItemView::popupRequested, this,
                [this, view](const QPoint& at, const QString& key) { showItemPopup(at, key, view == list_); });
        connect(static_cast<SampleItemDelegate*>(view->itemDelegate()), &SampleItemDelegate::renamed, this,
                &SampleManagerWindow::renamed);
    }
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, &SampleManagerWindow::nodeChosen);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, &SampleManagerWindow::itemChosen);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SampleManagerWindow::updateMenus);
    connect(list_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) { openItems(list_->keyOf(index)); });
    connect(list_, &SampleItemView::openRequested, this, &SampleManagerWindow::openItems);
    connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        QHeaderView* header = list_->header();
        const Qt::SortOrder order = header->isSortIndicatorShown() && header->sortIndicatorSection() == column
                && header->sortIndicatorOrder() == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
        header->setSortIndicatorShown(true);
        header->setSortIndicator(column, order);
        control_->list().sort(column, order);
    });
    // Nodes keep their opened state across a rebuild.
    auto* expanded = new QStringList;
    connect(this, &QObject::destroyed, this, [expanded] { delete expanded; });
    connect(&c.tree(), &QAbstractItemModel::modelAboutToBeReset, this, [this, expanded] {
        expanded->clear();
        const std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
            for (int row = 0; row < control_->tree().rowCount(parent); ++row) {
                const QModelIndex index = control_->tree().index(row, 0, parent);
                if (tree_->isExpanded(index)) {
                    *expanded << control_->tree().keyOf(index);
                    walk(index);
                }
            }
        };
        walk({});
    });
    connect(&c.tree(), &QAbstractItemModel::modelReset, this, [this, expanded] {
        for (const QString& key : std::as_const(*expanded))
            tree_->expand(control_->tree().indexOfKey(key));
    });
    connect(&c, &SampleManagerControl::treeRebuilt, this, &SampleManagerWindow::treeRebuilt);
    connect(&c, &SampleManagerControl::undoChanged, this, &SampleManagerWindow::updateMenus);
    connect(&c, &SampleManagerControl::busyChanged, this, &SampleManagerWindow::updateMenus);
    connect(&c, &SampleManagerControl::progressed, hint_, &QLabel::setText);
    connect(&c.list(), &QAbstractItemModel::modelReset, this, [this] {
        list_->header()->setSortIndicatorShown(false);
        // The first entry is chosen after every rebuild.
        if (control_->list().rowCount() > 0) {
            quiet_ = true;
            list_->setCurrentIndex(control_->list().index(0, 0));
            quiet_ = false;
        }
        updateMenus();
    });
    connect(grid_, &SampleGridView::searchRequested, this, [this] {
        if (control_->GoQuery())
            treeRebuilt();
    });
    connect(grid_, &SampleGridView::popupRequested, this, &SampleManagerWindow::showGridPopup);
    if (frame_) {
        MainControl& main = frame_->control();
        connect(&main, &MainControl::connectPhaseChanged, this, &SampleManagerWindow::updateMeasurementMenu);
        connect(&main, &MainControl::connectAvailableChanged, this, &SampleManagerWindow::updateMeasurementMenu);
        connect(&main.action(), &RunningAction::changed, this, &SampleManagerWindow::updateMeasurementMenu);
        if (QAction* frameStatus = frame_->entry(QStringLiteral("mnuStatusBar")))
            connect(frameStatus, &QAction::toggled, entry(QStringLiteral("mnuStatusBar")), &QAction::setChecked);
    }
}

// After the tree was read again, the node the list shows is chosen in it without being
// listed a second time.
void SampleManagerWindow::treeRebuilt()
{
    const QModelIndex node = control_->tree().indexOfKey(control_->nodeKey());
    quiet_ = true;
    tree_->setCurrentIndex(node);
    quiet_ = false;
    const QString text = node.isValid() ? node.data().toString() : QString();
    list_->setEmptyArea(control_->nodeKey(), text);
    setWindowTitle(captionText(msg::MenuDataManager) + QStringLiteral(" - ") + text);
    updateMenus();
}

void SampleManagerWindow::showNode(const QString& key)
{
    const QModelIndex node = control_->tree().indexOfKey(key);
    if (!node.isValid())
        return;
    if (tree_->currentIndex() == node)
        nodeChosen();
    else
        tree_->setCurrentIndex(node);
}

void SampleManagerWindow::nodeChosen()
{
    if (quiet_)
        return;
    const QString key = tree_->keyOf(tree_->currentIndex());
    if (key.isEmpty())
        return;
    control_->NodeClick(key);
    treeRebuilt();
}

void SampleManagerWindow::itemChosen()
{
    if (quiet_)
        return;
    const QString key = list_->keyOf(list_->currentIndex());
    if (!key.isEmpty())
        control_->ItemClick(key);
    updateMenus();
}

void SampleManagerWindow::openItems(const QString& clicked)
{
    const SampleManagerControl::Opening opening = control_->OpenItems(list_->selectedKeys(), clicked);
    if (!opening.node.isEmpty())
        showNode(opening.node);
    else
        openRecords(opening.records);
}

void SampleManagerWindow::openRecords(const QStringList& keys)
{
    if (keys.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    openDataWindows(control_->databasePath(), keys, frame_ ? &frame_->control() : nullptr, [this](QWidget* window) {
        if (frame_)
            frame_->addChildWindow(window);
        else
            window->show();
    });
    QGuiApplication::restoreOverrideCursor();
}

void SampleManagerWindow::dropOn(const QString& target, const QStringList& keys, bool copy)
{
    control_->Drop(target, keys, copy);
    hint_->clear();
}

void SampleManagerWindow::renamed(const QString& key, const QString& oldName, const QString& newName)
{
    // Stored once the editor has closed: storing reads the list again, which removes the editor.
    if (newName != oldName)
        QMetaObject::invokeMethod(this, [this, key, newName] { control_->RenameItem(key, newName); }, Qt::QueuedConnection);
}

QStringList SampleManagerWindow::chosenKeys() const
{
    if (treeChosen())
        return {tree_->keyOf(tree_->currentIndex())};
    return list_->selectedKeys();
}

QString SampleManagerWindow::chosenKey() const
{
    if (treeChosen())
        return tree_->keyOf(tree_->currentIndex());
    const QStringList keys = list_->selectedKeys();
    const QString current = list_->keyOf(list_->currentIndex());
    return keys.contains(current) ? current : keys.value(0);
}

bool SampleManagerWindow::treeChosen() const { return lastView_ == tree_; }

void SampleManagerWindow::setPrintOpener(std::function<void(const QStringList&)> open)
{
    openPrint_ = std::move(open);
    updateMenus();
}

void SampleManagerWindow::closeWindow()
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void SampleManagerWindow::closeEvent(QCloseEvent* event)
{
    // Long work finishes first: an import or a repair is never cut off half-way.
    if (control_->busy()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        control_->work().finish();
        QGuiApplication::restoreOverrideCursor();
    }
    event->accept();
}

} // namespace tz4::gui
