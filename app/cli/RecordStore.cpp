#include "app/cli/RecordStore.h"

#include "core/DataDirectory.h"
#include "core/ErrorTrap.h"
#include "core/Keys.h"
#include "core/SerialProperties.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"
#include "data/FolderContents.h"
#include "data/Tz4DataSet.h"

#include <QFileInfo>

#include <cstdio>

namespace tz4::cli {

bool openRecordStore(const GlobalOptions& options, const char* command)
{
    try {
        // Nothing here can work without a database, so a mistyped --home creates nothing.
        useExistingDataDirectory(resolveDataDirectory(options.home));
    } catch (const Tz4Error& error) {
        std::fprintf(stderr, "tz4 %s: %s\n", command, qUtf8Printable(error.description()));
        return false;
    }
    InitSystemParam();
    SerialSettings serial;
    GetSystemFile(serial);
    if (!QFileInfo::exists(SystemParam().DatabasePath)) {
        std::fprintf(stderr, "tz4 %s: there is no database at %s (tz4 init creates one)\n", command,
                     qUtf8Printable(SystemParam().DatabasePath));
        return false;
    }
    return true;
}

std::optional<QString> storedKey(const QString& keyText, const char* command)
{
    const QString trimmed = keyText.trimmed();
    bool ok = false;
    const qint32 seqNo = trimmed.contains(QLatin1Char(' ')) ? GetKeySeq(trimmed) : trimmed.toInt(&ok);
    if (seqNo < 1) {
        std::fprintf(stderr, "tz4 %s: '%s' is not a record number\n", command, qUtf8Printable(keyText));
        return std::nullopt;
    }
    int kind = clsTz4DataSet::KindNone;
    try {
        kind = storedRecordKind(SystemParam().DatabasePath, seqNo);
    } catch (const Tz4Error& error) {
        std::fprintf(stderr, "tz4 %s: %s\n", command, qUtf8Printable(error.description()));
        return std::nullopt;
    }
    const QString letter = clsTz4DataSet::letterOfKind(kind);
    if (letter.isEmpty()) {
        std::fprintf(stderr, "tz4 %s: there is no record %d\n", command, seqNo);
        return std::nullopt;
    }
    return makeKey(seqNo, letter);
}

std::unique_ptr<clsTz4DataSet> loadRecord(const QString& keyText, const char* command)
{
    const std::optional<QString> key = storedKey(keyText, command);
    if (!key)
        return nullptr;
    auto record = std::make_unique<clsTz4DataSet>();
    record->setDataBaseName(SystemParam().DatabasePath);
    record->setKey(*key);
    record->ReLoad();
    // Showing or exporting what could be read would pass a damaged record off as a good one.
    if (!record->LoadFailure().isEmpty()) {
        std::fprintf(stderr, "tz4 %s: record %s cannot be read: %s\n", command, qUtf8Printable(*key),
                     qUtf8Printable(record->LoadFailure()));
        return nullptr;
    }
    return record;
}

bool folderExists(qint32 folder) { return tz4::folderExists(SystemParam().DatabasePath, folder); }

} // namespace tz4::cli
