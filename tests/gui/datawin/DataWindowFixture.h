#pragma once

#include "core/MessageCatalog.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "datawin/ParameterGridModel.h"
#include "gui/datawin/DataWindow.h"
#include "gui/datawin/ParameterGridView.h"
#include "gui/graph/GraphWidget.h"
#include "tests/support/ModelWatch.h"
#include "tests/mainwin/MainWindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTableView>
#include <QTest>

namespace tz4::test {

// Data windows on a fresh database and a connected simulated instrument in virtual time,
// driven by mouse and keys.
class DataWindowFixture : public MainWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(startWithDatabase());
        database = SystemParam().DatabasePath;
        reporter.shown.clear();
    }

    void TearDown() override
    {
        models.clear();
        delete window.data();
        MainWindowFixture::TearDown();
    }

    gui::DataWindow& open(const QString& keys, bool withInstrument = true)
    {
        window = new gui::DataWindow(database, keys, withInstrument ? main.get() : nullptr);
        models.clear();
        models.watch(&window->gridModel());
        models.watch(window->pointsTable()->model());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.data()));
        return *window;
    }

    void showTab(ParameterGridModel::Tab tab)
    {
        QTabBar* tabs = window->grid()->tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        ASSERT_EQ(window->gridModel().tab(), tab);
    }

    // What the grid shows in the value column of a row.
    QString shown(const QString& key)
    {
        const int row = window->gridModel().rowOf(key);
        return row < 0 ? QStringLiteral("<no row>") : window->gridModel().index(row, 1).data().toString();
    }

    // Selects a grid row's value cell with a click, as a user does, and opens its editor with F2.
    void startEditing(const QString& key)
    {
        QTableView* table = window->grid()->table();
        const int row = window->gridModel().rowOf(key);
        ASSERT_GE(row, 0) << key.toStdString();
        const QModelIndex cell = window->gridModel().index(row, 1);
        table->scrollTo(cell);
        if (table->currentIndex() != cell)
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
        QTest::keyClick(table, Qt::Key_F2);
    }

    // Types a value into a grid row the way a user does: select, type, Enter.
    void type(const QString& key, const QString& text)
    {
        QTableView* table = window->grid()->table();
        ASSERT_NO_FATAL_FAILURE(startEditing(key));
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << key.toStdString();
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!table->viewport()->findChild<QLineEdit*>() || !table->viewport()->findChild<QLineEdit*>()->isVisible());
    }

    // Chooses a list row's entry by its position in the row's combo box: select, F2, choose, Enter.
    void pick(const QString& key, int position)
    {
        QTableView* table = window->grid()->table();
        ASSERT_NO_FATAL_FAILURE(startEditing(key));
        auto* combo = table->viewport()->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr) << key.toStdString();
        combo->setCurrentIndex(position);
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_VERIFY(!table->viewport()->findChild<QComboBox*>() || !table->viewport()->findChild<QComboBox*>()->isVisible());
    }

    // Opens the measurement menu from the window's menu bar and clicks one of its entries.
    void choose(int index)
    {
        auto* bar = window->findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr);
        QMenu* menu = window->measurementMenu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QAction* action = window->measurementAction(index);
        ASSERT_TRUE(action->isEnabled());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }

    // Clicks an entry of the popup the window has just shown.
    void choosePopup(int textId)
    {
        QMenu* popup = window->popup();
        QTRY_VERIFY(popup->isVisible());
        for (QAction* action : popup->actions())
            if (action->text() == GetRes(textId)) {
                QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(action).center());
                return;
            }
        FAIL() << "no popup entry " << textId;
    }

    // Widget pixel of a graph position in data units.
    QPoint graphPixel(float x, float y) const
    {
        const gui::GraphWidget* graph = window->graph();
        const double perPixel = 1440.0 / graph->logicalDpiX();
        return QPointF(graph->graph().xPos(x) / perPixel, graph->graph().yPos(y) / perPixel).toPoint();
    }

    QString database;
    ModelWatch models;
    QPointer<gui::DataWindow> window;
};

} // namespace tz4::test
