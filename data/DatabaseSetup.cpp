#include "data/DatabaseSetup.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "data/DatabaseSchema.h"
#include "data/PrintTemplateImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

static void initDataResources()
{
    Q_INIT_RESOURCE(tz4_data_defaults);
}

namespace tz4 {

QString shippedPrintFormatPath()
{
    initDataResources();
    return QStringLiteral(":/tz4/PrintFormat.Dat");
}

bool createDatabaseIfMissing(const QString& dataDir)
{
    EnterProcedure here("modDataBase:createDatabaseIfMissing");
    const QDir dir(dataDir);
    const QString database = dir.filePath(QStringLiteral("TZ4.mdb"));
    const QString templates = dir.filePath(QStringLiteral("PrintFormat.Dat"));
    if (!QFileInfo::exists(database)) {
        ErrorTrap trap;
        trap.run([&] {
            if (QFileInfo::exists(templates))
                return;
            QFile shipped(shippedPrintFormatPath());
            if (!shipped.copy(templates))
                throw fileError(shipped);
            // A resource copy is read-only; the operator may want to edit the file.
            QFile(templates).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ReadOther);
        });
        trap.finish();
        MakeDB(database);
        if (!QFileInfo::exists(database))
            return false;
        ImportPrintData(database, templates);
    }
    ErrorTrap trap;
    trap.run([&] { addMainIndexes(database); });
    const bool usable = trap.finish();
    // The log only spares readers and writers each other's waits: a database that another
    // program holds just now keeps its journal until a later start.
    try {
        useWriteAheadLog(database);
    } catch (const Tz4Error&) {
    }
    return usable;
}

} // namespace tz4
