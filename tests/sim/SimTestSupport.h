#pragma once

#include "core/Clock.h"
#include "sim/SimOptions.h"
#include "sim/SimulatorLine.h"

#include <QByteArray>

namespace tz4::sim::test {

// Talks to the in-process simulator on a virtual clock, one command at a time, the way the
// host does: write the line, then let time run until a CR has arrived.
class Conversation {
public:
    explicit Conversation(const SimOptions& options = {}) : line(clock, options)
    {
        line.setReceiveHandler([this] {
            received += line.readAll();
            ++receiveEvents;
        });
        line.open();
    }

    struct Answer {
        QByteArray text;
        qint64 elapsedMs;
    };

    Answer ask(const QByteArray& command)
    {
        received.clear();
        receiveEvents = 0;
        const qint64 start = clock.nowMs();
        line.write(command + '\r');
        while (!received.contains('\r'))
            clock.yield();
        return {received.left(received.indexOf('\r')), clock.nowMs() - start};
    }

    QByteArray text(const QByteArray& command) { return ask(command).text; }
    double number(const QByteArray& command) { return text(command).toDouble(); }
    // Two consecutive memory words read with "WO", joined.
    QByteArray twoWords()
    {
        const QByteArray first = text("WO");
        return first + text("WO");
    }

    VirtualClock clock;
    SimulatorLine line;
    QByteArray received;
    int receiveEvents = 0;
};

inline SimOptions withFaults(const QStringList& faults)
{
    SimOptions options;
    options.faults = faults;
    return options;
}

} // namespace tz4::sim::test
