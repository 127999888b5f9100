#include "instrument/PortSettings.h"

#include "core/ErrorLocation.h"

namespace tz4 {

namespace {

constexpr qint32 BaudStep = 300;
constexpr qint32 EvenParity = 1;
constexpr qint32 OddParity = 2;
constexpr qint16 HighestPort = 16;

} // namespace

bool PortSettings::PortOpen() const
{
    EnterProcedure here("uclTz4Body:PortOpen(Get)");
    return line_.isOpen();
}

void PortSettings::setPortOpen(bool open)
{
    EnterProcedure here("uclTz4Body:PortOpen(Let)");
    if (!open) {
        line_.close();
        return;
    }
    line_.setPortNumber(portToOpen(commPort_));
    line_.setSettings(openingText());
    line_.open();
}

qint16 PortSettings::portToOpen(qint16 commPort) { return commPort >= 1 && commPort <= HighestPort ? commPort : 1; }

void PortSettings::setCommPort(qint16 port)
{
    EnterProcedure here("uclTz4Body:CommPort(Let)");
    line_.setPortNumber(port);
    commPort_ = port;
}

void PortSettings::setBaudRate(qint32 rate)
{
    EnterProcedure here("uclTz4Body:BaudRate(Let)");
    // Zero and negative rates are multiples of 300 too, but no line runs at them.
    if (rate <= 0 || rate % BaudStep != 0)
        return;
    baudRate_ = rate;
    line_.setSettings(text());
}

void PortSettings::setDataBits(qint16 bits)
{
    EnterProcedure here("uclTz4Body:DataBits(Let)");
    if (bits != 7 && bits != 8)
        return;
    dataBits_ = bits;
    line_.setSettings(text());
}

void PortSettings::setStopBits(qint16 bits)
{
    EnterProcedure here("uclTz4Body:StopBits(Let)");
    if (bits != 1 && bits != 2)
        return;
    stopBits_ = bits;
    line_.setSettings(text());
}

void PortSettings::setParityBits(qint32 parity)
{
    EnterProcedure here("uclTz4Body:ParityBits(Let)");
    parityBits_ = parity;
    line_.setSettings(text());
}

QString PortSettings::text() const
{
    const char* parity = parityBits_ == EvenParity ? "e" : parityBits_ == OddParity ? "o" : "n";
    return QStringLiteral("%1,%2,%3,%4").arg(baudRate_).arg(QLatin1String(parity)).arg(dataBits_).arg(stopBits_);
}

QString PortSettings::openingText() const
{
    const QString baud = baudRate_ % BaudStep == 0 ? QString::number(baudRate_) : QStringLiteral("19200");
    const QString parity = parityBits_ == EvenParity ? QStringLiteral("E") : parityBits_ == OddParity ? QStringLiteral("O") : QStringLiteral("N");
    return QStringLiteral("%1,%2,%3,%4").arg(baud, parity).arg(dataBits_).arg(stopBits_);
}

} // namespace tz4
