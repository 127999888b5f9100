#pragma once

#include "core/SerialLine.h"

#include <QString>

namespace tz4 {

// The line settings the component keeps, with their acceptance rules (a rejected value leaves
// the old one), applied to the line as they change and when the port opens.
class PortSettings {
public:
    explicit PortSettings(SerialLine& line) : line_(line) {}

    bool PortOpen() const;
    // Opens with the held settings (an out-of-range port opens port 1, an unusual rate 19200).
    void setPortOpen(bool open);

    qint16 CommPort() const { return commPort_; }
    // The port number that opens for `CommPort`: the number itself in 1..16, else 1.
    static qint16 portToOpen(qint16 commPort);
    void setCommPort(qint16 port);
    qint32 BaudRate() const { return baudRate_; }
    void setBaudRate(qint32 rate);
    qint16 DataBits() const { return dataBits_; }
    void setDataBits(qint16 bits);
    qint16 StopBits() const { return stopBits_; }
    void setStopBits(qint16 bits);
    qint32 ParityBits() const { return parityBits_; }
    void setParityBits(qint32 parity);

    // The settings as the line takes them, e.g. "19200,n,7,1".
    QString text() const;

private:
    QString openingText() const;

    SerialLine& line_;
    qint16 commPort_ = 1;
    qint32 baudRate_ = 19200;
    qint16 dataBits_ = 7;
    qint16 stopBits_ = 1;
    qint32 parityBits_ = 0;
};

} // namespace tz4
