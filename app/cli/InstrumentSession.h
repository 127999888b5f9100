#pragma once

#include "app/cli/CommandLine.h"
#include "app/cli/HeadlessReporter.h"
#include "app/cli/TerminalStatusBar.h"
#include "core/Clock.h"
#include "core/PortChoice.h"
#include "instrument/Tz4Body.h"
#include "mainwin/MainControl.h"

#include <memory>

namespace tz4::cli {

// The instrument as a headless command uses it: the simulated one (--simulate) or the serial
// device of --port, else of the settings file, with the main window's connection logic, a
// terminal status bar and answered message boxes. The settings file must have been loaded
// into SystemParam (start-up) before.
class InstrumentSession {
public:
    // Throws std::invalid_argument for simulator options it cannot use.
    explicit InstrumentSession(const GlobalOptions& options);
    ~InstrumentSession();

    Clock& clock() { return clock_; }
    uclTz4Body& body() { return *body_; }
    MainControl& main() { return *main_; }
    TerminalStatusBar& status() { return status_; }
    HeadlessReporter& reporter() { return reporter_; }
    QString lineDescription() const;

    // Runs the connection sequence; with `waitForWarmUp` a warming instrument is waited for
    // and the sequence continued. `stop` ends the wait early. Returns the phase reached.
    qint32 connect(bool waitForWarmUp, const std::function<bool()>& stop = {});

    // As the main window closes: the timer stops and the port closes.
    void close();

private:
    RealClock clock_;
    std::unique_ptr<SerialLine> line_;
    std::unique_ptr<uclTz4Body> body_;
    TerminalStatusBar status_;
    HeadlessReporter reporter_;
    std::unique_ptr<MainControl> main_;
};

// The port the options and files name, strongest first: the simulator (--simulate), the device
// of --port, the port chosen in the window program, the settings file's. Reads the settings
// file of the data directory in use.
struct PortInUse {
    PortSource source;
    QString device;
};
PortInUse portInUse(const GlobalOptions& options);

// The line to that port. Throws std::invalid_argument for simulator options it cannot use.
std::unique_ptr<SerialLine> makeSerialLine(Clock& clock, const GlobalOptions& options);

// Text for a connection phase, as `tz4 connect` prints it.
QString phaseName(qint32 phase);

} // namespace tz4::cli
