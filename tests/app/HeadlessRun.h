#pragma once

#include "tests/support/TestSupport.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tz4::test {

struct HeadlessRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
    QJsonArray jsonArray() const { return QJsonDocument::fromJson(out).array(); }
};

inline HeadlessRun runProgram(const QString& program, const QStringList& args, int timeoutMs = 120000,
                              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(builtProgram(program), args);
    HeadlessRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline HeadlessRun runTz4(const QStringList& args,
                          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    return runProgram(QStringLiteral("tz4"), args, 120000, env);
}

// A fresh data directory made by `tz4 init` for each test.
class HeadlessProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        const HeadlessRun init = tz4({QStringLiteral("init")});
        ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    }

    HeadlessRun tz4(const QStringList& args, int timeoutMs = 120000) const
    {
        return runProgram(QStringLiteral("tz4"), QStringList{QStringLiteral("--home"), home.path()} + args, timeoutMs);
    }

    // The simulated instrument, fast enough that a scan takes a moment.
    static QStringList simulated(const QString& speed = QStringLiteral("1000"))
    {
        return {QStringLiteral("--simulate"), QStringLiteral("--sim-speed"), speed};
    }

    QJsonArray records() const { return tz4({QStringLiteral("records"), QStringLiteral("--json")}).jsonArray(); }

    QString file(const QString& name) const { return home.filePath(name); }

    QTemporaryDir home;
};

} // namespace tz4::test
