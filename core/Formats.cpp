#include "core/Formats.h"
#include "core/DecimalDigits.h"

#include <QLocale>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace tz4 {

using namespace decimal;

namespace {

QString shortestFromDecimal(bool negative, Decimal d)
{
    // Plain decimal notation for ordinary magnitudes, exponent notation at the extremes.
    const int exp10 = d.point - 1;
    QString out = negative ? QStringLiteral("-") : QString();
    const QChar sep = localeDecimalSeparator();
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    if (exp10 < -5 || exp10 >= 15) {
        out += QLatin1Char(d.digits[0]);
        if (d.digits.size() > 1) {
            out += sep;
            out += QString::fromLatin1(d.digits.substr(1));
        }
        out += exp10 < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exp10), 2, 10, QLatin1Char('0'));
        return out;
    }
    if (d.point <= 0) {
        out += QLatin1Char('0');
        out += sep;
        out += QString(-d.point, QLatin1Char('0'));
        out += QString::fromLatin1(d.digits);
        return out;
    }
    if (static_cast<int>(d.digits.size()) <= d.point) {
        out += QString::fromLatin1(d.digits);
        out += QString(d.point - static_cast<int>(d.digits.size()), QLatin1Char('0'));
        return out;
    }
    out += QString::fromLatin1(d.digits.substr(0, static_cast<size_t>(d.point)));
    out += sep;
    out += QString::fromLatin1(d.digits.substr(static_cast<size_t>(d.point)));
    return out;
}

} // namespace

QChar localeDecimalSeparator()
{
    // Asked for every number of a listing; the locale rarely changes in between.
    thread_local std::optional<std::pair<QLocale, QChar>> cached;
    const QLocale locale;
    if (!cached || cached->first != locale) {
        const QString half = locale.toString(0.5, 'f', 1);
        cached.emplace(locale, half.size() >= 2 ? half.at(1) : QLatin1Char('.'));
    }
    return cached->second;
}

QString shortestText(float value)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    return shortestFromDecimal(std::signbit(value) && value != 0.0f, toDecimal(std::fabs(value)));
}

QString shortestText(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    return shortestFromDecimal(std::signbit(value) && value != 0.0, toDecimal(std::fabs(value)));
}

GeneralDates::GeneralDates()
{
    // The long time without a time-zone name: the log and text files show local time.
    QString timeFormat = locale_.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    date_ = locale_.dateFormat(QLocale::ShortFormat);
    time_ = timeFormat.trimmed();
}

QString GeneralDates::operator()(const QDateTime& when) const
{
    return locale_.toString(when.date(), date_) + QLatin1Char(' ') + locale_.toString(when.time(), time_);
}

QString generalDate(const QDateTime& when)
{
    thread_local std::optional<GeneralDates> cached;
    if (!cached || cached->locale() != QLocale())
        cached.emplace();
    return (*cached)(when);
}

qint64 roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // Beyond 64 bits the conversion saturates instead of being undefined.
    if (value >= 9223372036854775807.0)
        return std::numeric_limits<qint64>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    const double down = std::floor(value);
    const double diff = value - down;
    double result = down;
    if (diff > 0.5)
        result = down + 1.0;
    else if (diff == 0.5)
        result = std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
    return static_cast<qint64>(result);
}

QString uncheckPointDelim(const QString& text)
{
    const QChar sep = localeDecimalSeparator();
    if (sep == QLatin1Char('.'))
        return text;
    QString out = text;
    out.replace(sep, QLatin1Char('.'));
    return out;
}

QString chkPointDelim(const QString& text)
{
    const QChar sep = localeDecimalSeparator();
    if (sep == QLatin1Char('.'))
        return text;
    QString out = text;
    out.replace(QLatin1Char('.'), sep);
    return out;
}

} // namespace tz4
