#include "app/cli/PortsCommand.h"

#include "app/cli/CommandArgs.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/InstrumentSession.h"
#include "core/MessageCatalog.h"
#include "core/DataDirectory.h"
#include "core/MessageIds.h"
#include "core/SystemParam.h"
#include "core/Tz4Error.h"
#include "instrument/PortAccess.h"
#include "instrument/SerialPorts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

namespace {

const char* sourceName(PortSource source)
{
    switch (source) {
    case PortSource::Simulator: return "simulator";
    case PortSource::CommandLine: return "port-option";
    case PortSource::Chosen: return "chosen";
    case PortSource::SettingsFile: return "settings-file";
    }
    return "";
}

const char* sourceText(PortSource source)
{
    switch (source) {
    case PortSource::Simulator: return "the simulated instrument (--simulate)";
    case PortSource::CommandLine: return "given by --port for this run only";
    case PortSource::Chosen: return "chosen in the window program";
    case PortSource::SettingsFile: return "from the settings file TZ4Sys.ini";
    }
    return "";
}

const char* stateName(DeviceState state)
{
    switch (state) {
    case DeviceState::Present: return "present";
    case DeviceState::Missing: return "missing";
    case DeviceState::NotSerial: return "not-serial";
    case DeviceState::NoPermission: return "no-permission";
    }
    return "";
}

QString reason(DeviceState state, const QString& device)
{
    switch (state) {
    case DeviceState::Present: return {};
    case DeviceState::Missing: return GetRes(msg::PortMissing, {device});
    case DeviceState::NotSerial: return GetRes(msg::PortNotSerial, {device});
    case DeviceState::NoPermission: return permissionProblem(device).text(currentLanguage());
    }
    return {};
}

// What keeps the port from opening, in the interface's language, with a terminal's line ends;
// empty when nothing does.
QString problem(DeviceState state, const QString& device)
{
    return reason(state, device).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QJsonObject portObject(const SerialPortEntry& port)
{
    QJsonObject object{{QStringLiteral("device"), port.device},
                       {QStringLiteral("description"), port.description},
                       {QStringLiteral("manufacturer"), port.manufacturer},
                       {QStringLiteral("serial_number"), port.serialNumber},
                       {QStringLiteral("usb_id"), port.usbId()}};
    return object;
}

} // namespace

int runPorts(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {}, parsed); error || !parsed.positional.isEmpty()) {
        std::fprintf(stderr, "tz4 ports: %s\n",
                     qUtf8Printable(error ? *error : QStringLiteral("unexpected argument '%1'").arg(parsed.positional.first())));
        return ExitCode::Usage;
    }
    // The choice and the settings file live in the data directory; without one the defaults
    // name the port.
    InitSystemParam();
    bool haveHome = true;
    try {
        useExistingDataDirectory(resolveDataDirectory(options.home));
    } catch (const Tz4Error&) {
        haveHome = false;
    }
    const PortInUse inUse = haveHome || options.simulate || !options.port.isEmpty()
        ? portInUse(options)
        : PortInUse{PortSource::SettingsFile, settingsFilePort(1)};

    const QList<SerialPortEntry> ports = listSerialPorts();
    bool listed = false;
    for (const SerialPortEntry& port : ports)
        listed = listed || port.device == inUse.device;
    const bool simulated = inUse.source == PortSource::Simulator;
    const DeviceState state = simulated ? DeviceState::Present : serialDeviceState(inUse.device);

    QTextStream out(stdout);
    if (options.json) {
        QJsonArray list;
        for (const SerialPortEntry& port : ports)
            list.append(portObject(port));
        QJsonObject used{{QStringLiteral("device"), inUse.device},
                         {QStringLiteral("source"), QLatin1String(sourceName(inUse.source))},
                         {QStringLiteral("listed"), listed},
                         {QStringLiteral("state"), QLatin1String(simulated ? "simulator" : stateName(state))}};
        if (const QString why = problem(state, inUse.device); !why.isEmpty())
            used.insert(QStringLiteral("problem"), why);
        out << QJsonDocument(QJsonObject{{QStringLiteral("ports"), list}, {QStringLiteral("in_use"), used}})
                   .toJson(QJsonDocument::Compact)
            << Qt::endl;
        return ExitCode::Success;
    }
    for (const SerialPortEntry& port : ports)
        out << port.device << '\t' << port.description << '\t' << port.manufacturer << '\t' << port.usbId() << '\t'
            << port.serialNumber << '\n';
    out.flush();

    QString note = simulated ? QStringLiteral("tz4: the instrument is %1").arg(QLatin1String(sourceText(inUse.source)))
                             : QStringLiteral("tz4: the instrument's port is %1, %2").arg(inUse.device, QLatin1String(sourceText(inUse.source)));
    if (!simulated && state == DeviceState::Present && !listed)
        note += QStringLiteral("; the system does not list it, but it is there");
    std::fprintf(stderr, "%s\n", qUtf8Printable(note));
    if (!simulated && ports.isEmpty())
        std::fprintf(stderr, "tz4: %s\n", qUtf8Printable(GetRes(msg::NoPortsPresentNow)));
    if (const QString why = problem(state, inUse.device); !why.isEmpty())
        std::fprintf(stderr, "tz4: %s\n", qUtf8Printable(why));
    return ExitCode::Success;
}

} // namespace tz4::cli
