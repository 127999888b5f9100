#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QProcess>
#include <QString>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace tz4::bench {

// A program built next to the benchmarks, in the app/ folder of the build tree.
inline QString builtProgram(const QString& name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../app/") + name);
}

// Starts tz4-sim with its clock sped up so the instrument's own time hardly counts; returns
// the pseudo-terminal it prints, or an empty path when it did not start.
inline QString startSimulator(QProcess& simulator)
{
    simulator.start(builtProgram(QStringLiteral("tz4-sim")), {QStringLiteral("--sim-speed"), QStringLiteral("1000")});
    if (!simulator.waitForStarted(10000))
        return {};
    while (!simulator.canReadLine() && simulator.waitForReadyRead(10000)) {
    }
    return QString::fromLocal8Bit(simulator.readLine()).trimmed();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Formats compare as they would on a C-locale machine. Painting needs a QGuiApplication,
// widgets a QApplication.
template <class Application = QCoreApplication>
int runBenchmarks(int argc, char** argv)
{
    Application app(argc, argv);
    QLocale::setDefault(QLocale::c());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tz4::bench
