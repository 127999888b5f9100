#include "data/RecordText.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/TextFileOut.h"
#include "data/Tz4DataSet.h"

namespace tz4 {

RecordTextResult writeRecordText(const clsTz4DataSet& record, const QString& file, int delimiter, QString* failure)
{
    bool written = false;
    switch (record.Kind()) {
    case clsTz4DataSet::KindC: written = TextFileOutCps(file, TextOutView(record), delimiter, failure); break;
    case clsTz4DataSet::KindW: written = TextFileOutWrk(file, TextOutView(record), delimiter, failure); break;
    default: return RecordTextResult::Unsupported;
    }
    return written ? RecordTextResult::Written : RecordTextResult::Failed;
}

QStringList recordTextFilters()
{
    // "CSV(Comma Delimiter) (*.csv)|*.csv| Text(Tab Delimiter) (*.txt)|*.txt| ...": names and
    // patterns alternate.
    const QStringList parts = GetRes(msg::TextFileFilters).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i].trimmed();
    return filters;
}

} // namespace tz4
