#include "data/TrashContents.h"

#include "core/Keys.h"
#include "data/SampleListing.h"
#include "data/Tz4DataSet.h"

namespace tz4 {

QList<FolderEntry> trashEntries(const QString& databasePath)
{
    SampleListing listing(databasePath);
    QList<FolderEntry> entries;
    for (const FolderRow& folder : listing.trashedFolders())
        entries.append({makeKey(folder.seqNo, QStringLiteral("F")),
                        folder.name.isNull() ? QStringLiteral("Name None") : folder.name.toString(), std::nullopt,
                        QDateTime()});
    for (const RecordRow& record : listing.trashedRecords()) {
        const QString letter = clsTz4DataSet::letterOfKind(record.modes);
        if (letter.isEmpty())
            continue;
        FolderEntry entry{makeKey(record.seqNo, letter), record.sampleName, std::nullopt, record.dataTime};
        if (!record.measLight.isNull())
            entry.light = record.measLight.toDouble();
        entries.append(std::move(entry));
    }
    return entries;
}

} // namespace tz4
