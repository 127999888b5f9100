#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace tz4 {

// One serial port the system knows of, as the connection dialog and `tz4 ports` show it.
struct SerialPortEntry {
    QString device;       // the path to open, e.g. /dev/ttyUSB0
    QString description;  // what the driver or the USB device calls itself
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId;  // USB adapters only
    std::optional<quint16> productId;

    // "0403:6001" for a USB adapter, empty otherwise.
    QString usbId() const;
};

// The serial ports the system enumerates, ordered by device path. Pseudo-terminals and
// devices without a driver the system reports are not among them; they can still be typed.
QList<SerialPortEntry> listSerialPorts();

// A typed port as a device path: "ttyUSB0" or "COM3" become the system's location of that
// name, a path stays as it is; surrounding blanks go.
QString serialDevicePath(const QString& typed);

// The device the settings file names: its [SerialDevice] (in SystemParam), else the
// platform's port number `commPort`.
QString settingsFilePort(qint16 commPort);

// What stands at `path` without opening it (opening a port raises its modem lines, which
// resets some instruments).
enum class DeviceState { Present, Missing, NotSerial, NoPermission };
DeviceState serialDeviceState(const QString& path);

} // namespace tz4
