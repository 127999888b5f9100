#include "print/LabelFormat.h"

#include "core/Formats.h"

#include <QDateTime>
#include <QLocale>

#include <charconv>
#include <cmath>
#include <optional>

namespace tz4 {

namespace {

// The characters of a picture outside quotes and escapes, where its placeholders are.
QString pictureSymbols(const QString& format)
{
    QString symbols;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('"')) {
            const qsizetype end = format.indexOf(QLatin1Char('"'), i + 1);
            i = end < 0 ? format.size() : end;
        } else {
            symbols += c;
        }
    }
    return symbols;
}

bool isNumberPicture(const QString& symbols)
{
    return symbols.contains(QLatin1Char('0')) || symbols.contains(QLatin1Char('#'));
}

bool isDatePicture(const QString& symbols)
{
    if (isNumberPicture(symbols))
        return false;
    for (const QChar c : symbols) {
        switch (c.toLower().unicode()) {
        case 'y':
        case 'm':
        case 'd':
        case 'h':
        case 'n':
        case 's': return true;
        default: break;
        }
    }
    return false;
}

// A number held as a number or as text in either notation ("3.14" or the locale's "3,14").
std::optional<double> numberOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Float: {
        // Rounded as the single-precision value reads (2.675 to 2.68), not its binary neighbour.
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value.toFloat()).ptr;
        double number = 0;
        std::from_chars(digits, end, number);
        return number;
    }
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toDouble();
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        bool ok = false;
        double number = QLocale::c().toDouble(text, &ok);
        if (!ok)
            number = QLocale().toDouble(text, &ok);
        return ok ? std::optional<double>(number) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

QString plainValueText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime: return generalDate(value.toDateTime());
    case QMetaType::QDate: return generalDate(value.toDate().startOfDay());
    case QMetaType::Float: return shortestText(value.toFloat());
    case QMetaType::Double: return shortestText(value.toDouble());
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default: return value.toString();
    }
}

QString formatLabelValue(const QVariant& value, const QString& format, bool* fits)
{
    if (fits)
        *fits = true;
    if (format.isEmpty())
        return plainValueText(value);
    const QString symbols = pictureSymbols(format);
    const bool isDate = value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate;
    if (isDate && isDatePicture(symbols)) {
        const QDateTime when =
            value.typeId() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
        if (when.isValid())
            return formatDate(when, format);
    } else if (!isDate && isNumberPicture(symbols)) {
        if (const std::optional<double> number = numberOf(value); number && std::isfinite(*number))
            return formatNumber(*number, format);
    }
    if (fits)
        *fits = false;
    return plainValueText(value);
}

} // namespace tz4
