#pragma once

#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "instrument/Tz4Body.h"
#include "mainwin/MainControl.h"
#include "mainwin/SerialDebugLog.h"
#include "mainwin/StatusBar.h"
#include "sim/SimulatorLine.h"
#include "tests/support/RecordingReporter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tz4::test {

// A status bar that remembers every caption it showed.
class RecordingStatusBar final : public StatusBar {
public:
    QStringList captions;
    int refreshes = 0;
    void Refresh() override { ++refreshes; }

protected:
    void changed() override
    {
        if (!Caption().isEmpty() && (captions.isEmpty() || captions.last() != Caption()))
            captions << Caption();
    }
};

// The simulator's line with a count of the commands written to it.
class CountingLine final : public SerialLine {
public:
    CountingLine(Clock& clock, const sim::SimOptions& options) : inner(clock, options)
    {
        inner.setReceiveHandler([this] { notifyReceived(); });
    }
    void setPortNumber(int port) override { inner.setPortNumber(port); }
    void setSettings(const QString& settings) override { inner.setSettings(settings); }
    QString settings() const override { return inner.settings(); }
    bool open() override { return inner.open(); }
    void close() override { inner.close(); }
    bool isOpen() const override { return inner.isOpen(); }
    void write(const QByteArray& bytes) override
    {
        ++writes;
        inner.write(bytes);
    }
    QByteArray readAll() override { return inner.readAll(); }
    void discardInput() override { inner.discardInput(); }
    QString description() const override { return inner.description(); }
    QString failureCause(Language) const override { return cause; }

    sim::SimulatorLine inner;
    int writes = 0;
    QString cause; // what the line reports having seen, as a device that went away
};

// The main window's logic on the in-process simulator, in virtual time, with a fresh data
// directory and every message box recorded.
class MainWindowFixture : public ::testing::Test {
protected:
    void start(const sim::SimOptions& options = {})
    {
        ASSERT_TRUE(home.isValid());
        setDataDirectory(home.path());
        main.reset();
        body.reset();
        line.reset();
        line = std::make_unique<CountingLine>(clock, options);
        body = std::make_unique<uclTz4Body>(clock, *line);
        main = std::make_unique<MainControl>(clock, *body, status);
        main->Load();
    }

    // A ready instrument and a fresh database in the data directory.
    void startWithDatabase()
    {
        start();
        ASSERT_EQ(main->GetBodyStatus(), MainControl::Ready);
        ASSERT_TRUE(createDatabaseIfMissing(home.path()));
        InitSystemParam();
    }

    void TearDown() override
    {
        if (main)
            main->setTmrWarmUpEnabled(false);
        main.reset();
        body.reset();
        line.reset();
    }

    QString serialLog() const
    {
        QFile file(serialDebugLogPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir home;
    VirtualClock clock;
    RecordingStatusBar status;
    RecordingReporter reporter{MessageAnswer::Yes};
    std::unique_ptr<CountingLine> line;
    std::unique_ptr<uclTz4Body> body;
    std::unique_ptr<MainControl> main;
};

} // namespace tz4::test
