#include "app/cli/CommandArgs.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/InstrumentCommands.h"
#include "app/cli/InstrumentSession.h"
#include "app/cli/RecordStore.h"
#include "core/DataDirectory.h"
#include "core/ErrorReporter.h"
#include "core/Formats.h"
#include "core/MessageIds.h"
#include "core/OwnTexts.h"
#include "core/RecordParameters.h"
#include "core/Startup.h"
#include "core/StopSignals.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/DatabaseWait.h"
#include "data/Tz4DataSet.h"
#include "datawin/LightSignal.h"
#include "datawin/MeasurementControl.h"
#include "datawin/MeasurementSettingsCheck.h"

#include <QJsonDocument>
#include <QScopeGuard>
#include <QJsonObject>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <variant>

namespace tz4::cli {

namespace {

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

const Setting Settings[] = {{"start", param::StartEnergy},   {"end", param::FinishEnergy},
                            {"step", param::EnergyStep},     {"energy", param::FixedEnergy},
                            {"light", param::TargetLight},   {"power", param::PowerNumber},
                            {"count", param::MeasureCount},  {"time", param::CountingTime},
                            {"thickness", param::CalibrationShift}};

int usageError(const QString& text)
{
    std::fprintf(stderr, "tz4 measure: %s\n", qUtf8Printable(text));
    return ExitCode::Usage;
}

QString optionOf(int parameter)
{
    if (parameter == param::SampleName)
        return QStringLiteral("--sample");
    for (const Setting& s : Settings)
        if (s.parameter == parameter)
            return QStringLiteral("--") + QLatin1String(s.option);
    return {};
}

// The catalogue's message where one fits, then the sentence naming the option.
int refusedSetting(const SettingProblem& problem)
{
    if (problem.textId != 0)
        showCatalogMessage(problem.textId, problem.titleId, MessageIcon::Information);
    const QString option = optionOf(problem.parameter);
    return usageError(option.isEmpty() ? problem.sentence : option + QStringLiteral(": ") + problem.sentence);
}

// What the command line asks for, every value checked before anything is opened.
struct MeasureRequest {
    QString letter;
    QList<std::pair<int, double>> settings;
    qint32 folder = 0;
    QString sample;
    CommandArgs parsed;

