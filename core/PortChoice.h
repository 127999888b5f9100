#pragma once

#include <QString>

namespace tz4 {

// The program's own settings file in the data directory, beside the settings file whose keys
// are fixed: where the windows were left and the serial port the operator chose.
QString programSettingsFileName();

// The serial device chosen in the window program; empty when none is, and the settings file's
// port is used.
QString chosenSerialDevice();
void setChosenSerialDevice(const QString& device);

// Where the port in use comes from, strongest first: the simulator (--simulate), --port for one
// run, the operator's choice, the settings file ([SerialDevice], else CommPort).
enum class PortSource { Simulator, CommandLine, Chosen, SettingsFile };
PortSource portSource();
void setPortSource(PortSource source);

} // namespace tz4
