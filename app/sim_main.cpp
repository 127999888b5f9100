#include "sim/SimOptions.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    tz4::sim::SimOptions options;
    if (auto error = tz4::sim::takeSimOptions(args, options)) {
        QTextStream(stderr) << "tz4-sim: " << *error << Qt::endl;
        return 2;
    }
    QTextStream(stderr) << "usage: tz4-sim [options]\n" << tz4::sim::simOptionsHelp();
    return args.contains(QLatin1String("--help")) ? 0 : 2;
}
