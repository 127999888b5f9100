#include "instrument/QtSerialLine.h"

#include "core/MessageIds.h"
#include "instrument/PortAccess.h"
#include "instrument/SerialPorts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tz4 {

QtSerialLine::QtSerialLine(const QString& devicePath) : devicePath_(devicePath)
{
    QObject::connect(&port_, &QSerialPort::readyRead, [this] { notifyReceived(); });
    // A device that goes away (unplugged, the far end of a pseudo-terminal closed) closes the
    // line, so that waiting for a reply ends at once instead of at the time-out.
    QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError && port_.isOpen()) {
            cause_ = {{msg::PortVanished, {description()}}};
            port_.close();
            notifyRemoved();
        }
    });
}

namespace {

// The ports there are now, for the operator whose port has gone.
CatalogText portsPresent()
{
    QStringList devices;
    for (const SerialPortEntry& port : listSerialPorts())
        devices << port.device;
    if (devices.isEmpty())
        return {msg::NoPortsPresentNow, {}};
    return {msg::PortsPresentNow, {devices.join(QStringLiteral(", "))}};
}

} // namespace

bool QtSerialLine::fail(QList<CatalogText> cause)
{
    cause_ = std::move(cause);
    return false;
}

QString QtSerialLine::failureCause(Language language) const
{
    QStringList sentences;
    for (const CatalogText& part : cause_)
        sentences << part.text(language);
    return sentences.join(QLatin1Char(' '));
}

bool QtSerialLine::setDevicePath(const QString& path)
{
    port_.close();
    cause_.clear();
    devicePath_ = path;
    return true;
}

QString QtSerialLine::platformPortName(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

void QtSerialLine::setPortNumber(int port) { portNumber_ = port; }

void QtSerialLine::setSettings(const QString& settings)
{
    settings_ = settings;
    if (port_.isOpen())
        applySettings();
}

void QtSerialLine::applySettings()
{
    const QStringList parts = settings_.split(QLatin1Char(','));
    if (parts.size() != 4)
        return;
    port_.setBaudRate(parts[0].toInt());
    const QChar parity = parts[1].isEmpty() ? QLatin1Char('n') : parts[1].at(0).toLower();
    port_.setParity(parity == QLatin1Char('e')   ? QSerialPort::EvenParity
                    : parity == QLatin1Char('o') ? QSerialPort::OddParity
                                                 : QSerialPort::NoParity);
    port_.setDataBits(parts[2].toInt() == 8 ? QSerialPort::Data8 : QSerialPort::Data7);
    port_.setStopBits(parts[3].toInt() == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
}

bool QtSerialLine::open()
{
    if (port_.isOpen())
        return true;
    cause_.clear();
    const QString path = description();
    const QFileInfo info(path);
    if (!info.exists())
        return fail({{msg::PortMissing, {path}}, portsPresent()});
    if (info.isDir() || info.isFile())
        return fail({{msg::PortNotSerial, {path}}});
    port_.setPortName(path);
    if (!port_.open(QIODevice::ReadWrite)) {
#ifdef Q_OS_UNIX
        // A device that opens but takes no line settings (/dev/null) is no serial port.
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0) {
            const bool terminal = ::isatty(fd) == 1;
            ::close(fd);
            if (!terminal)
                return fail({{msg::PortNotSerial, {path}}});
        }
#endif
        // Qt reports a port another program holds (its lock) and one this user may not open
        // alike; only the second is fixed by the user's groups.
        if (port_.error() == QSerialPort::PermissionError) {
            if (serialDeviceState(path) == DeviceState::NoPermission)
                return fail({permissionProblem(path)});
            return fail({{msg::PortBusy, {path}}});
        }
        return fail({{msg::PortCannotOpen, {path, port_.errorString()}}});
    }
#ifdef Q_OS_UNIX
    if (!::isatty(int(port_.handle()))) {
        port_.close();
        return fail({{msg::PortNotSerial, {path}}});
    }
#endif
    applySettings();
    port_.setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal has no modem lines; failing to raise them is harmless.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(true);
    port_.clearError();
    port_.clear(QSerialPort::Input);
    return true;
}

void QtSerialLine::close() { port_.close(); }

bool QtSerialLine::isOpen() const { return port_.isOpen(); }

void QtSerialLine::write(const QByteArray& bytes)
{
    port_.write(bytes);
    port_.flush();
}

QByteArray QtSerialLine::readAll() { return port_.readAll(); }

void QtSerialLine::discardInput()
{
    port_.readAll();
    port_.clear(QSerialPort::Input);
}

QString QtSerialLine::description() const
{
    return devicePath_.isEmpty() ? platformPortName(portNumber_) : devicePath_;
}

} // namespace tz4
