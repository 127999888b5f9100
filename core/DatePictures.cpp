#include "core/Formats.h"

#include <QLocale>

#include <optional>

namespace tz4 {

namespace {

QString two(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

// The text of a run of `n` equal letters (`letter` lower case); none for a letter that is no field.
std::optional<QString> dateField(char letter, int n, const QDateTime& when, bool afterHour, const QLocale& locale)
{
    const QDate date = when.date();
    const QTime time = when.time();
    switch (letter) {
    case 'y': return n >= 3 ? QString::number(date.year()) : two(date.year() % 100);
    case 'm':
        if (afterHour && n <= 2) // "mm" right after an hour means minutes
            return n == 2 ? two(time.minute()) : QString::number(time.minute());
        if (n >= 3)
            return locale.monthName(date.month(), n >= 4 ? QLocale::LongFormat : QLocale::ShortFormat);
        return n == 2 ? two(date.month()) : QString::number(date.month());
    case 'd':
        if (n >= 3)
            return locale.dayName(date.dayOfWeek(), n >= 4 ? QLocale::LongFormat : QLocale::ShortFormat);
        return n == 2 ? two(date.day()) : QString::number(date.day());
    case 'h': return n >= 2 ? two(time.hour()) : QString::number(time.hour());
    case 'n': return n >= 2 ? two(time.minute()) : QString::number(time.minute());
    case 's': return n >= 2 ? two(time.second()) : QString::number(time.second());
    default: return std::nullopt;
    }
}

} // namespace

QString formatDate(const QDateTime& when, const QString& picture)
{
    const QLocale locale;
    QString out;
    bool afterHour = false;
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
        if (const auto field = dateField(lower.toLatin1(), static_cast<int>(run), when, afterHour, locale)) {
            out += *field;
            afterHour = lower == QLatin1Char('h');
        } else {
            out += picture.mid(i, run);
        }
        i += run;
    }
    return out;
}

} // namespace tz4
