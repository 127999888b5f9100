#include "app/cli/CommandArgs.h"
#include "app/cli/RecordReport.h"
#include "app/cli/SampleCommands.h"
#include "core/Formats.h"
#include "core/TextFileOut.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/SampleListing.h"
#include "data/SearchQuery.h"
#include "data/Tz4DataSet.h"
#include "data/JetSql.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

namespace {

// A date typed as yyyy-mm-dd (a time may follow) or as the stored dialect reads it.
QDateTime parseDate(const QString& text, bool endOfDay)
{
    QDateTime when = JetSql::parseDateLiteral(text);
    if (when.isValid() && endOfDay && !text.contains(QLatin1Char(':')))
        when.setTime(QTime(23, 59, 59));
    return when;
}

// The conditions the options give; the text of a usage error when one is unreadable.
std::optional<QString> readConditions(const CommandArgs& parsed, SearchConditions& conditions)
{
    conditions.sampleName = parsed.value(QStringLiteral("name"));
    conditions.notes = parsed.value(QStringLiteral("notes"));
    if (parsed.values.contains(QStringLiteral("kind"))) {
        const int kind = clsTz4DataSet::kindOfLetter(parsed.value(QStringLiteral("kind")));
        if (kind == clsTz4DataSet::KindNone)
            return QStringLiteral("--kind takes W, C, L, D or T");
        conditions.kindChoice = kind + 1;
    }
    for (const auto& [option, target, endOfDay] :
         {std::tuple{QStringLiteral("from"), &conditions.from, false}, std::tuple{QStringLiteral("to"), &conditions.to, true}}) {
        if (!parsed.values.contains(option))
            continue;
        *target = parseDate(parsed.value(option), endOfDay);
        if (!target->isValid())
            return QStringLiteral("--%1 takes a date such as 2026-12-31").arg(option);
    }
    for (const auto& [option, target] : {std::pair{QStringLiteral("months"), &conditions.pastMonths},
                                         std::pair{QStringLiteral("days"), &conditions.pastDays}}) {
        if (!parsed.values.contains(option))
            continue;
        bool ok = false;
        *target = parsed.value(option).toInt(&ok);
        if (!ok || *target < 1)
            return QStringLiteral("--%1 takes a whole number above 0").arg(option);
    }
    return std::nullopt;
}

// One line a record, or one JSON array of them.
void printRows(const QList<RecordRow>& rows, bool json)
{
    QTextStream out(stdout);
    QJsonArray list;
    for (const RecordRow& row : rows) {
        const QString letter = clsTz4DataSet::letterOfKind(row.modes);
        if (letter.isEmpty())
            continue;
        const QString key = makeKey(row.seqNo, letter);
        const QString light = row.measLight.isNull()
            ? QStringLiteral("0.0nW")
            : formatNumber(row.measLight.toDouble(), QStringLiteral("##0.0")) + QStringLiteral("nW");
        if (json) {
            list.append(QJsonObject{{QStringLiteral("key"), key},
                                    {QStringLiteral("name"), row.sampleName},
                                    {QStringLiteral("type"), kindName(letter)},
                                    {QStringLiteral("light"), light},
                                    {QStringLiteral("date"), row.dataTime.isValid()
                                                                 ? QJsonValue(row.dataTime.toString(Qt::ISODate))
                                                                 : QJsonValue()}});
        } else {
            out << key << '\t' << quotedField(row.sampleName, QStringLiteral("\t")) << '\t' << kindName(letter) << '\t' << light << '\t'
                << (row.dataTime.isValid() ? generalDate(row.dataTime) : QStringLiteral("Measure Date None")) << '\n';
        }
    }
    if (json)
        out << QJsonDocument(list).toJson(QJsonDocument::Compact) << '\n';
    out.flush();
}

} // namespace

int runSearch(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args,
                                      {QStringLiteral("name"), QStringLiteral("notes"), QStringLiteral("kind"),
                                       QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("months"),
                                       QStringLiteral("days")},
                                      {}, parsed))
        return usageError("search", *error);
    if (!parsed.positional.isEmpty())
        return usageError("search", QStringLiteral("unexpected argument '%1'").arg(parsed.positional.first()));
    SearchConditions conditions;
    if (const auto error = readConditions(parsed, conditions))
        return usageError("search", *error);
    const QString query = makeQueryString(conditions);
    if (query.isEmpty())
        return usageError("search", GetRes(msg::SearchBadConditions));

    return withDatabase(options, "search", [&](const QString& database) {
        const QList<RecordRow> rows = SampleListing(database).search(query);
        printRows(rows, options.json);
        std::fprintf(stderr, "%s\n", qUtf8Printable(GetRes(msg::DatasFound, {qsizetype(rows.size())})));
        return 0;
    });
}

} // namespace tz4::cli
