#pragma once

#include <QByteArray>
#include <QString>

namespace tz4 {

// Assembles the instrument's replies from bytes as they arrive, in chunks of any size: a reply
// ends at a carriage return, and whatever came after it waits for the next reply.
class ReplyAssembler {
public:
    // Forgets all input not yet assembled, as when the port opens.
    void reset() { buffer_.clear(); }
    // Starts waiting for the next reply; input already received counts towards it.
    void expect()
    {
        complete_ = false;
        reply_.clear();
    }
    // Adds received bytes; true when they completed the reply.
    bool add(const QByteArray& bytes);
    bool complete() const { return complete_; }
    // The complete reply without its carriage return; empty while none is complete.
    const QString& reply() const { return reply_; }

private:
    QString buffer_;
    QString reply_;
    bool complete_ = false;
};

} // namespace tz4
