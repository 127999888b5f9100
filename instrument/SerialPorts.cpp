#include "instrument/SerialPorts.h"

#include "core/SystemParam.h"
#include "instrument/PortSettings.h"
#include "instrument/QtSerialLine.h"

#include <QFile>
#include <QSerialPortInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tz4 {

QString SerialPortEntry::usbId() const
{
    if (!vendorId || !productId)
        return {};
    return QStringLiteral("%1:%2").arg(*vendorId, 4, 16, QLatin1Char('0')).arg(*productId, 4, 16, QLatin1Char('0'));
}

QList<SerialPortEntry> listSerialPorts()
{
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry entry{info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber(),
                              std::nullopt, std::nullopt};
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            entry.vendorId = info.vendorIdentifier();
            entry.productId = info.productIdentifier();
        }
        ports << entry;
    }
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortEntry& a, const SerialPortEntry& b) { return a.device < b.device; });
    return ports;
}

QString serialDevicePath(const QString& typed)
{
    const QString name = typed.trimmed();
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return name;
    return QSerialPortInfo(name).systemLocation();
}

QString settingsFilePort(qint16 commPort)
{
    if (!SystemParam().SerialDevice.isEmpty())
        return SystemParam().SerialDevice;
    return QtSerialLine::platformPortName(PortSettings::portToOpen(commPort));
}

DeviceState serialDeviceState(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return DeviceState::Missing;
    if (!S_ISCHR(st.st_mode))
        return DeviceState::NotSerial;
    if (::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0)
        return DeviceState::NoPermission;
    return DeviceState::Present;
#else
    // Ports such as COM3 are no files; only opening one tells.
    (void)path;
    return DeviceState::Present;
#endif
}

} // namespace tz4
