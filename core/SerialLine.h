#pragma once

#include "core/MessageCatalog.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace tz4 {

// The one I/O seam between the instrument protocol and whatever is at the other end of the
// line: a real serial device, or the simulator. Modelled on a serial control with a port
// number, a settings text ("19200,n,7,1"), raw byte input and a per-arrival receive event.
class SerialLine {
public:
    using ReceiveHandler = std::function<void()>;
    using RemovalHandler = std::function<void()>;

    virtual ~SerialLine() = default;

    virtual void setPortNumber(int port) = 0;
    // Line settings as "baud,parity letter,data bits,stop bits", e.g. "19200,n,7,1".
    virtual void setSettings(const QString& settings) = 0;
    virtual QString settings() const = 0;
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray& bytes) = 0;
    // All received bytes not yet read.
    virtual QByteArray readAll() = 0;
    virtual void discardInput() = 0;
    // Human-readable name of the far end (device path, "simulator").
    virtual QString description() const = 0;
    // Why the last open failed or the line was lost, in a few plain words of `language`;
    // empty when nothing went wrong on the line itself. Logs take the English one.
    virtual QString failureCause(Language language) const
    {
        (void)language;
        return {};
    }
    QString failureCause() const { return failureCause(currentLanguage()); }
    // Points the line at another serial device (closed first); false for a line that has no
    // device to choose, such as the simulator.
    virtual bool setDevicePath(const QString& path)
    {
        (void)path;
        return false;
    }
    // Seconds that pass at the far end for each second of the program's clock: 1 for a real
    // instrument, more for a simulated one run faster. Waits that give the instrument's own
    // physics time to act (a purge of the counter) are measured in its time.
    virtual double farEndTimeScale() const { return 1.0; }

    // Called whenever bytes have arrived.
    void setReceiveHandler(ReceiveHandler handler) { onReceive_ = std::move(handler); }
    // Called when the device behind the line went away (unplugged).
    void setRemovalHandler(RemovalHandler handler) { onRemoval_ = std::move(handler); }

protected:
    void notifyReceived()
    {
        if (onReceive_)
            onReceive_();
    }

    void notifyRemoved()
    {
        if (onRemoval_)
            onRemoval_();
    }

private:
    ReceiveHandler onReceive_;
    RemovalHandler onRemoval_;
};

} // namespace tz4
