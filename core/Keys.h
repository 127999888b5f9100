#pragma once

#include <QString>
#include <QStringList>

namespace tz4 {

// Item keys: a whole number, one blank and a type letter ("12 W", "1 A"). A key that has not
// been stored yet may carry 0 or no number at all.

// The trimmed text before the first blank as a number; 0 for an empty key, a key without a
// blank, or a text that is not a 32-bit whole number.
qint32 GetKeySeq(const QString& key);

// The trimmed text after the first blank; the whole key (trimmed) when it has no blank.
QString GetKeyType(const QString& key);

// A key built from its parts, as the rest of the program writes them.
QString makeKey(qint32 seqNo, const QString& type);

// Key lists travel between windows with a TAB after every key.
QString joinKeyList(const QStringList& keys);
QStringList splitKeyList(const QString& list);

// Every TAB replaced by one blank.
QString TabToSpace(const QString& text);

} // namespace tz4
