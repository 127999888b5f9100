#include "instrument/QtSerialLine.h"

#include <QStringList>

namespace tz4 {

QtSerialLine::QtSerialLine(const QString& devicePath) : devicePath_(devicePath)
{
    QObject::connect(&port_, &QSerialPort::readyRead, [this] { notifyReceived(); });
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
    port_.setPortName(devicePath_.isEmpty() ? platformPortName(portNumber_) : devicePath_);
    if (!port_.open(QIODevice::ReadWrite))
        return false;
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
