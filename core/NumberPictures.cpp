#include "core/DecimalDigits.h"
#include "core/Formats.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace tz4 {

using namespace decimal;

namespace {

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

int placeholders(const std::vector<Token>& part)
{
    int count = 0;
    for (const Token& t : part)
        if (t.kind == Token::Zero || t.kind == Token::Hash)
            ++count;
    return count;
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

    const int places = placeholders(part);
    // Slot s shows digit s + offset; the first slot also takes any surplus digits in front.
    const int offset = static_cast<int>(shown.size()) - places;
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
    if (places == 0)
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

// A picture cut at its decimal point and its exponent marker.
struct Picture {
    std::vector<Token> intPart, fracPart, expPart;
    std::optional<Token> exponent;
    bool hasPoint = false;
    bool percent = false;
    bool grouping = false;
};

Picture splitPicture(const QString& text)
{
    Picture picture;
    for (const Token& t : parsePicture(text, picture.grouping)) {
        if (t.kind == Token::Percent)
            picture.percent = true;
        if (picture.exponent) {
            picture.expPart.push_back(t);
        } else if (t.kind == Token::Exponent) {
            picture.exponent = t;
        } else if (t.kind == Token::Point) {
            picture.hasPoint = true;
        } else if (picture.hasPoint) {
            picture.fracPart.push_back(t);
        } else {
            picture.intPart.push_back(t);
        }
    }
    return picture;
}

// Shifts `d` to as many whole digits as the picture has placeholders, rounds it to `decimals`
// and returns the exponent as the picture writes it.
QString scaleToExponent(Decimal& d, const Picture& picture, int decimals)
{
    const int intDigits = std::max(placeholders(picture.intPart), 1);
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
    QString text = picture.exponent->letter;
    if (exp10 < 0)
        text += QLatin1Char('-');
    else if (picture.exponent->plusSign)
        text += QLatin1Char('+');
    text += QStringLiteral("%1").arg(std::abs(exp10), std::max(placeholders(picture.expPart), 1), 10, QLatin1Char('0'));
    for (const Token& t : picture.expPart)
        if (t.kind == Token::Literal)
            text += t.text;
    return text;
}

} // namespace

QString formatNumber(double value, const QString& text)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    if (text.isEmpty())
        return shortestText(value);

    // Long listings format column after column with one picture: it is parsed once.
    thread_local QString lastText;
    thread_local Picture lastPicture;
    if (text != lastText) {
        lastPicture = splitPicture(text);
        lastText = text;
    }
    const Picture& picture = lastPicture;
    const int decimals = placeholders(picture.fracPart);
    // A percentage of a value near the largest double is no longer finite.
    if (picture.percent && !std::isfinite(value *= 100.0))
        return QString::number(value);
    const bool negative = std::signbit(value);
    Decimal d = toDecimal(std::fabs(value));

    QString expText;
    if (picture.exponent)
        expText = scaleToExponent(d, picture, decimals);
    else
        roundTo(d, decimals);

    const std::string intDigits = d.digits.substr(0, static_cast<size_t>(d.point));
    const std::string fracDigits = d.digits.substr(static_cast<size_t>(d.point));
    QString out;
    // A value that rounds to zero is shown without a sign.
    if (negative && !isZero(d))
        out += QLatin1Char('-');
    out += fillInteger(picture.intPart, intDigits, picture.grouping);
    if (picture.hasPoint)
        out += localeDecimalSeparator();
    out += fillFraction(picture.fracPart, fracDigits);
    out += expText;
    return out;
}

} // namespace tz4
