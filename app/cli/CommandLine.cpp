#include "app/cli/CommandLine.h"

#include <QRegularExpression>

namespace tz4::cli {

namespace {

// "3 W", "3W" or "0 W" as one key; nothing for anything else.
std::optional<QString> recordKey(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})\\s*([WCLDTwcldt])$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return QString::number(match.captured(1).toInt()) + QLatin1Char(' ') + match.captured(2).toUpper();
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

    for (qsizetype i = 0; i < rest.size(); ++i) {
        QString word = rest.at(i);
        QString inlineValue;
        bool hasInlineValue = false;
        if (word.startsWith(QLatin1String("--"))) {
            const qsizetype eq = word.indexOf(QLatin1Char('='));
            if (eq > 0) {
                inlineValue = word.mid(eq + 1);
                word = word.left(eq);
                hasInlineValue = true;
            }
        }
        auto value = [&](QString& target) {
            if (hasInlineValue) {
                target = inlineValue;
                return true;
            }
            if (i + 1 >= rest.size() || rest.at(i + 1).startsWith(QLatin1String("--"))) {
                line.error = QStringLiteral("%1 needs a value").arg(word);
                return false;
            }
            target = rest.at(++i);
            return true;
        };

        if (word == QLatin1String("--home")) {
            if (!value(line.options.home))
                return line;
        } else if (word == QLatin1String("--port")) {
            if (!value(line.options.port))
                return line;
        } else if (word == QLatin1String("--lang")) {
            QString code;
            if (!value(code))
                return line;
            line.options.language = languageFromCode(code);
            if (!line.options.language) {
                line.error = QStringLiteral("--lang takes en or ja, not '%1'").arg(code);
                return line;
            }
        } else if (word == QLatin1String("--open")) {
            QString keys;
            if (!value(keys))
                return line;
            for (const QString& part : keys.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const auto key = recordKey(part);
                if (!key) {
                    line.error = QStringLiteral("--open takes record keys such as 3W or \"0 W\", not '%1'").arg(part.trimmed());
                    return line;
                }
                line.open << *key;
            }
            if (line.open.isEmpty()) {
                line.error = QStringLiteral("--open needs at least one record key");
                return line;
            }
        } else if (word == QLatin1String("--simulate") && !hasInlineValue) {
            line.options.simulate = true;
        } else if (word == QLatin1String("--json") && !hasInlineValue) {
            line.options.json = true;
        } else if (word == QLatin1String("--version") && !hasInlineValue) {
            line.version = true;
        } else if (line.command.isEmpty() && (word == QLatin1String("--help") || word == QLatin1String("-h"))) {
            line.help = true;
        } else if (line.command.isEmpty()) {
            if (word.startsWith(QLatin1Char('-'))) {
                line.error = QStringLiteral("unknown option '%1'").arg(rest.at(i));
                return line;
            }
            if (word == QLatin1String("help"))
                line.help = true;
            else
                line.command = word;
        } else {
            line.arguments << rest.at(i);
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
}

} // namespace tz4::cli
