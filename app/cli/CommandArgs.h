#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace tz4::cli {

// The words after a sub-command: positional arguments, "--name value" (or "--name=value")
// options and bare "--flag" switches.
struct CommandArgs {
    QStringList positional;
    QHash<QString, QString> values;
    QSet<QString> flags;

    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
};

// Splits `args`; `valued` and `switches` name the accepted options without their dashes.
// Returns an error text for an unknown option or a missing value.
std::optional<QString> parseCommandArgs(const QStringList& args, const QStringList& valued,
                                        const QStringList& switches, CommandArgs& out);

// A number as typed on the command line: with "." or the locale's separator.
std::optional<double> parseNumber(const QString& text);

// "A:B" as two numbers.
std::optional<std::pair<double, double>> parseRange(const QString& text);

} // namespace tz4::cli
