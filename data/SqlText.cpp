#include "data/SqlText.h"

namespace tz4 {

QString sqlQuote(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString sqlQuoteOrNull(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("NULL") : sqlQuote(text);
}

} // namespace tz4
