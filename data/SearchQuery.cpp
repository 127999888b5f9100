#include "data/SearchQuery.h"

#include "core/ErrorLocation.h"
#include "data/JetSql.h"

namespace tz4 {

namespace {

// Dates go into the statement in a form the dialect reads back exactly, whatever the user's
// date pattern is.
QString dateLiteral(const QDateTime& when)
{
    return QLatin1Char('#') + JetSql::storedDate(when) + QLatin1Char('#');
}

// "Within the past n months" reaching before the first year of the calendar means every date.
QDateTime notBeforeYearOne(const QDateTime& when)
{
    const QDateTime first(QDate(1, 1, 1), QTime(0, 0));
    return when.isValid() && when >= first ? when : first;
}

// The search text sits inside a quoted Like pattern: a quote is doubled, and the pattern's own
// wildcards in it are taken literally.
QString likeText(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\''))
            out += QStringLiteral("''");
        else if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('['))
            out += QLatin1Char('[') + c + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

} // namespace

QString makeQueryString(const SearchConditions& c, const QDateTime& now)
{
    EnterProcedure here("frmSample:makeQueryString");
    QStringList parts;
    if (!c.sampleName.isEmpty())
        parts << QStringLiteral("SampleName Like '*") + likeText(c.sampleName) + QStringLiteral("*'");
    if (!c.notes.isEmpty())
        parts << QStringLiteral(" Notes1 Like '*") + likeText(c.notes) + QStringLiteral("*'");
    if (c.from.isValid() && c.to.isValid())
        parts << QStringLiteral(" DataTime >= ") + dateLiteral(c.from) + QStringLiteral(" And DataTime <= ")
                + dateLiteral(c.to);
    else if (c.from.isValid())
        parts << QStringLiteral(" DataTime >= ") + dateLiteral(c.from);
    else if (c.to.isValid())
        parts << QStringLiteral(" DataTime <= ") + dateLiteral(c.to);
    else if (c.pastMonths > 0)
        parts << QStringLiteral(" DataTime >= ") + dateLiteral(notBeforeYearOne(now.addMonths(-c.pastMonths)));
    else if (c.pastDays > 0)
        parts << QStringLiteral(" DataTime >= ") + dateLiteral(notBeforeYearOne(now.addDays(-c.pastDays)));
    if (c.kindChoice >= 1 && c.kindChoice <= 5)
        parts << QStringLiteral(" Modes=%1").arg(c.kindChoice - 1);
    if (parts.isEmpty())
        return {};
    return QStringLiteral("Where ") + parts.join(QStringLiteral(" And"));
}

QString makeExportList(const QStringList& keys)
{
    QString list;
    for (const QString& key : keys)
        list += key + QLatin1Char(',');
    return list;
}

} // namespace tz4
