#include "mainwin/SerialPortChoice.h"

#include "mainwin/MainControl.h"
#include "mainwin/StatusBar.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/PortChoice.h"
#include "core/SerialLine.h"
#include "core/SystemParam.h"
#include "instrument/SerialPorts.h"
#include "instrument/Tz4Body.h"

namespace tz4 {

SerialPortChoice::SerialPortChoice(MainControl& control, SerialLine& line) : control_(control), line_(line) {}

QString SerialPortChoice::currentDevice() const { return line_.description(); }

QString SerialPortChoice::settingsFilePort() const { return tz4::settingsFilePort(control_.body().CommPort()); }

QString SerialPortChoice::currentNote() const
{
    switch (portSource()) {
    case PortSource::Simulator:
        return GetRes(msg::PortSimulated, {QStringLiteral("--simulate")});
    case PortSource::CommandLine:
        return GetRes(msg::PortFromCommandLine, {currentDevice(), QStringLiteral("--port")});
    case PortSource::Chosen:
        return GetRes(msg::PortFromChoice, {currentDevice()});
    case PortSource::SettingsFile:
        break;
    }
    return GetRes(msg::PortFromSettingsFile, {currentDevice(), QStringLiteral("TZ4Sys.ini")});
}

SerialPortChoice::Outcome SerialPortChoice::choose(const QString& typed)
{
    EnterProcedure here("frmMain:mnuSerialPort_Click");
    uclTz4Body& body = control_.body();
    // The line must not change under a running sequence or measurement.
    if (body.Busy() || body.Locked() || control_.status().Locked() != 0) {
        showCatalogMessage(msg::PortChangeWhileBusy, msg::SerialPortTitle, MessageIcon::Exclamation);
        return Outcome::Refused;
    }
    const QString device = serialDevicePath(typed);
    if (!device.isEmpty() && serialDeviceState(device) == DeviceState::Missing
        && showCatalogMessage(msg::PortNotPresent, msg::SerialPortTitle, MessageIcon::Question, MessageButtons::YesNo,
                              {device})
            != MessageAnswer::Yes)
        return Outcome::Kept;

    setChosenSerialDevice(device);
    const PortSource source = device.isEmpty() ? PortSource::SettingsFile : PortSource::Chosen;
    // The same device again keeps a live connection.
    if ((device.isEmpty() ? settingsFilePort() : device) == line_.description()) {
        setPortSource(source);
        return Outcome::Applied;
    }
    // No choice: back to the settings file's device, or its numbered port.
    if (!line_.setDevicePath(device.isEmpty() ? SystemParam().SerialDevice : device))
        return Outcome::Remembered;
    control_.forgetConnection();
    setPortSource(source);
    return Outcome::Applied;
}

} // namespace tz4
