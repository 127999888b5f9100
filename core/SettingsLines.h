#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tz4 {

// One line of the settings file that carries a key: the key upper-cased, the value trimmed
// and without its end-of-line comment.
struct SettingsLine {
    QString key;
    QString value;
    int lineNumber = 0; // counted from 1 in the file
    QString written;    // the key as the file spells it
};

// "TZ4Sys.ini line 18: [BaudRate] 38400 <why>": where a value stands, for messages and logs.
QString describeSettingsLine(const SettingsLine& line, const QString& why);

// Applies the reading rules to the file's bytes: empty and comment lines skipped, TABs read as
// blanks, the key before the first blank, an end-of-line "'" comment cut off. A line with no
// blank has no value and is left out.
QList<SettingsLine> readSettingsLines(const QByteArray& content);

// A settings value as a number, with "." or the locale's separator; nothing when not numeric.
std::optional<double> settingsNumber(const QString& value);

// "None", "Even" or "Odd" in any case as the serial properties' parity number.
std::optional<qint32> parityFromText(const QString& value);

} // namespace tz4
