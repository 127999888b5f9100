#include "app/cli/Commands.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>

#include <memory>

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    // Headless sub-commands must run without a display.
    if (tz4::cli::isHeadless(args)) {
        QCoreApplication app(argc, argv);
        return tz4::cli::run(args);
    }

    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("TZ-4"));
    window.resize(632, 461);
    window.show();
    return app.exec();
}
