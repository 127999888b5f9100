#pragma once

#include <QString>

namespace tz4 {

// The serial settings as the settings file reads and writes them. The instrument component
// implements this with its own acceptance rules (a rejected value leaves the old one);
// SerialSettings is the plain holder used where no instrument exists.
class SerialProperties {
public:
    virtual ~SerialProperties() = default;
    virtual qint16 CommPort() const = 0;
    virtual void setCommPort(qint16 port) = 0;
    virtual qint32 BaudRate() const = 0;
    virtual void setBaudRate(qint32 rate) = 0;
    virtual qint16 DataBits() const = 0;
    virtual void setDataBits(qint16 bits) = 0;
    virtual qint16 StopBits() const = 0;
    virtual void setStopBits(qint16 bits) = 0;
    virtual qint32 ParityBits() const = 0;
    virtual void setParityBits(qint32 parity) = 0;
};

class SerialSettings final : public SerialProperties {
public:
    qint16 CommPort() const override { return commPort_; }
    void setCommPort(qint16 port) override { commPort_ = port; }
    qint32 BaudRate() const override { return baudRate_; }
    void setBaudRate(qint32 rate) override
    {
        if (rate % 300 == 0)
            baudRate_ = rate;
    }
    qint16 DataBits() const override { return dataBits_; }
    void setDataBits(qint16 bits) override
    {
        if (bits == 7 || bits == 8)
            dataBits_ = bits;
    }
    qint16 StopBits() const override { return stopBits_; }
    void setStopBits(qint16 bits) override
    {
        if (bits == 1 || bits == 2)
            stopBits_ = bits;
    }
    qint32 ParityBits() const override { return parityBits_; }
    void setParityBits(qint32 parity) override { parityBits_ = parity; }

private:
    qint16 commPort_ = 1;
    qint32 baudRate_ = 19200;
    qint16 dataBits_ = 7;
    qint16 stopBits_ = 1;
    qint32 parityBits_ = 0;
};

} // namespace tz4
