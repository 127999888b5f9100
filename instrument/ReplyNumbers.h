#pragma once

#include <QString>

namespace tz4 {

// Conversions of instrument replies to numbers. The instrument always writes "." as the decimal
// point; blanks around the number are allowed. A text that is not a number, or a value that
// does not fit, is a failure that propagates (Tz4Error 13 type mismatch, 6 overflow).
double replyToDouble(const QString& text);
qint16 replyToInt16(const QString& text);
qint32 replyToInt32(const QString& text);

// Rounds to a whole number (halves to even) that must fit 16 bits, else Tz4Error 6 overflow.
qint16 wholeInt16(double value);
qint32 wholeInt32(double value);

// Whether a reply, already passed through ChkPointDelim, reads as a finite number in the
// current locale.
bool isLocaleNumber(const QString& text, double* value = nullptr);

} // namespace tz4
