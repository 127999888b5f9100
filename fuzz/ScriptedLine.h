#pragma once

#include "core/Clock.h"
#include "core/SerialLine.h"

#include <QByteArray>
#include <QString>

#include <utility>

namespace tz4::fuzz {

// A serial line whose far end answers every command with bytes the input chose, delivered in
// chunks after delays on the virtual clock.
class ScriptedLine : public SerialLine {
public:
    explicit ScriptedLine(VirtualClock& clock) : clock_(clock) {}

    QByteArray delivered; // every byte that reached the receive handler, in order

    void setPortNumber(int) override {}
    void setSettings(const QString& settings) override { settings_ = settings; }
    QString settings() const override { return settings_; }
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(const QByteArray& bytes) final { answer(bytes); }
    QByteArray readAll() override
    {
        delivered += pending_;
        return std::exchange(pending_, {});
    }
    void discardInput() override { pending_.clear(); }
    QString description() const override { return QStringLiteral("fuzz"); }

protected:
    // The command as written, with its CR.
    virtual void answer(const QByteArray& command) = 0;
    void deliver(int afterMs, const QByteArray& chunk)
    {
        clock_.startTimer(afterMs, [this, chunk] {
            pending_ += chunk;
            notifyReceived();
        }, false);
    }

private:
    VirtualClock& clock_;
    QByteArray pending_;
    QString settings_;
    bool open_ = false;
};

} // namespace tz4::fuzz