    bool flag(const char* name) const { return parsed.flags.contains(QLatin1String(name)); }
};

// The request, or the exit code of its refusal.
std::variant<MeasureRequest, int> parseRequest(const QStringList& args)
{
    MeasureRequest request;
    CommandArgs& parsed = request.parsed;
    QStringList valued{QStringLiteral("sample"), QStringLiteral("folder")};
    for (const Setting& s : Settings)
        valued << QLatin1String(s.option);
    const QStringList switches{QStringLiteral("adjust"), QStringLiteral("yes"), QStringLiteral("no"),
                               QStringLiteral("wait")};
    if (auto error = parseCommandArgs(args, valued, switches, parsed))
        return usageError(*error);
    if (parsed.positional.size() != 1)
        return usageError(QStringLiteral("name one kind: work, cps, light or calib"));
    for (const KindWord& k : Kinds)
        if (parsed.positional.first() == QLatin1String(k.word))
            request.letter = QLatin1String(k.letter);
    if (request.letter.isEmpty())
        return usageError(QStringLiteral("unknown kind '%1' (work, cps, light or calib)").arg(parsed.positional.first()));
    if (request.flag("yes") && request.flag("no"))
        return usageError(QStringLiteral("--yes and --no exclude each other"));

    for (const Setting& s : Settings) {
        const QString option = QLatin1String(s.option);
        if (!parsed.values.contains(option))
            continue;
        const auto number = parseNumber(parsed.value(option));
        if (!number)
            return usageError(QStringLiteral("--%1 needs a number, not '%2'").arg(option, parsed.value(option)));
        if (const auto problem = checkSettingValue(s.parameter, *number))
            return refusedSetting(*problem);
        request.settings.append({s.parameter, *number});
    }
    if (parsed.values.contains(QStringLiteral("folder"))) {
        const auto folder = parseNumber(parsed.value(QStringLiteral("folder")));
        if (!folder || *folder != qint32(*folder) || *folder < 0)
            return usageError(QStringLiteral("--folder needs a folder number"));
        request.folder = qint32(*folder);
    }
    request.sample = parsed.values.value(QStringLiteral("sample"), QStringLiteral("NewSample"));
    if (const auto problem = checkSampleName(request.sample))
        return refusedSetting(*problem);
    return request;
}

void applySettings(clsTz4DataSet& record, const MeasureRequest& request)
{
    record.setParameters(param::SampleName, request.sample);
    for (const auto& [parameter, value] : request.settings)
        record.setParameters(parameter, value);
}

// A new record starts from the settings of the latest record of its kind. The whole set
// (typed values over those of the latest record) is checked before the instrument is touched:
// a bad stored default must not reach it either. Nothing when it passes, else the exit code.
std::optional<int> prepareRecord(clsTz4DataSet& record, const MeasureRequest& request)
{
    record.setDataBaseName(SystemParam().DatabasePath);
    record.setKey(request.letter);
    record.ReLoad();
    applySettings(record, request);
    if (!folderExists(request.folder)) {
        showCatalogMessage(msg::SetLocation, msg::NoLocationTitle, MessageIcon::Information);
        return usageError(QStringLiteral("--folder: there is no folder %1").arg(request.folder));
    }
    if (const auto problem = checkMeasurementSettings(record))
        return refusedSetting(*problem);
    return std::nullopt;
}

// Every run connects afresh, so the intensity the record remembers is rarely the one in
// force: an intensity outside the target's band is adjusted instead of refused. Nothing when
// the measurement may go on, else the exit code.
std::optional<int> adjustUvIntensity(MeasurementControl& measurement, clsTz4DataSet& record,
                                     const MeasureRequest& request, InstrumentSession& session,
                                     const StopSignals& interrupt)
{
    const float measured = record.Parameters(param::MeasuredLight).toFloat();
    const float target = record.Parameters(param::TargetLight).toFloat();
    const bool inBand = uvIntensityInBand(measured, target);
    if (inBand && !request.flag("adjust"))
        return std::nullopt;
    if (!inBand && !request.flag("adjust"))
        std::fprintf(stderr, "tz4 measure: the UV intensity %s nW is outside the band of the target %s nW; adjusting it first\n",
                     qUtf8Printable(shortestText(measured)), qUtf8Printable(shortestText(target)));
    const bool adjusted = measurement.AdjustUvIntensity();
    if (interrupt.stopped())
        return ExitCode::signalled(interrupt.signal());
    if (session.body().LinkLost())
        return ExitCode::LinkLost;
    if (!adjusted)
        return ExitCode::Failure;
    return std::nullopt;
}

// The measurement the database did not take: the exchange file it went to, on standard
// output where the key would stand, and why on standard error.
int reportExchangeFile(const RecordStoreResult& store, const clsTz4DataSet& record, const GlobalOptions& options)
{
    QTextStream out(stdout);
    if (options.json)
        out << QJsonDocument(QJsonObject{{QStringLiteral("exchange_file"), store.exchangeFile},
                                         {QStringLiteral("points"), record.DataCount()},
                                         {QStringLiteral("reason"), store.reason}})
                   .toJson(QJsonDocument::Compact)
            << Qt::endl;
    else
        out << store.exchangeFile << Qt::endl;
    out.flush();
    std::fprintf(stderr, "tz4 measure: %s\n",
                 qUtf8Printable(ownText(OwnText::WrittenToFile, {store.reason, store.exchangeFile})));
    return ExitCode::NotStored;
}

// Prints the stored record's key (or its JSON) and turns the outcome into the exit code.
int reportOutcome(MeasurementControl::Outcome outcome, const MeasurementControl& measurement,
                  const clsTz4DataSet& record, InstrumentSession& session, const GlobalOptions& options)
{
    const qsizetype failures = session.body().commandFailures().size();
    const RecordStoreResult& store = measurement.lastStore();
    if (!store.note.isEmpty())
        std::fprintf(stderr, "tz4 measure: %s\n", qUtf8Printable(store.note));
    switch (outcome) {
    case MeasurementControl::Outcome::WrittenToExchangeFile:
        return reportExchangeFile(store, record, options);
    case MeasurementControl::Outcome::NotStored:
        std::fprintf(stderr, "tz4 measure: the measurement could not be stored nor written to a file: %s\n",
                     qUtf8Printable(store.reason));
        return ExitCode::Failure;
    case MeasurementControl::Outcome::Saved:
    case MeasurementControl::Outcome::SavedWithErrors: {
        QTextStream out(stdout);
        if (options.json)
            out << QJsonDocument(QJsonObject{{QStringLiteral("key"), record.Key()},
                                             {QStringLiteral("points"), record.DataCount()},
                                             {QStringLiteral("failed_commands"), qint64(failures)}})
                       .toJson(QJsonDocument::Compact)
                << Qt::endl;
        else
            out << record.Key() << Qt::endl;
        if (outcome == MeasurementControl::Outcome::Saved)
            return ExitCode::Success;
        std::fprintf(stderr, "tz4 measure: stored, but the instrument reported errors during the measurement "
                             "(%d failed commands, see Caution.log)\n",
                     int(failures));
        return ExitCode::InstrumentErrors;
    }
    case MeasurementControl::Outcome::NotSaved:
        std::fprintf(stderr, "tz4 measure: the measurement was not saved\n");
        return ExitCode::Success;
    case MeasurementControl::Outcome::Cancelled:
        return ExitCode::signalled(SIGINT);
    case MeasurementControl::Outcome::LinkLost:
        return ExitCode::LinkLost;
    case MeasurementControl::Outcome::Failed:
        std::fprintf(stderr, "tz4 measure: the measurement could not be completed or stored (see Caution.log)\n");
        break;
    case MeasurementControl::Outcome::Refused:
        break;
    }
    return ExitCode::Failure;
}

} // namespace

int runMeasure(const GlobalOptions& options, const QStringList& args)
{
    auto parsedRequest = parseRequest(args);
    if (const int* refused = std::get_if<int>(&parsedRequest))
        return *refused;
    const MeasureRequest& request = std::get<MeasureRequest>(parsedRequest);

    Startup startup(createDatabaseIfMissing);
    if (!startup.run(options.home))
        return ExitCode::Failure;
    if (!startup.databaseReady()) {
        std::fprintf(stderr, "tz4 measure: the database %s cannot be used\n", qUtf8Printable(SystemParam().DatabasePath));
        return ExitCode::Failure;
    }

    std::unique_ptr<InstrumentSession> session;
    try {
        session = std::make_unique<InstrumentSession>(options);
    } catch (const std::invalid_argument& error) {
        return usageError(QString::fromUtf8(error.what()));
    }
    session->reporter().answer({msg::SaveThisData, msg::CalibrateByThisData},
                               request.flag("no") ? MessageAnswer::No : MessageAnswer::Yes);

    clsTz4DataSet record;
    if (const auto refused = prepareRecord(record, request))
        return *refused;

    MeasurementControl* control = nullptr;
    StopSignals interrupt([&](int) {
        if (control && control->measuring())
            control->CancelMeasurement();
        else
            session->body().setCanceled(true);
    });

    const qint32 phase = session->connect(request.flag("wait"), [&] { return interrupt.stopped(); });
    if (interrupt.stopped())
        return ExitCode::signalled(interrupt.signal());
    if (phase != MainControl::Ready) {
        std::fprintf(stderr, "tz4 measure: the instrument is not ready (phase %d: %s)\n", phase,
                     qUtf8Printable(phaseName(phase)));
        return ExitCode::Failure;
    }

    MeasurementControl measurement(session->main(), record);
    control = &measurement;
    measurement.setLocation(request.folder);
    // A measurement the database does not take goes into an exchange file beside it.
    measurement.setExchangeDirectory(dataDirectory());
    measurement.MakeMeasDefault(record.Key());
    applySettings(record, request);
    if (const auto stopped = adjustUvIntensity(measurement, record, request, *session, interrupt))
        return *stopped;

    // A stop while the finished record waits for the database ends the wait: the record then
    // goes into an exchange file.
    DatabaseWait::setStopRequest([] { return StopSignals::arrived() != 0; });
    const auto forget = qScopeGuard([] { DatabaseWait::setStopRequest({}); });
    const MeasurementControl::Outcome outcome = measurement.Measure();
    session->status().finishLine();
    // What was stored or written is reported as such, also when a stop came after the scan.
    const bool kept = outcome == MeasurementControl::Outcome::Saved
        || outcome == MeasurementControl::Outcome::SavedWithErrors
        || outcome == MeasurementControl::Outcome::WrittenToExchangeFile;
    if (interrupt.stopped() && !kept)
        return ExitCode::signalled(interrupt.signal());
    return reportOutcome(outcome, measurement, record, *session, options);
}

} // namespace tz4::cli
