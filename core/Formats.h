#pragma once

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace tz4 {

// Legacy number and date pictures used across the program. Everything that turns a number
// into text for a person, a file, SQL or the instrument goes through here.

// The current locale's decimal separator: the second character of 0.5 formatted "0.0".
QChar localeDecimalSeparator();

// Picture formatting of a number in the current locale: "0.00", "#0.00", "##0.0", "###0",
// "0000", "0.000000", "0000.000", "00000000", "0.00E+00", with literal characters escaped by
// a backslash ("##0.0\n\W") or quoted ("0\"x\""). Rounds half away from zero.
QString formatNumber(double value, const QString& picture);

// Shortest decimal text of a single-precision value (the locale's separator when it has a fraction).
QString shortestText(float value);
QString shortestText(double value);

// Date pictures: the DateTimeFormat pattern (mm"/"dd"/"yy hh":"nn":"ss), "YYMMDDHHNNSS"; tokens
// yy yyyy mm dd hh nn ss, any case, quoted or escaped literals kept.
QString formatDate(const QDateTime& when, const QString& picture);
// "General Date": the system short date, a blank, the long time.
QString generalDate(const QDateTime& when);

// generalDate for listings of thousands of dates: the locale and its formats are looked up once,
// when the formatter is made.
class GeneralDates {
public:
    GeneralDates();
    QString operator()(const QDateTime& when) const;
    const QLocale& locale() const { return locale_; }

private:
    QLocale locale_;
    QString date_;
    QString time_;
};

// Whole-number rounding with halves to even (the platform's integer conversion).
qint64 roundHalfEven(double value);

// Decimal-separator swaps for text that crosses a locale boundary.
QString uncheckPointDelim(const QString& text); // locale separator -> "."
QString chkPointDelim(const QString& text);     // "." -> locale separator

} // namespace tz4
