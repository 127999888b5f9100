#include "core/Formats.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace tz4 {

namespace {

// A non-negative decimal number as its digits and the position of the decimal point within
// them: digits "125", point 1 means 1.25. Working on decimal digits makes rounding follow the
// number as a person reads it (2.675 rounds to 2.68), not its binary neighbour.
struct Decimal {
    std::string digits;
    int point = 0;
};

// The shortest digits that read back as the same value at its own precision: 0.1f gives the
// digit 1, not the digits of 0.100000001490116.
template <typename Real>
Decimal toDecimal(Real magnitude)
{
    if (magnitude == Real(0))
        return Decimal{std::string(1, '0'), 1};
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    const std::string text(buf, res.ptr);
    const auto e = text.find('e');
    Decimal d;
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits.push_back(c);
    d.point = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// Rounds half away from zero to `decimals` digits after the point; the result has exactly
// max(point, 1) integer digits (leading zeros stripped except one) and `decimals` fraction digits.
void roundTo(Decimal& d, int decimals)
{
    // Make the point fall inside the digit string with at least one integer digit.
    if (d.point <= 0) {
        d.digits.insert(0, static_cast<size_t>(1 - d.point), '0');
        d.point = 1;
    }
    const int wanted = d.point + decimals;
    if (static_cast<int>(d.digits.size()) > wanted) {
        const bool up = d.digits[static_cast<size_t>(wanted)] >= '5';
        d.digits.resize(static_cast<size_t>(wanted));
        if (up) {
            int i = wanted - 1;
            for (; i >= 0; --i) {
                if (d.digits[static_cast<size_t>(i)] == '9') {
                    d.digits[static_cast<size_t>(i)] = '0';
                } else {
                    ++d.digits[static_cast<size_t>(i)];
                    break;
                }
            }
            if (i < 0) {
                d.digits.insert(d.digits.begin(), '1');
                ++d.point;
            }
        }
    }
    if (static_cast<int>(d.digits.size()) < d.point + decimals)
        d.digits.append(static_cast<size_t>(d.point + decimals) - d.digits.size(), '0');
    while (d.point > 1 && d.digits.front() == '0') {
        d.digits.erase(d.digits.begin());
        --d.point;
    }
}

bool isZero(const Decimal& d)
{
    return d.digits.find_first_not_of('0') == std::string::npos;
}

// One element of a parsed picture: a digit placeholder, the decimal point, the exponent
// marker or literal text.
struct Token {
    enum Kind { Zero, Hash, Point, Exponent, Literal, Percent } kind;
    QString text;       // Literal
    bool plusSign = false; // Exponent: E+ always shows the sign
    QChar letter;       // Exponent: E or e as written
};

std::vector<Token> parsePicture(const QString& picture, bool& grouping)
{
    std::vector<Token> tokens;
    grouping = false;
    auto literal = [&](const QString& t) {
        if (!tokens.empty() && tokens.back().kind == Token::Literal)
            tokens.back().text += t;
        else
            tokens.push_back({Token::Literal, t, false, {}});
    };
    bool seenPoint = false;
    bool seenExponent = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == QLatin1Char('\\')) {
            if (i + 1 < picture.size())
                literal(QString(picture[++i]));
        } else if (c == QLatin1Char('"')) {
            const qsizetype end = picture.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = end < 0 ? picture.size() : end;
            literal(picture.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == QLatin1Char('0')) {
            tokens.push_back({Token::Zero, {}, false, {}});
        } else if (c == QLatin1Char('#')) {
            tokens.push_back({Token::Hash, {}, false, {}});
        } else if (c == QLatin1Char('.') && !seenPoint && !seenExponent) {
            seenPoint = true;
            tokens.push_back({Token::Point, {}, false, {}});
        } else if (c == QLatin1Char(',') && !seenPoint && !seenExponent) {
            // A comma among the integer placeholders switches on digit grouping.
            grouping = true;
        } else if (c == QLatin1Char('%')) {
            tokens.push_back({Token::Percent, {}, false, {}});
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !seenExponent && i + 1 < picture.size()
                   && (picture[i + 1] == QLatin1Char('+') || picture[i + 1] == QLatin1Char('-'))) {
            seenExponent = true;
            tokens.push_back({Token::Exponent, {}, picture[i + 1] == QLatin1Char('+'), c});
            ++i;
        } else {
            literal(QString(c));
        }
    }
    return tokens;
}

// Fills the integer placeholders right to left with `digits`; surplus digits go in front of
// the first placeholder, missing ones become "0" only where the picture has a 0.
QString fillInteger(const std::vector<Token>& part, const std::string& digits, bool grouping)
{
    std::string shown = digits;
    int zeros = 0;
    bool seenZero = false;
    for (const Token& t : part) {
        if (t.kind == Token::Zero)
            seenZero = true;
        if (seenZero && (t.kind == Token::Zero || t.kind == Token::Hash))
            ++zeros;
    }
    if (shown == "0")
        shown.clear();
    if (static_cast<int>(shown.size()) < zeros)
        shown.insert(0, static_cast<size_t>(zeros) - shown.size(), '0');

    QString groupSep = QLocale().groupSeparator();
    auto digitAt = [&](size_t index) {
        // index counts from the left of `shown`; a group separator follows every third digit
        // counted from the right.
        QString s{QLatin1Char(shown[index])};
        const size_t fromRight = shown.size() - 1 - index;
        if (grouping && fromRight > 0 && fromRight % 3 == 0)
            s += groupSep;
        return s;
    };

    int placeholders = 0;
    for (const Token& t : part)
        if (t.kind == Token::Zero || t.kind == Token::Hash)
            ++placeholders;

    // Slot s shows digit s + offset; the first slot also takes any surplus digits in front.
    const int offset = static_cast<int>(shown.size()) - placeholders;
    QString out;
    int slot = 0;
    for (const Token& t : part) {
        if (t.kind == Token::Zero || t.kind == Token::Hash) {
            const int j = slot + offset;
            if (slot == 0 && offset > 0)
                for (int k = 0; k <= offset; ++k)
                    out += digitAt(static_cast<size_t>(k));
            else if (j >= 0)
                out += digitAt(static_cast<size_t>(j));
            ++slot;
        } else if (t.kind == Token::Literal) {
            out += t.text;
        } else if (t.kind == Token::Percent) {
            out += QLatin1Char('%');
        }
    }
    // A picture without integer placeholders (".00") still shows the whole part of 12.5.
    if (placeholders == 0)
        out.prepend(QString::fromLatin1(shown));
    return out;
}

QString fillFraction(const std::vector<Token>& part, const std::string& digits)
{
    // Trailing digits under # placeholders are dropped when they are zeros.
    std::vector<bool> keep(digits.size(), true);
    {
        size_t k = digits.size();
        for (auto it = part.rbegin(); it != part.rend() && k > 0; ++it) {
            if (it->kind == Token::Zero)
                break;
            if (it->kind == Token::Hash) {
                --k;
                if (digits[k] != '0')
                    break;
                keep[k] = false;
            }
        }
    }
    QString out;
    size_t k = 0;
    for (const Token& t : part) {
        if (t.kind == Token::Zero || t.kind == Token::Hash) {
            if (k < digits.size() && keep[k])
                out += QLatin1Char(digits[k]);
            ++k;
        } else if (t.kind == Token::Literal) {
            out += t.text;
        } else if (t.kind == Token::Percent) {
            out += QLatin1Char('%');
        }
    }
    return out;
}

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
    const QString half = QLocale().toString(0.5, 'f', 1);
    return half.size() >= 2 ? half.at(1) : QLatin1Char('.');
}

