// The link's reply assembly fed arbitrary bytes in arbitrary chunks. The input is a series of
// deliveries separated by 0xFF, one per command sent; within a delivery 0xFE separates the
// chunks, which arrive 10 ms apart after the command is written.

#include "fuzz/FuzzSupport.h"
#include "fuzz/ScriptedLine.h"

#include "core/Clock.h"
#include "core/Tz4Error.h"
#include "instrument/ErrorTexts.h"
#include "instrument/Tz4Body.h"

using namespace tz4;

namespace {

class ChunkLine final : public fuzz::ScriptedLine {
public:
    ChunkLine(VirtualClock& clock, QList<QByteArray> deliveries)
        : ScriptedLine(clock), deliveries_(std::move(deliveries))
    {
    }

private:
    void answer(const QByteArray&) override
    {
        if (next_ >= deliveries_.size())
            return;
        const QList<QByteArray> chunks = deliveries_[next_++].split('\xfe');
        for (qsizetype i = 0; i < chunks.size(); ++i)
            deliver(10 * int(i + 1), chunks[i]);
    }

    QList<QByteArray> deliveries_;
    qsizetype next_ = 0;
};

bool readable(const QString& reply)
{
    for (const QChar c : reply)
        if (c.unicode() >= 128 || !(c.isLetterOrNumber() || c.isSpace() || QStringLiteral(".,+-:/").contains(c)))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static fuzz::SilentReporter reporter;
    setErrorReporter(&reporter);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const QList<QByteArray> deliveries = fuzz::bytes(data, size).split('\xff');
    VirtualClock clock;
    ChunkLine line(clock, deliveries);
    uclTz4Body body(clock, line);
    body.setTimerEnable(true);
    body.setPortOpen(true);
    // Three ticks: every chunk of a short delivery arrives before the time-out.
    body.setOverTime(2);

    qsizetype consumed = 0; // how far into `delivered` the replies have come
    for (qsizetype i = 0; i < deliveries.size() + 1 && i < 64; ++i) {
        const qsizetype logLines = body.SerialLog().count(QStringLiteral("\r\n"));
        bool ok = false;
        try {
            ok = body.WriteRS232C(QStringLiteral("ES"));
        } catch (const Tz4Error& e) {
            // Only a bare "ERROR" without a readable number may escape.
            FUZZ_CHECK(e.number() == err::TypeMismatch || e.number() == err::Overflow, e.description());
            FUZZ_CHECK(body.replyLine().toUpper().contains(QLatin1String("ERROR")), body.replyLine());
        }
        FUZZ_CHECK(body.SerialLog().count(QStringLiteral("\r\n")) == logLines + 1 || logLines > 300,
                   body.SerialLog().right(200));
        const QString reply = body.replyLine();
        FUZZ_CHECK(!reply.contains(QLatin1Char('\r')), reply);
        if (ok) {
            FUZZ_CHECK(readable(reply) && !reply.toUpper().contains(QLatin1String("ERROR")), reply);
        }
        if (body.ErrorNumber(1) == linkerr::ReceiveTimeOut && body.Canceled()) {
            FUZZ_CHECK(reply.isEmpty(), reply);
        } else if (!body.Canceled()) {
            // The reply is the next line of the byte stream: it and its CR were received, in
            // order, after the previous reply.
            const QByteArray line8 = reply.toLatin1() + '\r';
            const qsizetype at = line.delivered.indexOf(line8, consumed);
            FUZZ_CHECK(at >= 0, QStringLiteral("reply '%1' not in what arrived").arg(reply));
            consumed = at + line8.size();
        }
        if (i == 0) {
            // The first reply is exactly the first delivery up to its first CR, however it was
            // cut, as long as the CR came before the time-out.
            const QByteArray first = deliveries[0];
            const qsizetype cr = first.indexOf('\r');
            QByteArray expected = first.left(cr);
            const qsizetype chunk = expected.count('\xfe');
            expected.replace("\xfe", "");
            if (cr >= 0 && chunk < 50)
                FUZZ_CHECK(reply == QString::fromLatin1(expected), reply);
            else if (cr < 0 || chunk >= 60)
                FUZZ_CHECK(body.Canceled() && reply.isEmpty(), reply);
        }
        body.setCanceled(false);
    }
    return 0;
}
