#include "data/RecordSaving.h"

#include "core/CautionLog.h"
#include "core/OwnTexts.h"
#include "core/Tz4Error.h"
#include "data/DatabaseWait.h"
#include "data/Tz4DataSet.h"

#include <QDir>

namespace tz4 {

RecordStoreResult storeRecordOrWriteExchange(clsTz4DataSet& record, const QString& exchangeDirectory)
{
    RecordStoreResult result;
    if (record.AddDatas()) {
        result.kind = RecordStoreResult::Kind::Stored;
        result.key = record.Key();
        result.note = record.StoreNote();
        return result;
    }
    result.reason = record.StoreFailure().isEmpty() ? QStringLiteral("the record cannot be stored")
                                                    : record.StoreFailure();
    if (exchangeDirectory.isEmpty())
        return result;
    // A stop that ended the wait for the database does not stop the record from reaching a file.
    const DatabaseWait::StopDeferred finishing;
    for (const QString& directory : {exchangeDirectory, QDir::tempPath()}) {
        try {
            result.exchangeFile = record.WriteExchangeFile(directory, &result.note);
            result.kind = RecordStoreResult::Kind::WrittenToExchangeFile;
            WriteCautionLog(ownText(OwnText::WrittenToFile, Language::English,
                                    {result.reason, QDir::toNativeSeparators(result.exchangeFile)}));
            return result;
        } catch (const Tz4Error& error) {
            result.reason += QStringLiteral("; ") + error.description();
        }
    }
    return result;
}

} // namespace tz4
