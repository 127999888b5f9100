#include "app/cli/InstrumentSession.h"

#include "core/SerialProperties.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"
#include "instrument/QtSerialLine.h"
#include "sim/SimulatorLine.h"

#include <QFileInfo>

#include <cstdio>

namespace tz4::cli {

namespace {

std::unique_ptr<SerialLine> makeLine(Clock& clock, const GlobalOptions& options)
{
    if (options.simulate)
        return std::make_unique<sim::SimulatorLine>(clock, options.sim);
    if (!options.port.isEmpty())
        return std::make_unique<QtSerialLine>(options.port);
    // The settings file names the device ([SerialDevice]) or the port number (CommPort).
    SerialSettings serial;
    GetSystemFile(serial);
    return std::make_unique<QtSerialLine>(SystemParam().SerialDevice);
}

} // namespace

InstrumentSession::InstrumentSession(const GlobalOptions& options)
    : simulated_(options.simulate), line_(makeLine(clock_, options)), body_(std::make_unique<uclTz4Body>(clock_, *line_)), reporter_(&status_)
{
    // The port settings come from the settings file; its absence leaves the defaults.
    GetSystemFile(*body_);
    main_ = std::make_unique<MainControl>(clock_, *body_, status_);
    main_->Load();
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
    if (phase == MainControl::NotConnected && !simulated_ && !QFileInfo::exists(line_->description()))
        std::fprintf(stderr, "tz4: the serial device %s does not exist (see --port)\n",
                     qUtf8Printable(line_->description()));
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
