#pragma once

#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/MessageCatalog.h"
#include "core/SystemParam.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/widgets/DataBar.h"
#include "gui/mainwin/WindowState.h"
#include "gui/widgets/TaskBar.h"
#include "mainwin/MainControl.h"
#include "sim/SimulatorLine.h"
#include "tests/support/RecordingReporter.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace tz4::test {

// The frame on the in-process simulator in virtual time, in a fresh data directory, with
// every message box recorded; driven by mouse and keys.
class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        setDataDirectory(home.path());
        InitSystemParam();
    }

    void TearDown() override
    {
        frame.reset();
        line.reset();
        setLanguage(Language::English);
    }

    void open(const sim::SimOptions& options = {})
    {
        line = std::make_unique<sim::SimulatorLine>(clock, options);
        frame = std::make_unique<gui::MainWindow>(clock, *line);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    // Opens a menu of the menu bar with a click on its title and chooses `entry` in it.
    void choose(QMenu* menu, QAction* entry)
    {
        QMenuBar* bar = frame->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    }

    QString text(int id) const { return GetRes(id); }
    QString fileIn(const QString& name) const { return home.filePath(name); }

    QTemporaryDir home;
    VirtualClock clock;
    RecordingReporter reporter{MessageAnswer::Yes};
    std::unique_ptr<sim::SimulatorLine> line;
    std::unique_ptr<gui::MainWindow> frame;
};

} // namespace tz4::test
