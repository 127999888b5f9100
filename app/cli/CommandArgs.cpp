#include "app/cli/CommandArgs.h"

#include <QLocale>

#include <cmath>

namespace tz4::cli {

std::optional<QString> parseCommandArgs(const QStringList& args, const QStringList& valued,
                                        const QStringList& switches, CommandArgs& out)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args.at(i);
        if (!word.startsWith(QLatin1String("--"))) {
            out.positional << word;
            continue;
        }
        QString name = word.mid(2);
        std::optional<QString> inlineValue;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); eq >= 0) {
            inlineValue = name.mid(eq + 1);
            name = name.left(eq);
        }
        if (switches.contains(name) && !inlineValue) {
            out.flags.insert(name);
        } else if (valued.contains(name)) {
            if (inlineValue) {
                out.values.insert(name, *inlineValue);
            } else if (i + 1 < args.size()) {
                out.values.insert(name, args.at(++i));
            } else {
                return QStringLiteral("--%1 needs a value").arg(name);
            }
        } else {
            return QStringLiteral("unknown option '%1'").arg(word);
        }
    }
    return std::nullopt;
}

std::optional<double> parseNumber(const QString& text)
{
    // "." is always the decimal point, never a group separator: "0,055" in a comma locale
    // is not 55.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = c.toDouble(text.trimmed(), &ok);
    if (!ok)
        value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::pair<double, double>> parseRange(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2)
        return std::nullopt;
    const auto a = parseNumber(parts[0]);
    const auto b = parseNumber(parts[1]);
    if (!a || !b)
        return std::nullopt;
    return std::make_pair(*a, *b);
}

} // namespace tz4::cli
