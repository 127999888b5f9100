#include "app/cli/CommandArgs.h"
#include "app/cli/RecordCommands.h"
#include "app/cli/RecordReport.h"
#include "app/cli/RecordStore.h"
#include "core/RecordParameters.h"
#include "data/AnalysisRanges.h"
#include "data/SuggestRanges.h"
#include "data/Tz4DataSet.h"

#include <cstdio>

namespace tz4::cli {

namespace {

int usageError(const QString& text)
{
    std::fprintf(stderr, "tz4 analyze: %s\n", qUtf8Printable(text));
    return 2;
}

int refused(const clsTz4DataSet& record, const QString& reason)
{
    std::fprintf(stderr, "tz4 analyze: record %s: %s; nothing was stored\n", qUtf8Printable(record.Key()),
                 qUtf8Printable(reason));
    return 1;
}

} // namespace

int runAnalyze(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("fit"), QStringLiteral("ground"), QStringLiteral("power")},
                                      {QStringLiteral("save"), QStringLiteral("auto")}, parsed))
        return usageError(*error);
    if (parsed.positional.size() != 1)
        return usageError(QStringLiteral("name one record number"));
    const bool automatic = parsed.flags.contains(QStringLiteral("auto"));
    std::optional<std::pair<double, double>> fit, ground;
    if (automatic) {
        if (parsed.has(QStringLiteral("fit")) || parsed.has(QStringLiteral("ground")))
            return usageError(QStringLiteral("--auto chooses the ranges itself; leave out --fit and --ground"));
    } else {
        fit = parseRange(parsed.value(QStringLiteral("fit")));
        ground = parseRange(parsed.value(QStringLiteral("ground")));
        if (!fit || !ground)
            return usageError(QStringLiteral("--fit A:B and --ground C:D take two energies each, e.g. --fit 5.3:5.8 "
                                             "(or --auto)"));
    }
    std::optional<double> power;
    if (parsed.values.contains(QStringLiteral("power"))) {
        power = parseNumber(parsed.value(QStringLiteral("power")));
        if (!power || !(*power > 0 && *power <= 2))
            return usageError(QStringLiteral("--power takes a number above 0 and at most 2"));
    }

    if (!openRecordStore(options, "analyze"))
        return 1;
    const auto record = loadRecord(parsed.positional.first(), "analyze");
    if (!record)
        return 1;
    if (record->Kind() != clsTz4DataSet::KindW && record->Kind() != clsTz4DataSet::KindT) {
        std::fprintf(stderr, "tz4 analyze: record %s has no regression analysis\n", qUtf8Printable(record->Key()));
        return 1;
    }
    if (automatic && record->Kind() != clsTz4DataSet::KindW) {
        std::fprintf(stderr, "tz4 analyze: --auto suggests ranges for work-function records only\n");
        return 1;
    }

    if (power)
        record->setParameters(param::PowerNumber, *power);
    if (automatic) {
        const SuggestedRanges suggested = SuggestRanges(*record);
        if (!suggested.found)
            return refused(*record, suggested.refusal);
        ApplyRanges(*record, suggested.ground, suggested.fit);
    } else {
        ApplyRanges(*record, {float(ground->first), float(ground->second)}, {float(fit->first), float(fit->second)});
    }
    if (const QString missing = MissingForResult(*record); !missing.isEmpty())
        return refused(*record, missing);

    if (parsed.flags.contains(QStringLiteral("save"))) {
        // Only what this analysis changed is written, and not over a change made meanwhile.
        QString detail;
        switch (record->WriteChanges(&detail)) {
        case clsTz4DataSet::WriteBack::Written:
        case clsTz4DataSet::WriteBack::NothingChanged: break;
        case clsTz4DataSet::WriteBack::ChangedElsewhere:
            std::fprintf(stderr, "tz4 analyze: another program changed the record meanwhile (%s); nothing was saved\n",
                         qUtf8Printable(detail));
            return 1;
        case clsTz4DataSet::WriteBack::Deleted:
            std::fprintf(stderr, "tz4 analyze: the record was deleted meanwhile; nothing was saved\n");
            return 1;
        case clsTz4DataSet::WriteBack::Failed:
            std::fprintf(stderr, "tz4 analyze: the record could not be saved: %s\n", qUtf8Printable(detail));
            return 1;
        }
    }
    printRecord(*record, options.json, analysisText);
    return 0;
}

} // namespace tz4::cli
