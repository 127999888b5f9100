#pragma once

#include <QByteArray>
#include <QSerialPort>

namespace tz4::test {

// One command as a host sends it on an open port, and the reply up to its carriage return
// (empty when none came).
inline QByteArray askOnPort(QSerialPort& port, const QByteArray& command)
{
    port.write(command + '\r');
    port.waitForBytesWritten(1000);
    QByteArray reply;
    while (!reply.contains('\r') && port.waitForReadyRead(5000))
        reply += port.readAll();
    return reply;
}

} // namespace tz4::test
