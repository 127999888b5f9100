#include "app/cli/CommandArgs.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/InstrumentCommands.h"
#include "app/cli/InstrumentSession.h"
#include "app/cli/RecordStore.h"
#include "core/ErrorReporter.h"
#include "core/Formats.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "core/Startup.h"
#include "core/StopSignals.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/Tz4DataSet.h"
#include "datawin/LightSignal.h"
#include "datawin/MeasurementControl.h"
#include "datawin/MeasurementSettingsCheck.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <stdexcept>

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
        if (const auto problem = checkSettingValue(s.parameter, *number))
            return refusedSetting(*problem);
        settings.append({s.parameter, *number});
    }
    std::optional<double> folder = 0.0;
    if (parsed.values.contains(QStringLiteral("folder"))) {
        folder = parseNumber(parsed.value(QStringLiteral("folder")));
        if (!folder || *folder != qint32(*folder) || *folder < 0)
            return usageError(QStringLiteral("--folder needs a folder number"));
    }

    const QString sample = parsed.values.value(QStringLiteral("sample"), QStringLiteral("NewSample"));
    if (const auto problem = checkSampleName(sample))
        return refusedSetting(*problem);

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
    const MessageAnswer save = parsed.flags.contains(QStringLiteral("no")) ? MessageAnswer::No : MessageAnswer::Yes;
    session->reporter().answer({msg::SaveThisData, msg::CalibrateByThisData}, save);

    // A new record starts from the settings of the latest record of its kind.
    clsTz4DataSet record;
    record.setDataBaseName(SystemParam().DatabasePath);
    record.setKey(letter);
    record.ReLoad();
    const auto applySettings = [&] {
        record.setParameters(param::SampleName, sample);
        for (const auto& [parameter, value] : settings)
            record.setParameters(parameter, value);
    };

    // The whole set (typed values over those of the latest record) is checked before the
    // instrument is touched: a bad stored default must not reach it either.
    applySettings();
    if (!folderExists(qint32(*folder))) {
        showCatalogMessage(msg::SetLocation, msg::NoLocationTitle, MessageIcon::Information);
        return usageError(QStringLiteral("--folder: there is no folder %1").arg(qint32(*folder)));
    }
    if (const auto problem = checkMeasurementSettings(record))
        return refusedSetting(*problem);

    MeasurementControl* control = nullptr;
    StopSignals interrupt([&](int) {
        if (control && control->measuring())
            control->CancelMeasurement();
        else
            session->body().setCanceled(true);
    });

    const qint32 phase = session->connect(parsed.flags.contains(QStringLiteral("wait")),
                                          [&] { return interrupt.stopped(); });
    if (interrupt.stopped())
        return ExitCode::signalled(interrupt.signal());
    if (phase != MainControl::Ready) {
        std::fprintf(stderr, "tz4 measure: the instrument is not ready (phase %d: %s)\n", phase,
                     qUtf8Printable(phaseName(phase)));
        return ExitCode::Failure;
    }

    MeasurementControl measurement(session->main(), record);
    control = &measurement;
    measurement.setLocation(qint32(*folder));
    measurement.MakeMeasDefault(record.Key());
    applySettings();

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
        if (interrupt.stopped())
            return ExitCode::signalled(interrupt.signal());
        if (session->body().LinkLost())
            return ExitCode::LinkLost;
        if (!adjusted)
            return ExitCode::Failure;
    }

    const MeasurementControl::Outcome outcome = measurement.Measure();
    session->status().finishLine();
    if (interrupt.stopped())
        return ExitCode::signalled(interrupt.signal());
    QTextStream out(stdout);
    switch (outcome) {
    case MeasurementControl::Outcome::Saved:
    case MeasurementControl::Outcome::SavedWithErrors:
        if (options.json)
            out << QJsonDocument(QJsonObject{{QStringLiteral("key"), record.Key()},
                                             {QStringLiteral("points"), record.DataCount()},
                                             {QStringLiteral("failed_commands"),
                                              qint64(session->body().commandFailures().size())}})
                       .toJson(QJsonDocument::Compact)
                << Qt::endl;
        else
            out << record.Key() << Qt::endl;
        if (outcome == MeasurementControl::Outcome::Saved)
            return ExitCode::Success;
        std::fprintf(stderr, "tz4 measure: stored, but the instrument reported errors during the measurement "
                             "(%d failed commands, see Caution.log)\n",
                     int(session->body().commandFailures().size()));
        return ExitCode::InstrumentErrors;
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

} // namespace tz4::cli
