// Stores 1,000-point work-function records into the database given as the first argument, one
// after another, until it is killed; prints "storing" before each and "stored <key>" after it.
#include "data/DatabaseSchema.h"
#include "data/Tz4DataSet.h"
#include "core/RecordParameters.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!QFileInfo::exists(path) && !tz4::MakeDB(path))
        return 3;
    for (int round = 0;; ++round) {
        tz4::clsTz4DataSet record;
        record.setDataBaseName(path);
        record.setKey(QStringLiteral("W"));
        record.setDataCount(1000);
        for (int i = 0; i < 1000; ++i) {
            record.setOrgValueX(float(3.4 + 0.005 * i), i);
            record.setOrgValueY(float(round * 1000 + i), i);
        }
        record.setParameters(tz4::param::SampleName, QStringLiteral("Crash %1").arg(round));
        std::printf("storing\n");
        std::fflush(stdout);
        if (!record.AddDatas())
            return 4;
        std::printf("stored %s\n", qPrintable(record.Key()));
        std::fflush(stdout);
    }
}
