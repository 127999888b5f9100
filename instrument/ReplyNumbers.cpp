#include "instrument/ReplyNumbers.h"

#include "core/Formats.h"
#include "core/Tz4Error.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace tz4 {

namespace {

[[noreturn]] void typeMismatch() { throw Tz4Error(err::TypeMismatch, QStringLiteral("Type mismatch")); }
[[noreturn]] void overflow() { throw Tz4Error(err::Overflow, QStringLiteral("Overflow")); }

double parse(QLocale locale, const QString& text, bool* ok)
{
    // "1,000" must not pass as a thousand: replies carry no group separators.
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    return locale.toDouble(text.trimmed(), ok);
}

template <typename Int> Int toWhole(double value)
{
    if (!std::isfinite(value) || value < double(std::numeric_limits<Int>::min()) - 0.5
        || value >= double(std::numeric_limits<Int>::max()) + 0.5)
        overflow();
    const qint64 whole = roundHalfEven(value);
    if (whole < std::numeric_limits<Int>::min() || whole > std::numeric_limits<Int>::max())
        overflow();
    return static_cast<Int>(whole);
}

} // namespace

double replyToDouble(const QString& text)
{
    bool ok = false;
    const double value = parse(QLocale::c(), text, &ok);
    // "inf" and "nan" read as numbers, but no instrument measures them.
    if (!ok || !std::isfinite(value))
        typeMismatch();
    // The instrument's values are single precision; a larger one cannot be held.
    if (std::abs(value) > std::numeric_limits<float>::max())
        overflow();
    return value;
}

qint16 replyToInt16(const QString& text) { return toWhole<qint16>(replyToDouble(text)); }

qint32 replyToInt32(const QString& text) { return toWhole<qint32>(replyToDouble(text)); }

qint16 wholeInt16(double value) { return toWhole<qint16>(value); }

qint32 wholeInt32(double value) { return toWhole<qint32>(value); }

bool isLocaleNumber(const QString& text, double* value)
{
    bool ok = false;
    const double parsed = parse(QLocale(), text, &ok);
    ok = ok && std::isfinite(parsed);
    if (ok && value)
        *value = parsed;
    return ok;
}

} // namespace tz4
