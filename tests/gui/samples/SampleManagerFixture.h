#pragma once

#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/SampleOperations.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/samples/SampleGridView.h"
#include "gui/samples/SampleItemView.h"
#include "gui/samples/SampleManagerOpener.h"
#include "gui/samples/SampleManagerWindow.h"
#include "mainwin/MainControl.h"
#include "samples/SampleItemRoles.h"
#include "samples/SampleManagerControl.h"
#include "sim/SimulatorLine.h"
#include "tests/support/RecordingReporter.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Waits until a condition holds (the window works through its events meanwhile), then checks
// it; QTest's own QTRY macros do not report to this test framework.
#define EVENTUALLY_TRUE(condition)                                                                 \
    do {                                                                                           \
        (void)QTest::qWaitFor([&] { return bool(condition); }, 20000);                                 \
        ASSERT_TRUE(condition);                                                                    \
    } while (false)
#define EVENTUALLY_EQ(actual, expected)                                                            \
    do {                                                                                           \
        (void)QTest::qWaitFor([&] { return (actual) == (expected); }, 20000);                          \
        ASSERT_EQ(actual, expected);                                                               \
    } while (false)

namespace tz4::test {

// The frame on the in-process simulator with a fresh database and the sample manager open in
// it, every message box recorded; driven by mouse, keys and drops.
class SampleManagerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        setDataDirectory(home.path());
        ASSERT_TRUE(createDatabaseIfMissing(home.path()));
        InitSystemParam();
        database = SystemParam().DatabasePath;
        line = std::make_unique<sim::SimulatorLine>(clock, sim::SimOptions{});
        frame = std::make_unique<gui::MainWindow>(clock, *line);
        frame->resize(1200, 800);
    }

    void TearDown() override
    {
        gui::SampleManagerWindow::setFileChooser({});
        frame.reset();
        line.reset();
    }

    // Opens the window the way the program does, once the database holds what the test needs.
    void open()
    {
        frame->setDataManagerOpener([this] { gui::openSampleManager(*frame, database); });
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        manager = gui::openSampleManager(*frame, database);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(manager));
        reporter.shown.clear();
    }

    QString folder(const QString& name, const QString& parent = QStringLiteral("1 A")) const
    {
        return newFolder(database, name, parent);
    }

    // A stored record of `kind` ("W", "C", "L", "D", "T") in folder `parent` (0: top level).
    QString record(const QString& kind, const QString& name, qint32 parent = 0) const
    {
        clsTz4DataSet r;
        r.setDataBaseName(database);
        r.setKey(kind);
        r.ReLoad();
        r.setParameters(param::SampleName, name);
        r.setParameters(param::FolderNumber, parent);
        if (kind != QLatin1String("T")) {
            r.setDataCount(4);
            for (int i = 0; i < 4; ++i) {
                r.setOrgValueX(float(4.5 + 0.1 * i), i);
                r.setOrgValueY(float(10 * i + 1), i);
            }
        }
        r.AddDatas();
        return r.Key();
    }

    QVariant column(const QString& key, const char* name) const
    {
        SqliteDatabase db(database);
        const bool isFolder = GetKeyType(key) == QLatin1String("F");
        SqliteStatement st = db.query(QStringLiteral("Select %1 From %2 Where SeqNo=%3;")
                                          .arg(QLatin1String(name), isFolder ? QStringLiteral("FAT") : QStringLiteral("Setting"))
                                          .arg(GetKeySeq(key)));
        return st.next() ? st.value(0) : QVariant();
    }
    qint64 countOf(const QString& sql) const
    {
        SqliteDatabase db(database);
        SqliteStatement st = db.query(sql);
        return st.next() ? st.value(0).toLongLong() : -1;
    }

    gui::SampleItemView* tree() const { return manager->tree(); }
    gui::SampleItemView* list() const { return manager->list(); }
    SampleManagerControl& control() const { return manager->control(); }

    // Clicks a node of the tree, so the list shows its contents.
    void showNode(const QString& key)
    {
        const QModelIndex node = control().tree().indexOfKey(key);
        ASSERT_TRUE(node.isValid()) << key.toStdString();
        tree()->scrollTo(node);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualRect(node).center());
        EVENTUALLY_EQ(control().nodeKey(), key);
    }

    QModelIndex listed(const QString& key) const
    {
        const int row = control().list().rowOfKey(key);
        return row < 0 ? QModelIndex() : control().list().index(row, 0);
    }

    // Clicks list entries, with Ctrl after the first, as a user selects several.
    void selectInList(const QStringList& keys)
    {
        for (int i = 0; i < keys.size(); ++i) {
            const QModelIndex index = listed(keys[i]);
            ASSERT_TRUE(index.isValid()) << keys[i].toStdString();
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, i == 0 ? Qt::KeyboardModifiers() : Qt::ControlModifier,
                              list()->visualRect(index).center());
        }
        EVENTUALLY_EQ(list()->selectedKeys().size(), keys.size());
    }

    // Drops the list entries `keys` on the entry `target` of `view` as a drag would end there:
    // a move over it first (whose acceptance and hint are returned), then the drop.
    struct DragOver {
        bool accepted = false;
        QString hint;
    };
    DragOver drop(const QStringList& keys, gui::SampleItemView* view, const QString& target, bool ctrl = false)
    {
        QModelIndexList dragged;
        for (const QString& key : keys)
            dragged << listed(key);
        std::unique_ptr<QMimeData> data(control().list().mimeData(dragged));
        QModelIndex at = view == tree() ? control().tree().indexOfKey(target) : listed(target);
        view->scrollTo(at);
        const QPoint pos = view->visualRect(at).center();
        const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(view->viewport(), &enter);
        QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(view->viewport(), &move);
        DragOver over{move.isAccepted(), manager->hintLine()->text()};
        if (over.accepted) {
            QDropEvent dropped(pos, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, modifiers);
            QApplication::sendEvent(view->viewport(), &dropped);
            // The drop is carried out once the drag has ended.
            QCoreApplication::processEvents();
        } else {
            QDragLeaveEvent leave;
            QApplication::sendEvent(view->viewport(), &leave);
        }
        return over;
    }

    QString text(int id, const QVariantList& arguments = {}) const { return GetRes(id, arguments); }
    QString fileIn(const QString& name) const { return home.filePath(name); }

    QTemporaryDir home;
    QString database;
    VirtualClock clock;
    RecordingReporter reporter{MessageAnswer::Yes};
    std::unique_ptr<sim::SimulatorLine> line;
    std::unique_ptr<gui::MainWindow> frame;
    gui::SampleManagerWindow* manager = nullptr;
};

} // namespace tz4::test
