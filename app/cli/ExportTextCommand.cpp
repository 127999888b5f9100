#include "app/cli/CommandArgs.h"
#include "app/cli/RecordCommands.h"
#include "app/cli/RecordStore.h"
#include "core/ErrorReporter.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "data/RecordText.h"
#include "data/Tz4DataSet.h"
#include "core/MessageIds.h"

#include <QFileInfo>

#include <cstdio>

namespace tz4::cli {

namespace {

// The delimiter numbers of the save dialog's file types.
int delimiterOf(const QString& name)
{
    if (name == QLatin1String("csv"))
        return 1;
    if (name == QLatin1String("tab"))
        return 2;
    if (name == QLatin1String("space"))
        return 3;
    return 0;
}

int delimiterOfFile(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("txt"))
        return 2;
    if (suffix == QLatin1String("prn"))
        return 3;
    return 1;
}

} // namespace

int runExportText(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("delim")}, {}, parsed); error || parsed.positional.size() != 2) {
        std::fprintf(stderr, "tz4 export-text: %s\n",
                     qUtf8Printable(error ? *error : QStringLiteral("name a record number and a file")));
        return 2;
    }
    const QString file = parsed.positional.at(1);
    int delimiter = delimiterOfFile(file);
    if (parsed.values.contains(QStringLiteral("delim"))) {
        delimiter = delimiterOf(parsed.value(QStringLiteral("delim")));
        if (delimiter == 0) {
            std::fprintf(stderr, "tz4 export-text: --delim takes csv, tab or space\n");
            return 2;
        }
    }
    if (!openRecordStore(options, "export-text"))
        return 1;
    const auto record = loadRecord(parsed.positional.first(), "export-text");
    if (!record)
        return 1;

    QString failure;
    const RecordTextResult result = writeRecordText(*record, file, delimiter, &failure);
    if (result == RecordTextResult::Unsupported) {
        errorReporter().showMessage(GetRes(msg::CannotSaveData), QStringLiteral("TZ-4"), MessageIcon::Information, MessageButtons::Ok);
        return 1;
    }
    const bool written = result == RecordTextResult::Written;
    if (!written) {
        std::fprintf(stderr, "tz4 export-text: %s could not be written: %s\n", qUtf8Printable(file),
                     qUtf8Printable(failure));
        return 1;
    }
    return 0;
}

} // namespace tz4::cli
