#pragma once

#include "core/Clock.h"
#include "core/SerialLine.h"
#include "instrument/Tz4Body.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QVariant>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

namespace tz4::test {

// A serial line that answers from a script through the virtual clock. It records every command
// with the time-out in force when it was written, and can split, merge or withhold replies.
class ScriptedLine final : public SerialLine {
public:
    struct Sent {
        QString command;
        int overTime;
        qint64 atMs;
    };
    // The chunks one reply arrives in; each arrives `delayMs` after the previous one.
    using Chunks = QList<QByteArray>;

    explicit ScriptedLine(VirtualClock& clock) : clock_(clock) {}

    void setOverTimeProbe(std::function<int()> probe) { overTimeProbe_ = std::move(probe); }

    // Standing reply to an exact command (CR added).
    void on(const QString& command, const QString& reply) { standing_[command] = reply; }
    // Replies used once each, in order, before the standing reply of that command.
    void queue(const QString& command, const QStringList& replies)
    {
        for (const QString& reply : replies)
            once_[command].push_back(Chunks{reply.toLatin1() + '\r'});
    }
    void queueChunks(const QString& command, const Chunks& chunks) { once_[command].push_back(chunks); }
    // The next time `command` is sent, nothing comes back.
    void withhold(const QString& command) { once_[command].push_back(Chunks{}); }
    // Computes replies for a command; an empty optional falls back to the script.
    void setResponder(std::function<std::optional<QString>(const QString&)> responder)
    {
        responder_ = std::move(responder);
    }
    // Bytes that arrive on their own, `afterMs` from now.
    void inject(const QByteArray& bytes, int afterMs)
    {
        clock_.startTimer(afterMs, [this, bytes] { arrive(bytes); }, false);
    }

    QString defaultReply = QStringLiteral("0");
    int delayMs = 20;
    bool failOpen = false;

    std::vector<Sent> sent;
    QStringList commands() const
    {
        QStringList out;
        for (const Sent& s : sent)
            out << s.command;
        return out;
    }
    QList<int> overTimes() const
    {
        QList<int> out;
        for (const Sent& s : sent)
            out << s.overTime;
        return out;
    }
    void clearSent() { sent.clear(); }

    int portNumber = 0;
    QString settingsText;
    QByteArray rawWrites;
    int discards = 0;

    void setPortNumber(int port) override { portNumber = port; }
    void setSettings(const QString& settings) override { settingsText = settings; }
    QString settings() const override { return settingsText; }
    bool open() override
    {
        open_ = !failOpen;
        return open_;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(const QByteArray& bytes) override
    {
        rawWrites += bytes;
        const QString command = QString::fromLatin1(bytes).chopped(bytes.endsWith('\r') ? 1 : 0);
        sent.push_back({command, overTimeProbe_ ? overTimeProbe_() : -1, clock_.nowMs()});
        const Chunks chunks = answer(command);
        for (qsizetype i = 0; i < chunks.size(); ++i)
            inject(chunks[i], delayMs * int(i + 1));
    }
    QByteArray readAll() override
    {
        QByteArray out;
        out.swap(pending_);
        return out;
    }
    void discardInput() override
    {
        ++discards;
        pending_.clear();
    }
    QString description() const override { return QStringLiteral("script"); }

private:
    Chunks answer(const QString& command)
    {
        if (auto it = once_.find(command); it != once_.end() && !it->second.empty()) {
            Chunks chunks = it->second.front();
            it->second.pop_front();
            return chunks;
        }
        if (responder_)
            if (auto reply = responder_(command))
                return {reply->toLatin1() + '\r'};
        if (auto it = standing_.find(command); it != standing_.end())
            return {it->second.toLatin1() + '\r'};
        return {defaultReply.toLatin1() + '\r'};
    }
    void arrive(const QByteArray& bytes)
    {
        pending_ += bytes;
        notifyReceived();
    }

    VirtualClock& clock_;
    std::function<int()> overTimeProbe_;
    std::function<std::optional<QString>(const QString&)> responder_;
    std::map<QString, QString> standing_;
    std::map<QString, std::deque<Chunks>> once_;
    QByteArray pending_;
    bool open_ = false;
};

// Records every emission of one signal, each as the list of its arguments.
class Spy {
public:
    template <typename Object, typename... Args> Spy(Object* object, void (Object::*signal)(Args...))
    {
        QObject::connect(object, signal, &context_, [this](Args... args) {
            calls_.push_back(QVariantList{QVariant::fromValue(std::decay_t<Args>(args))...});
        });
    }
    qsizetype size() const { return qsizetype(calls_.size()); }
    bool isEmpty() const { return calls_.empty(); }
    const QVariantList& operator[](qsizetype i) const { return calls_.at(size_t(i)); }
    const QVariantList& last() const { return calls_.back(); }
    void clear() { calls_.clear(); }

private:
    QObject context_;
    std::vector<QVariantList> calls_;
};

// A component on a scripted line with the timer running and the port open.
class ScriptedBody : public ::testing::Test {
protected:
    ScriptedBody()
    {
        line.setOverTimeProbe([this] { return body.OverTime(); });
        body.setTimerEnable(true);
        body.setPortOpen(true);
    }

    VirtualClock clock;
    ScriptedLine line{clock};
    uclTz4Body body{clock, line};
};

} // namespace tz4::test
