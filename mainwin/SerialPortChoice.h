#pragma once

#include <QString>

namespace tz4 {

class MainControl;
class SerialLine;

// What the connection dialog does, without widgets: the port in use and where it comes from,
// and the operator's choice, kept in the program's own settings for later runs and put into
// effect on the running line at once.
class SerialPortChoice {
public:
    SerialPortChoice(MainControl& control, SerialLine& line);

    // The device the line talks to now ("simulator" for the simulated instrument).
    QString currentDevice() const;
    // One line saying which port is in use and why, in the interface's language.
    QString currentNote() const;
    // The port an empty choice stands for: the settings file's.
    QString settingsFilePort() const;

    enum class Outcome {
        Applied,     // chosen, remembered and in use from now on
        Remembered,  // remembered for the next start; this run uses the simulator
        Kept,        // the operator kept the old port (a path that is not there)
        Refused,     // the instrument is busy; nothing changed
    };
    // Takes `typed` (a path, a port name such as ttyUSB0, or empty for the settings file's
    // port). Asks first when the device is not there; refuses while a connection sequence or
    // a measurement runs. An open link closes, so that the next Connect starts afresh.
    Outcome choose(const QString& typed);

private:
    MainControl& control_;
    SerialLine& line_;
};

} // namespace tz4
