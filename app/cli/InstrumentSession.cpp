#include "app/cli/InstrumentSession.h"

#include "core/PortChoice.h"
#include "core/SerialProperties.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"
#include "instrument/QtSerialLine.h"
#include "instrument/SerialPorts.h"
#include "sim/SimulatorLine.h"


#include <cstdio>

namespace tz4::cli {

PortInUse portInUse(const GlobalOptions& options)
{
    if (options.simulate)
        return {PortSource::Simulator, QStringLiteral("simulator")};
    if (!options.port.isEmpty())
        return {PortSource::CommandLine, serialDevicePath(options.port)};
    if (const QString chosen = chosenSerialDevice(); !chosen.isEmpty())
        return {PortSource::Chosen, chosen};
    // The settings file names the device ([SerialDevice]) or the port number (CommPort).
    SerialSettings serial;
    GetSystemFile(serial);
    return {PortSource::SettingsFile, settingsFilePort(serial.CommPort())};
}

std::unique_ptr<SerialLine> makeSerialLine(Clock& clock, const GlobalOptions& options)
{
    const PortInUse port = portInUse(options);
    setPortSource(port.source);
    if (port.source == PortSource::Simulator)
        return std::make_unique<sim::SimulatorLine>(clock, options.sim);
    // The settings file's port number is applied with the line settings when the port opens.
    if (port.source == PortSource::SettingsFile)
        return std::make_unique<QtSerialLine>(SystemParam().SerialDevice);
    return std::make_unique<QtSerialLine>(port.device);
}

InstrumentSession::InstrumentSession(const GlobalOptions& options)
    : line_(makeSerialLine(clock_, options)), body_(std::make_unique<uclTz4Body>(clock_, *line_)), reporter_(&status_)
{
    // The port settings come from the settings file; its absence leaves the defaults.
    QStringList unusable;
    GetSystemFile(*body_, &unusable);
    main_ = std::make_unique<MainControl>(clock_, *body_, status_);
    main_->Load();
    main_->setUnusableSettings(unusable);
}

InstrumentSession::~InstrumentSession()
{
    close();
    main_.reset();
    status_.finishLine();
}

QString InstrumentSession::lineDescription() const { return line_->description(); }

qint32 InstrumentSession::connect(bool waitForWarmUp, const std::function<bool()>& stop)
{
    qint32 phase = main_->GetBodyStatus();
    while (waitForWarmUp && phase == MainControl::WarmingUp) {
        while (main_->tmrWarmUpEnabled() && !(stop && stop()))
            clock_.yield();
        if (stop && stop())
            break;
        phase = main_->GetBodyStatus();
    }
    status_.finishLine();
    // A failed link check names its cause in its own message; a later step that fails says
    // only which step it was, so the cause the link saw follows here.
    if (phase != MainControl::Ready && phase != MainControl::WarmingUp && !main_->failureCauseShown())
        if (const QString cause = main_->failureCause(); !cause.isEmpty())
            std::fprintf(stderr, "tz4: cause: %s\n", qUtf8Printable(cause));
    return phase;
}

void InstrumentSession::close()
{
    if (!main_)
        return;
    main_->setTmrWarmUpEnabled(false);
    if (body_->PortOpen()) {
        body_->setTimerEnable(false);
        body_->setPortOpen(false);
    }
}

QString phaseName(qint32 phase)
{
    switch (phase) {
    case MainControl::NotConnected: return QStringLiteral("not connected");
    case MainControl::Initialized: return QStringLiteral("instrument initialised");
    case MainControl::WarmingUp: return QStringLiteral("warming up");
    case MainControl::LightReady: return QStringLiteral("light adjuster ready");
    case MainControl::SettingAnode: return QStringLiteral("setting the anode voltage");
    case MainControl::Ready: return QStringLiteral("ready");
    default: return QStringLiteral("unknown");
    }
}

} // namespace tz4::cli
