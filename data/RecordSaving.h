#pragma once

#include <QString>

namespace tz4 {

class clsTz4DataSet;

// Where a finished measurement went.
struct RecordStoreResult {
    enum class Kind {
        Stored,                // in the database, under `key`
        WrittenToExchangeFile, // the database did not take it (`reason`); it lies in `exchangeFile`
        NotStored,             // neither: the record is only in memory (`reason`)
    };
    Kind kind = Kind::NotStored;
    QString key;
    QString exchangeFile;
    QString reason;
    // What the user should also be told: the folder went meanwhile and the record lies at the
    // top level, or the exchange file lacks the record's correction.
    QString note;
};

// A measurement is never lost: stores new record `record`, waiting for a database another
// program holds as DatabaseWait says; when the database still does not take it (held past the
// time-out, a full disk, a damaged file) and `exchangeDirectory` is given, writes the record into
// a new exchange file there for `tz4 import`, else into the system's temporary folder. With no
// directory, a record the database does not take stays in memory only (NotStored), for the
// caller to offer another try or the file.
RecordStoreResult storeRecordOrWriteExchange(clsTz4DataSet& record, const QString& exchangeDirectory);

} // namespace tz4