QString formatNumber(double value, const QString& picture)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    if (picture.isEmpty())
        return shortestText(value);

    bool grouping = false;
    const std::vector<Token> tokens = parsePicture(picture, grouping);

    // Split into integer part, fraction part and exponent part.
    std::vector<Token> intPart, fracPart, expPart;
    const Token* exponent = nullptr;
    bool inFraction = false;
    bool percent = false;
    for (const Token& t : tokens) {
        if (t.kind == Token::Percent)
            percent = true;
        if (exponent) {
            expPart.push_back(t);
        } else if (t.kind == Token::Exponent) {
            exponent = &t;
        } else if (t.kind == Token::Point) {
            inFraction = true;
        } else if (inFraction) {
            fracPart.push_back(t);
        } else {
            intPart.push_back(t);
        }
    }
    const bool hasPoint = inFraction;
    int decimals = 0;
    for (const Token& t : fracPart)
        if (t.kind == Token::Zero || t.kind == Token::Hash)
            ++decimals;

    // A percentage of a value near the largest double is no longer finite.
    if (percent && !std::isfinite(value *= 100.0))
        return QString::number(value);
    const bool negative = std::signbit(value);
    Decimal d = toDecimal(std::fabs(value));

    QString expText;
    if (exponent) {
        int intDigits = 0;
        for (const Token& t : intPart)
            if (t.kind == Token::Zero || t.kind == Token::Hash)
                ++intDigits;
        intDigits = std::max(intDigits, 1);
        int exp10 = 0;
        if (!isZero(d)) {
            exp10 = d.point - intDigits;
            d.point = intDigits;
            roundTo(d, decimals);
            if (d.point > intDigits) { // 9.995 became 10.00
                exp10 += d.point - intDigits;
                d.digits.resize(d.digits.size() - static_cast<size_t>(d.point - intDigits));
                d.point = intDigits;
            }
        } else {
            roundTo(d, decimals);
        }
        int expZeros = 0;
        for (const Token& t : expPart)
            if (t.kind == Token::Zero || t.kind == Token::Hash)
                ++expZeros;
        expText = exponent->letter;
        if (exp10 < 0)
            expText += QLatin1Char('-');
        else if (exponent->plusSign)
            expText += QLatin1Char('+');
        expText += QStringLiteral("%1").arg(std::abs(exp10), std::max(expZeros, 1), 10, QLatin1Char('0'));
        for (const Token& t : expPart)
            if (t.kind == Token::Literal)
                expText += t.text;
    } else {
        roundTo(d, decimals);
    }

    const std::string intDigits = d.digits.substr(0, static_cast<size_t>(d.point));
    const std::string fracDigits = d.digits.substr(static_cast<size_t>(d.point));
    QString out;
    // A value that rounds to zero is shown without a sign.
    if (negative && !isZero(d))
        out += QLatin1Char('-');
    out += fillInteger(intPart, intDigits, grouping);
    if (hasPoint)
        out += localeDecimalSeparator();
    out += fillFraction(fracPart, fracDigits);
    out += expText;
    return out;
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

