#include "app/cli/ReportCommand.h"

#include "app/cli/CommandArgs.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/RecordStore.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/SystemParam.h"
#include "core/Tz4Error.h"
#include "print/PrintControl.h"
#include "print/ReportFile.h"

#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

namespace {

void say(const QString& text)
{
    // Catalogue texts may hold line breaks; a terminal line takes them as blanks.
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    std::fprintf(stderr, "tz4 report: %s\n", qUtf8Printable(line));
}

struct ReportRequest {
    QStringList keyTexts;
    QString file;
    qint32 templateNo = -1;
};

std::optional<ReportRequest> requestOf(const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("template")}, {}, parsed);
        error || parsed.positional.size() < 2) {
        say(error ? *error : QStringLiteral("name one or more records and a .pdf or .png file"));
        return std::nullopt;
    }
    ReportRequest request;
    if (parsed.values.contains(QStringLiteral("template"))) {
        bool ok = false;
        request.templateNo = parsed.value(QStringLiteral("template")).toInt(&ok);
        if (!ok || request.templateNo < 1) {
            say(QStringLiteral("--template takes the number of a print template"));
            return std::nullopt;
        }
    }
    request.file = parsed.positional.takeLast();
    if (reportFormatOf(request.file) == ReportFormat::Unknown) {
        say(QStringLiteral("'%1' names no page format: use .pdf or .png").arg(request.file));
        return std::nullopt;
    }
    request.keyTexts = parsed.positional;
    return request;
}

// "3 W", "3W" or "3" as the stored key of that record; none (with the reason) for no record.
std::optional<QStringList> storedKeys(const QStringList& keyTexts)
{
    static const QRegularExpression joined(QStringLiteral("^(\\d+)\\s*([A-Za-z])$"));
    QStringList keys;
    for (const QString& text : keyTexts) {
        const auto m = joined.match(text.trimmed());
        const std::optional<QString> key =
            storedKey(m.hasMatch() ? m.captured(1) + QLatin1Char(' ') + m.captured(2).toUpper() : text, "report");
        if (!key)
            return std::nullopt;
        keys << *key;
    }
    return keys;
}

// A template that was asked for by number is used as asked or not at all.
bool templateUsable(const TemplateChoice& choice, qint32 requested)
{
    if (choice.wrongKind) {
        say(GetRes(msg::WrongTemplate) + QStringLiteral(" (") + GetRes(msg::MissMatchType)
            + QStringLiteral(": %1)").arg(requested));
        return false;
    }
    if (choice.missing || choice.seqNo < 0) {
        say(GetRes(msg::NoTemplate) + (requested > 0 ? QStringLiteral(" (%1)").arg(requested) : QString()));
        return false;
    }
    return true;
}

} // namespace

int runReport(const GlobalOptions& options, const QStringList& args)
{
    const std::optional<ReportRequest> request = requestOf(args);
    if (!request)
        return ExitCode::Usage;
    if (!openRecordStore(options, "report"))
        return ExitCode::Failure;
    const std::optional<QStringList> keys = storedKeys(request->keyTexts);
    if (!keys)
        return ExitCode::Failure;

    PrintControl control(SystemParam().DatabasePath);
    try {
        control.SetUpGraph(*keys);
        for (const clsTz4DataSet& record : control.records()) {
            if (!record.LoadFailure().isEmpty()) {
                say(QStringLiteral("record %1 cannot be read: %2").arg(record.Key(), record.LoadFailure()));
                return ExitCode::Failure;
            }
        }
        if (!templateUsable(control.SetUpTemplate(request->templateNo), request->templateNo))
            return ExitCode::Failure;
        for (const QString& problem : control.page().problems())
            say(problem);
        writeReportFile(control.page(), request->file);
    } catch (const Tz4Error& error) {
        say(GetRes(msg::PageNotWritten, {request->file, error.description()}));
        return ExitCode::Failure;
    }
    QTextStream(stdout) << request->file << Qt::endl;
    return ExitCode::Success;
}

} // namespace tz4::cli
