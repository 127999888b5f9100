#include "app/cli/CommandLine.h"

#include "data/DatabaseWait.h"

#include <QRegularExpression>

namespace tz4::cli {

namespace {

// A day: longer waits are typing mistakes.
constexpr int kMaxDatabaseWait = 86400;

// "3 W", "3W" or "0 W" as one key; nothing for anything else.
std::optional<QString> recordKey(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})\\s*([WCLDTwcldt])$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return QString::number(match.captured(1).toInt()) + QLatin1Char(' ') + match.captured(2).toUpper();
}

// The words of the command line one at a time, "--name=value" split into name and value.
class Words {
public:
    explicit Words(const QStringList& words) : words_(words) {}

    bool next()
    {
        if (++i_ >= words_.size())
            return false;
        word_ = words_.at(i_);
        inlineValue_.reset();
        if (word_.startsWith(QLatin1String("--"))) {
            const qsizetype eq = word_.indexOf(QLatin1Char('='));
            if (eq > 0) {
                inlineValue_ = word_.mid(eq + 1);
                word_ = word_.left(eq);
            }
        }
        return true;
    }

    const QString& word() const { return word_; }
    const QString& asTyped() const { return words_.at(i_); }
    bool hasInlineValue() const { return inlineValue_.has_value(); }

    // The option's value: after "=" or the next word, which must not be another option.
    std::optional<QString> value(QString& error)
    {
        if (inlineValue_)
            return inlineValue_;
        if (i_ + 1 >= words_.size() || words_.at(i_ + 1).startsWith(QLatin1String("--"))) {
            error = QStringLiteral("%1 needs a value").arg(word_);
            return std::nullopt;
        }
        return words_.at(++i_);
    }

private:
    const QStringList& words_;
    qsizetype i_ = -1;
    QString word_;
    std::optional<QString> inlineValue_;
};

void takeOpenKeys(const QString& keys, CommandLine& line)
{
    for (const QString& part : keys.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto key = recordKey(part);
        if (!key) {
            line.error = QStringLiteral("--open takes record keys such as 3W or \"0 W\", not '%1'").arg(part.trimmed());
            return;
        }
        line.open << *key;
    }
    if (line.open.isEmpty())
        line.error = QStringLiteral("--open needs at least one record key");
}

// A global option that takes a value; false when the word is none of them. A bad value
// leaves its reason in line.error.
bool takeValuedOption(Words& words, CommandLine& line)
{
    const QString& word = words.word();
    const bool known = word == QLatin1String("--home") || word == QLatin1String("--port")
        || word == QLatin1String("--lang") || word == QLatin1String("--open") || word == QLatin1String("--db-wait");
    if (!known)
        return false;
    const std::optional<QString> value = words.value(line.error);
    if (!value)
        return true;
    if (word == QLatin1String("--home")) {
        line.options.home = *value;
    } else if (word == QLatin1String("--port")) {
        line.options.port = *value;
    } else if (word == QLatin1String("--db-wait")) {
        bool ok = false;
        const int seconds = value->toInt(&ok);
        if (!ok || seconds < 0 || seconds > kMaxDatabaseWait)
            line.error = QStringLiteral("--db-wait takes whole seconds from 0 to %1, not '%2'").arg(kMaxDatabaseWait).arg(*value);
        else
            line.options.dbWaitSeconds = seconds;
    } else if (word == QLatin1String("--lang")) {
        line.options.language = languageFromCode(*value);
        if (!line.options.language)
            line.error = QStringLiteral("--lang takes en or ja, not '%1'").arg(*value);
    } else {
        takeOpenKeys(*value, line);
    }
    return true;
}

// A global switch; false when the word is none of them.
bool takeSwitch(const Words& words, CommandLine& line)
{
    if (words.hasInlineValue())
        return false;
    const QString& word = words.word();
    if (word == QLatin1String("--simulate"))
        line.options.simulate = true;
    else if (word == QLatin1String("--json"))
        line.options.json = true;
    else if (word == QLatin1String("--version"))
        line.version = true;
    else if (line.command.isEmpty() && (word == QLatin1String("--help") || word == QLatin1String("-h")))
        line.help = true;
    else
        return false;
    return true;
}

} // namespace

CommandLine parseCommandLine(const QStringList& args)
{
    CommandLine line;
    QStringList rest = args;
    if (auto error = sim::takeSimOptions(rest, line.options.sim)) {
        line.error = *error;
        return line;
    }

    Words words(rest);
    while (words.next()) {
        if (takeValuedOption(words, line)) {
            if (!line.error.isEmpty())
                return line;
            continue;
        }
        if (takeSwitch(words, line))
            continue;
        if (!line.command.isEmpty()) {
            line.arguments << words.asTyped();
        } else if (words.word().startsWith(QLatin1Char('-'))) {
            line.error = QStringLiteral("unknown option '%1'").arg(words.asTyped());
            return line;
        } else if (words.word() == QLatin1String("help")) {
            line.help = true;
        } else {
            line.command = words.word();
        }
    }
    if (!line.open.isEmpty() && !line.command.isEmpty())
        line.error = QStringLiteral("--open opens windows and goes with no command");
    return line;
}

void applyGlobalOptions(const GlobalOptions& options)
{
    if (options.language)
        setLanguage(*options.language);
    if (options.dbWaitSeconds)
        DatabaseWait::setTimeOut(std::chrono::seconds(*options.dbWaitSeconds));
}

QStringList commandArguments(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

} // namespace tz4::cli
