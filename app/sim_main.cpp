#include "core/Clock.h"
#include "core/Version.h"
#include "sim/PtyServer.h"
#include "sim/SimOptions.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>

// Serves the simulated instrument on a pseudo-terminal until killed. The first line of
// standard output is the device path to open.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    tz4::sim::SimOptions options;
    if (args.contains(QLatin1String("--version"))) {
        QTextStream(stdout) << "tz4-sim " << TZ4_VERSION << Qt::endl;
        return 0;
    }
    if (args.contains(QLatin1String("--help"))) {
        QTextStream(stdout) << "usage: tz4-sim [options]\n"
                               "\n"
                               "Serves a simulated TZ-4 on a pseudo-terminal and prints its device path.\n"
                               "\n"
                               "options:\n"
                               "  --version                print the version\n"
                            << tz4::sim::simOptionsHelp();
        return 0;
    }
    if (auto error = tz4::sim::takeSimOptions(args, options)) {
        err << "tz4-sim: " << *error << Qt::endl;
        return 2;
    }
    if (!args.isEmpty()) {
        err << "tz4-sim: unknown argument " << args.first() << "\nusage: tz4-sim [options]\n"
            << tz4::sim::simOptionsHelp();
        return 2;
    }
    try {
        tz4::RealClock clock;
        tz4::sim::PtyServer server(clock, options);
        const QByteArray device = server.devicePath().toLocal8Bit();
        server.setHostLeftHandler([&device] {
            std::fprintf(stderr, "tz4-sim: the host closed %s; waiting for the next one\n", device.constData());
            std::fflush(stderr);
        });
        std::printf("%s\n", device.constData());
        std::fflush(stdout);
        return app.exec();
    } catch (const std::exception& e) {
        err << "tz4-sim: " << e.what() << Qt::endl;
        return 1;
    }
}
