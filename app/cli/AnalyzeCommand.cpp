#include "app/cli/CommandArgs.h"
#include "app/cli/RecordCommands.h"
#include "app/cli/RecordReport.h"
#include "app/cli/RecordStore.h"
#include "data/Tz4DataSet.h"
#include "core/RecordParameters.h"

#include <cstdio>

namespace tz4::cli {

namespace {

// The rectangles span every Y the graph can show.
constexpr float Bottom = -1e30f;
constexpr float Top = 1e30f;

int usageError(const QString& text)
{
    std::fprintf(stderr, "tz4 analyze: %s\n", qUtf8Printable(text));
    return 2;
}

} // namespace

int runAnalyze(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("fit"), QStringLiteral("ground"), QStringLiteral("power")},
                                      {QStringLiteral("save")}, parsed))
        return usageError(*error);
    if (parsed.positional.size() != 1)
        return usageError(QStringLiteral("name one record number"));
    const auto fit = parseRange(parsed.value(QStringLiteral("fit")));
    const auto ground = parseRange(parsed.value(QStringLiteral("ground")));
    if (!fit || !ground)
        return usageError(QStringLiteral("--fit A:B and --ground C:D take two energies each, e.g. --fit 5.3:5.8"));
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

    if (power)
        record->setParameters(param::PowerNumber, *power);
    // Ground first: the ground level it gives shifts the graph values the fit range selects.
    record->setParameters(param::GroundX1, float(ground->first));
    record->setParameters(param::GroundX2, float(ground->second));
    record->setParameters(param::GroundY1, Bottom);
    record->setParameters(param::GroundY2, Top);
    record->RefreshGFlag();
    record->Refresh();
    record->setParameters(param::FitX1, float(fit->first));
    record->setParameters(param::FitX2, float(fit->second));
    record->setParameters(param::FitY1, Bottom);
    record->setParameters(param::FitY2, Top);

    if (parsed.flags.contains(QStringLiteral("save")) && !record->UpDates()) {
        std::fprintf(stderr, "tz4 analyze: the record could not be saved (see Caution.log)\n");
        return 1;
    }
    printRecord(*record, options.json, analysisText);
    return 0;
}

} // namespace tz4::cli
