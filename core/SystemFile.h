#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tz4 {

class SerialProperties;

// "TZ4Sys.ini" in the data directory.
QString systemFilePath();

// One line of the settings file that carries a key: the key upper-cased, the value trimmed
// and without its end-of-line comment.
struct SettingsLine {
    QString key;
    QString value;
};

// Applies the reading rules to the file's bytes: empty and comment lines skipped, TABs read as
// blanks, the key before the first blank, an end-of-line "'" comment cut off. A line with no
// blank has no value and is left out.
QList<SettingsLine> readSettingsLines(const QByteArray& content);

// A settings value as a number, with "." or the locale's separator; nothing when not numeric.
std::optional<double> settingsNumber(const QString& value);

// The validation pass. Shows 1014/1012 for a bad model, serial or size value and 1015/1030
// for an unsupported protocol; a bad model or protocol ends the pass at once, other errors
// let it go on. A missing file is valid (the defaults are used and written at close); a file
// that exists but cannot be read is not.
bool ChkSystemFile();

// The loading pass into SystemParam and the serial properties. Stops silently at the first
// value it cannot use (what was read before stays); false then, and when there is no file.
bool GetSystemFile(SerialProperties& serial);

// Writes the file anew in its fixed layout with CR LF line ends. False when it could not be
// written (the failure is logged and the old file stays).
bool SetSystemFile(const SerialProperties& serial);

} // namespace tz4
