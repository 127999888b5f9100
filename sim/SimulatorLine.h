#pragma once

#include "core/Clock.h"
#include "core/SerialLine.h"
#include "sim/SimOptions.h"
#include "sim/SimulatorSession.h"

namespace tz4::sim {

// The simulated instrument as a serial line inside the process: what is written reaches the
// simulator at once, and its answers arrive on `clock` after the time the instrument takes.
class SimulatorLine final : public SerialLine {
public:
    // Throws std::invalid_argument for fault entries it cannot read.
    SimulatorLine(Clock& clock, const SimOptions& options);

    void setPortNumber(int port) override { port_ = port; }
    void setSettings(const QString& settings) override { settings_ = settings; }
    QString settings() const override { return settings_; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    void discardInput() override { received_.clear(); }
    QString description() const override;
    double farEndTimeScale() const override { return speed_; }

    int portNumber() const { return port_; }
    Tz4Simulator& simulator() { return session_.simulator(); }
    SimulatorSession& session() { return session_; }

private:
    void deliver(const QByteArray& bytes);

    SimulatorSession session_;
    QString settings_ = QStringLiteral("19200,n,7,1");
    QByteArray received_;
    int port_ = 1;
    bool open_ = false;
    double speed_ = 1.0;
};

} // namespace tz4::sim
