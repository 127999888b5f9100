#include "app/cli/CommandArgs.h"
#include "app/cli/InstrumentCommands.h"
#include "app/cli/InstrumentSession.h"
#include "app/cli/InterruptNotifier.h"
#include "app/cli/RecordStore.h"
#include "core/Formats.h"
#include "core/Startup.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/Tz4DataSet.h"
#include "datawin/LightSignal.h"
#include "datawin/MeasurementControl.h"
#include "core/RecordParameters.h"
#include "core/MessageIds.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>

namespace tz4::cli {

namespace {

constexpr int Cancelled = 130; // as a shell reports a run ended by Ctrl-C

struct KindWord {
    const char* word;
    const char* letter;
};

const KindWord Kinds[] = {{"work", "W"}, {"cps", "C"}, {"light", "L"}, {"calib", "D"}};

// A setting option and the record parameter it writes.
struct Setting {
    const char* option;
    int parameter;
};

const Setting Settings[] = {{"start", 18}, {"end", 19},   {"step", 20},  {"energy", 21},   {"light", 23},
                            {"power", 24}, {"count", 26}, {"time", 33}, {"thickness", 29}};

int usageError(const QString& text)
{
    std::fprintf(stderr, "tz4 measure: %s\n", qUtf8Printable(text));
    return 2;
}

} // namespace

int runMeasure(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    QStringList valued{QStringLiteral("sample"), QStringLiteral("folder")};
    for (const Setting& s : Settings)
        valued << QLatin1String(s.option);
    const QStringList switches{QStringLiteral("adjust"), QStringLiteral("yes"), QStringLiteral("no"),
                               QStringLiteral("wait")};
    if (auto error = parseCommandArgs(args, valued, switches, parsed))
        return usageError(*error);
    if (parsed.positional.size() != 1)
        return usageError(QStringLiteral("name one kind: work, cps, light or calib"));
    QString letter;
    for (const KindWord& k : Kinds)
        if (parsed.positional.first() == QLatin1String(k.word))
            letter = QLatin1String(k.letter);
    if (letter.isEmpty())
        return usageError(QStringLiteral("unknown kind '%1' (work, cps, light or calib)").arg(parsed.positional.first()));
    if (parsed.flags.contains(QStringLiteral("yes")) && parsed.flags.contains(QStringLiteral("no")))
        return usageError(QStringLiteral("--yes and --no exclude each other"));

    // Every number is checked before the instrument is touched.
    QList<std::pair<int, double>> settings;
    for (const Setting& s : Settings) {
        const QString option = QLatin1String(s.option);
        if (!parsed.values.contains(option))
            continue;
        const auto number = parseNumber(parsed.value(option));
        if (!number)
            return usageError(QStringLiteral("--%1 needs a number, not '%2'").arg(option, parsed.value(option)));
        if (s.parameter == 24 && !(*number > 0 && *number <= 2))
            return usageError(QStringLiteral("--power takes a number above 0 and at most 2"));
        settings.append({s.parameter, *number});
    }
    std::optional<double> folder = 0.0;
    if (parsed.values.contains(QStringLiteral("folder"))) {
        folder = parseNumber(parsed.value(QStringLiteral("folder")));
        if (!folder || *folder != qint32(*folder) || *folder < 0)
            return usageError(QStringLiteral("--folder needs a folder number"));
    }

    Startup startup(createDatabaseIfMissing);
    if (!startup.run(options.home))
        return 1;
    if (!startup.databaseReady())
        return usageError(QStringLiteral("the database %1 cannot be used").arg(SystemParam().DatabasePath));

    std::unique_ptr<InstrumentSession> session;
    try {
        session = std::make_unique<InstrumentSession>(options);
    } catch (const std::invalid_argument& error) {
        return usageError(QString::fromUtf8(error.what()));
    }
    const MessageAnswer save = parsed.flags.contains(QStringLiteral("no")) ? MessageAnswer::No : MessageAnswer::Yes;
    session->reporter().answer({msg::SaveThisData, msg::CalibrateByThisData}, save);

    // A new record starts from the settings of the latest record of its kind.
    clsTz4DataSet record;
    record.setDataBaseName(SystemParam().DatabasePath);
    record.setKey(letter);
    record.ReLoad();

    MeasurementControl* control = nullptr;
    InterruptNotifier interrupt([&] {
        if (control && control->measuring())
            control->CancelMeasurement();
        else
            session->body().setCanceled(true);
    });

    const qint32 phase = session->connect(parsed.flags.contains(QStringLiteral("wait")),
                                          [&] { return interrupt.interrupted(); });
    if (interrupt.interrupted())
        return Cancelled;
    if (phase != MainControl::Ready) {
        std::fprintf(stderr, "tz4 measure: the instrument is not ready (phase %d: %s)\n", phase,
                     qUtf8Printable(phaseName(phase)));
        return 1;
    }

    MeasurementControl measurement(session->main(), record);
    control = &measurement;
    // A folder that is not there leaves the location unset, which the start check refuses.
    measurement.setLocation(folderExists(qint32(*folder)) ? std::optional<qint32>(qint32(*folder)) : std::nullopt);
    measurement.MakeMeasDefault(record.Key());
    if (parsed.values.contains(QStringLiteral("sample")))
        record.setParameters(param::SampleName, parsed.value(QStringLiteral("sample")));
    for (const auto& [parameter, value] : settings)
        record.setParameters(parameter, value);

    // Every run connects afresh, so the intensity the record remembers is rarely the one in
    // force: an intensity outside the target's band is adjusted instead of refused.
    const float measured = record.Parameters(param::MeasuredLight).toFloat();
    const float target = record.Parameters(param::TargetLight).toFloat();
    const bool inBand = uvIntensityInBand(measured, target);
    if (!inBand && !parsed.flags.contains(QStringLiteral("adjust")))
        std::fprintf(stderr, "tz4 measure: the UV intensity %s nW is outside the band of the target %s nW; adjusting it first\n",
                     qUtf8Printable(shortestText(measured)), qUtf8Printable(shortestText(target)));
    if (parsed.flags.contains(QStringLiteral("adjust")) || !inBand) {
        const bool adjusted = measurement.AdjustUvIntensity();
        if (interrupt.interrupted())
            return Cancelled;
        if (!adjusted)
            return 1;
    }

    const MeasurementControl::Outcome outcome = measurement.Measure();
    session->status().finishLine();
    QTextStream out(stdout);
    switch (outcome) {
    case MeasurementControl::Outcome::Saved:
        if (options.json)
            out << QJsonDocument(QJsonObject{{QStringLiteral("key"), record.Key()},
                                             {QStringLiteral("points"), record.DataCount()}})
                       .toJson(QJsonDocument::Compact)
                << Qt::endl;
        else
            out << record.Key() << Qt::endl;
        return 0;
    case MeasurementControl::Outcome::NotSaved:
        std::fprintf(stderr, "tz4 measure: the measurement was not saved\n");
        return 0;
    case MeasurementControl::Outcome::Cancelled:
        return Cancelled;
    case MeasurementControl::Outcome::Failed:
        std::fprintf(stderr, "tz4 measure: the measurement could not be completed or stored (see Caution.log)\n");
        break;
    case MeasurementControl::Outcome::Refused:
        break;
    }
    return 1;
}

} // namespace tz4::cli