QString formatDate(const QDateTime& when, const QString& picture)
{
    const QDate date = when.date();
    const QTime time = when.time();
    const QLocale locale;
    QString out;
    bool afterHour = false; // "mm" right after an hour means minutes
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    for (qsizetype i = 0; i < picture.size();) {
        const QChar c = picture[i];
        if (c == QLatin1Char('\\')) {
            if (i + 1 < picture.size())
                out += picture[i + 1];
            i += 2;
            continue;
        }
        if (c == QLatin1Char('"')) {
            const qsizetype end = picture.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = end < 0 ? picture.size() : end;
            out += picture.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        const QChar lower = c.toLower();
        qsizetype run = 1;
        while (i + run < picture.size() && picture[i + run].toLower() == lower)
            ++run;
        const int n = static_cast<int>(run);
        switch (lower.toLatin1()) {
        case 'y':
            out += n >= 3 ? QString::number(date.year()) : two(date.year() % 100);
            break;
        case 'm':
            if (afterHour && n <= 2)
                out += n == 2 ? two(time.minute()) : QString::number(time.minute());
            else if (n >= 4)
                out += locale.monthName(date.month(), QLocale::LongFormat);
            else if (n == 3)
                out += locale.monthName(date.month(), QLocale::ShortFormat);
            else
                out += n == 2 ? two(date.month()) : QString::number(date.month());
            break;
        case 'd':
            if (n >= 4)
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (n == 3)
                out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else
                out += n == 2 ? two(date.day()) : QString::number(date.day());
            break;
        case 'h':
            out += n >= 2 ? two(time.hour()) : QString::number(time.hour());
            break;
        case 'n':
            out += n >= 2 ? two(time.minute()) : QString::number(time.minute());
            break;
        case 's':
            out += n >= 2 ? two(time.second()) : QString::number(time.second());
            break;
        default:
            out += picture.mid(i, run);
            i += run;
            continue;
        }
        afterHour = lower == QLatin1Char('h');
        i += run;
    }
    return out;
}

QString generalDate(const QDateTime& when)
{
    const QLocale locale;
    // The long time without a time-zone name: the log and text files show local time.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    timeFormat = timeFormat.trimmed();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(when.time(), timeFormat);
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
