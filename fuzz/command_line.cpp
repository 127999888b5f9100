// The command line as any words (NUL-separated; the first byte picks the locale): the global
// options, a command's own options, typed numbers and ranges, and record keys.

#include "fuzz/FuzzSupport.h"

#include "app/cli/CommandArgs.h"
#include "app/cli/CommandLine.h"
#include "core/Formats.h"
#include "core/Keys.h"

#include <QLocale>

#include <cmath>

using namespace tz4;

namespace {

const QLocale kLocales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                            QLocale(QLocale::French, QLocale::France), QLocale(QLocale::Japanese, QLocale::Japan)};

// Whether `part` appears in `whole` in the same order, possibly with gaps.
bool subsequence(const QStringList& part, const QStringList& whole)
{
    qsizetype j = 0;
    for (const QString& word : part) {
        while (j < whole.size() && whole[j] != word)
            ++j;
        if (j++ >= whole.size())
            return false;
    }
    return true;
}

void checkGlobalOptions(const QStringList& args)
{
    const cli::CommandLine line = cli::parseCommandLine(args);
    if (!line.error.isEmpty())
        return;
    const QString words = args.join(u'|');
    FUZZ_CHECK(subsequence(line.arguments, args), words);
    FUZZ_CHECK(line.command.isEmpty() || (args.contains(line.command) && !line.command.startsWith(u'-')), words);
    // A simulated instrument only ever gets a sample and a clock it can run.
    const sim::SimOptions& sim = line.options.sim;
    FUZZ_CHECK(std::isfinite(sim.workFunction) && sim.workFunction > 0, words);
    FUZZ_CHECK(std::isfinite(sim.powerNumber) && sim.powerNumber > 0, words);
    FUZZ_CHECK(std::isfinite(sim.speed) && sim.speed > 0, words);
}

void checkCommandOptions(const QStringList& args)
{
    static const QStringList valued{QStringLiteral("sample"), QStringLiteral("start"), QStringLiteral("fit"),
                                    QStringLiteral("ground"), QStringLiteral("folder")};
    static const QStringList switches{QStringLiteral("yes"), QStringLiteral("save"), QStringLiteral("auto")};
    cli::CommandArgs out;
    if (cli::parseCommandArgs(args, valued, switches, out))
        return;
    const QString words = args.join(u'|');
    FUZZ_CHECK(subsequence(out.positional, args), words);
    for (const QString& word : out.positional)
        FUZZ_CHECK(!word.startsWith(QLatin1String("--")), words);
    for (auto it = out.values.cbegin(); it != out.values.cend(); ++it)
        FUZZ_CHECK(valued.contains(it.key()), words);
    for (const QString& flag : out.flags)
        FUZZ_CHECK(switches.contains(flag), words);
}

void checkNumbers(const QString& word)
{
    if (const auto number = cli::parseNumber(word)) {
        FUZZ_CHECK(std::isfinite(*number), word);
        // What the program writes for that number is read back as the same number.
        const QString written = shortestText(*number);
        const auto again = cli::parseNumber(written);
        FUZZ_CHECK(again && *again == *number, word + QStringLiteral(" -> ") + written);
    }
    if (const auto range = cli::parseRange(word)) {
        FUZZ_CHECK(word.count(u':') == 1, word);
        FUZZ_CHECK(cli::parseNumber(word.section(u':', 0, 0)) == range->first, word);
        FUZZ_CHECK(cli::parseNumber(word.section(u':', 1, 1)) == range->second, word);
    }
}

void checkKey(const QString& word)
{
    const qint32 seq = GetKeySeq(word);
    const QString type = GetKeyType(word);
    if (seq == 0)
        return;
    // A key that names a stored item is rebuilt to the same item.
    const QString rebuilt = makeKey(seq, type);
    FUZZ_CHECK(GetKeySeq(rebuilt) == seq && GetKeyType(rebuilt) == type, word + QStringLiteral(" -> ") + rebuilt);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 2048)
        return 0;
    QLocale::setDefault(kLocales[data[0] % std::size(kLocales)]);
    QStringList args;
    for (const QByteArray& word : fuzz::bytes(data + 1, size - 1).split('\0'))
        args << QString::fromUtf8(word);
    if (args.size() > 64)
        return 0;
    checkGlobalOptions(args);
    checkCommandOptions(args);
    for (const QString& word : args) {
        checkNumbers(word);
        checkKey(word);
    }
    return 0;
}
