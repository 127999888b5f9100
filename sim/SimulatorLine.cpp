#include "sim/SimulatorLine.h"

namespace tz4::sim {

SimulatorLine::SimulatorLine(Clock& clock, const SimOptions& options)
    : session_(clock, options, [this](const QByteArray& bytes) { deliver(bytes); }),
      speed_(options.speed > 0 ? options.speed : 1.0)
{
}

bool SimulatorLine::open()
{
    open_ = true;
    return true;
}

void SimulatorLine::close()
{
    open_ = false;
    received_.clear();
}

void SimulatorLine::write(const QByteArray& bytes)
{
    if (open_)
        session_.receive(bytes);
}

QByteArray SimulatorLine::readAll()
{
    QByteArray bytes;
    bytes.swap(received_);
    return bytes;
}

QString SimulatorLine::description() const { return QStringLiteral("simulator"); }

void SimulatorLine::deliver(const QByteArray& bytes)
{
    // Answers to a closed port are lost, as on a real line.
    if (!open_)
        return;
    received_ += bytes;
    notifyReceived();
}

} // namespace tz4::sim
