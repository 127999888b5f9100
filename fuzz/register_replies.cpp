// Every register read with the reply line the instrument would send. The first byte picks the
// register (or the whole initialisation, which also reads the calibration memory and the
// warm-up clock); the rest are reply lines separated by CR, one per command, "0" once they run
// out.

#include "fuzz/FuzzSupport.h"
#include "fuzz/ScriptedLine.h"

#include "core/Clock.h"
#include "core/Tz4Error.h"
#include "instrument/Tz4Body.h"

#include <QRegularExpression>

#include <cmath>
#include <functional>

using namespace tz4;

namespace {

class ReplyLine final : public fuzz::ScriptedLine {
public:
    ReplyLine(VirtualClock& clock, QList<QByteArray> replies) : ScriptedLine(clock), replies_(std::move(replies)) {}

    struct Exchange {
        QString command;
        QByteArray reply;
    };
    QList<Exchange> exchanges;

private:
    void answer(const QByteArray& command) override
    {
        const QByteArray reply = next_ < replies_.size() ? replies_[next_++] : QByteArray("0");
        exchanges.append({QString::fromLatin1(command).chopped(1), reply});
        deliver(20, reply + '\r');
    }

    QList<QByteArray> replies_;
    qsizetype next_ = 0;
};

enum class Reading { Whole, Scaled, Flag, DoorBit };

struct Case {
    const char* command; // the command whose reply becomes the value
    Reading reading;
    double scale;
    std::function<double(uclTz4Body&)> read;
};

const Case kCases[] = {
    {"TS", Reading::Whole, 100, [](uclTz4Body& b) { return b.MeasTime(); }},
    {"ES", Reading::Whole, 1, [](uclTz4Body& b) { return b.Eyeris(); }},
    {"RS", Reading::Whole, 1, [](uclTz4Body& b) { return b.LightRange(); }},
    {"AS", Reading::Flag, 1, [](uclTz4Body& b) { return b.AirChack(); }},
    {"CS", Reading::Whole, 1, [](uclTz4Body& b) { return b.CpsValue(); }},
    {"DS", Reading::Flag, 1, [](uclTz4Body& b) { return b.ElBalve(); }},
    {"GS", Reading::Flag, 1, [](uclTz4Body& b) { return b.GridVolts(); }},
    {"HS", Reading::Whole, 1, [](uclTz4Body& b) { return b.Led(0); }},
    {"HO", Reading::Whole, 1, [](uclTz4Body& b) { return b.Led(1); }},
    {"IS", Reading::Whole, 1, [](uclTz4Body& b) { return b.Fan(0); }},
    {"IO", Reading::Whole, 1, [](uclTz4Body& b) { return b.Fan(1); }},
    {"JS", Reading::Scaled, 1000, [](uclTz4Body& b) { return b.AirValue(); }},
    {"KS", Reading::Scaled, 1, [](uclTz4Body& b) { return b.DiodeVolts(); }},
    {"LS", Reading::Scaled, 10, [](uclTz4Body& b) { return b.LightWave(); }},
    {"PS", Reading::Scaled, 10, [](uclTz4Body& b) { return b.QL_Volts(); }},
    {"QS", Reading::Scaled, 10, [](uclTz4Body& b) { return b.QH_Volts(); }},
    {"US", Reading::Scaled, 10, [](uclTz4Body& b) { return b.SH_Volts(); }},
    {"XS", Reading::Scaled, 100, [](uclTz4Body& b) { return b.StageX(); }},
    {"VS", Reading::Whole, 1, [](uclTz4Body& b) { return b.HV_Volts(); }},
    {"FS", Reading::Whole, 1, [](uclTz4Body& b) { return b.Filter(); }},
    {"IO", Reading::DoorBit, 1, [](uclTz4Body& b) { return b.Door(); }},
};

// A reply as a healthy instrument writes it: digits with an optional sign and fraction.
bool plainNumber(const QByteArray& reply)
{
    static const QRegularExpression plain(QStringLiteral("^ *[+-]?[0-9]{1,12}(\\.[0-9]{1,12})? *$"));
    return plain.match(QString::fromLatin1(reply)).hasMatch();
}

bool refusedOrUnreadable(const QByteArray& reply)
{
    for (const char c : reply)
        if (static_cast<unsigned char>(c) >= 128 || !(std::isalnum(static_cast<unsigned char>(c))
                                                      || std::isspace(static_cast<unsigned char>(c))
                                                      || (c && std::strchr(".,+-:/", c))))
            return true;
    return reply.toUpper().contains("ERROR");
}

void checkRegister(const Case& c, uclTz4Body& body, const ReplyLine& line)
{
    double value = 0;
    try {
        value = c.read(body);
    } catch (const Tz4Error& e) {
        // Only a reply that does not read as a number (or does not fit) may escape.
        FUZZ_CHECK(e.number() == err::TypeMismatch || e.number() == err::Overflow, e.description());
        const QByteArray reply = line.exchanges.isEmpty() ? QByteArray() : line.exchanges.last().reply;
        FUZZ_CHECK(!plainNumber(reply) || c.reading == Reading::Whole, QString::fromLatin1(reply));
        return;
    }
    FUZZ_CHECK(std::isfinite(value), QStringLiteral("%1 read as %2").arg(QLatin1String(c.command)).arg(value));
    const QByteArray reply = line.exchanges.last().reply;
    FUZZ_CHECK(line.exchanges.last().command == QLatin1String(c.command), line.exchanges.last().command);
    if (refusedOrUnreadable(reply)) {
        // A refused or garbled reply never becomes a reading.
        FUZZ_CHECK(value == 0, QStringLiteral("%1 <- %2 gave %3").arg(QLatin1String(c.command), QString::fromLatin1(reply)).arg(value));
        return;
    }
    switch (c.reading) {
    case Reading::Flag:
        FUZZ_CHECK(value == (reply.contains('1') ? 1 : 0), QString::fromLatin1(reply));
        return;
    case Reading::DoorBit:
        FUZZ_CHECK(value == (reply.size() >= 3 && reply[2] == '1' ? 1 : 0), QString::fromLatin1(reply));
        return;
    case Reading::Whole:
    case Reading::Scaled:
        if (!plainNumber(reply))
            return;
        const double sent = std::strtod(reply.trimmed().constData(), nullptr) / c.scale;
        const double expected = c.reading == Reading::Whole ? std::nearbyint(sent) : double(float(sent));
        FUZZ_CHECK(std::abs(value - expected) <= 1e-6 * std::max(1.0, std::abs(expected)),
                   QStringLiteral("%1 <- %2 gave %3, expected %4").arg(QLatin1String(c.command), QString::fromLatin1(reply)).arg(value).arg(expected));
        return;
    }
}

void checkInitialisation(uclTz4Body& body)
{
    try {
        body.InitBody();
    } catch (const Tz4Error& e) {
        FUZZ_CHECK(e.number() == err::TypeMismatch || e.number() == err::Overflow, e.description());
    }
    FUZZ_CHECK(!body.Busy(), QStringLiteral("Busy left set"));
    const qint16 warmUp = body.WarmUpTime();
    FUZZ_CHECK(warmUp >= 0 && warmUp <= 1800, QStringLiteral("warm-up left %1 s").arg(warmUp));
    FUZZ_CHECK(std::isfinite(body.SumLost()), QStringLiteral("SumLost %1").arg(body.SumLost()));
    for (qint16 range = 1; range <= 9; ++range)
        FUZZ_CHECK(std::isfinite(body.LightRangeAdjust(range)), QStringLiteral("range %1").arg(range));
    for (const auto& span : body.lightSpans())
        FUZZ_CHECK(std::isfinite(span.minimum) && std::isfinite(span.maximum), QStringLiteral("span"));
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
    if (size < 1 || size > 4096)
        return 0;
    const QByteArray input = fuzz::bytes(data + 1, size - 1);
    const size_t choice = data[0] % (std::size(kCases) + 1);

    VirtualClock clock;
    ReplyLine line(clock, fuzz::split(input, '\r'));
    uclTz4Body body(clock, line);
    body.setTimerEnable(true);
    body.setPortOpen(true);
    if (choice == std::size(kCases))
        checkInitialisation(body);
    else
        checkRegister(kCases[choice], body, line);
    return 0;
}
