#include "app/cli/CommandArgs.h"
#include "app/cli/PlotCommand.h"
#include "app/cli/RecordStore.h"
#include "core/Keys.h"
#include "core/SystemParam.h"
#include "core/Tz4Error.h"
#include "data/Tz4DataSets.h"
#include "graph/PlotFile.h"
#include "graph/Tz4Graph.h"

#include <QRegularExpression>
#include <QTextStream>

#include <cmath>
#include <cstdio>

namespace tz4::cli {

namespace {

constexpr QSize kDefaultSize(960, 600);
// Larger pictures than this would need hundreds of megabytes.
constexpr int kMaxSide = 8000;

void fail(const QString& text)
{
    std::fprintf(stderr, "tz4 plot: %s\n", qUtf8Printable(text));
}

// "3 W", "3W", "3" alone, or "3" followed by its letter as the next word.
QStringList keysOf(const QStringList& words)
{
    static const QRegularExpression letter(QStringLiteral("^[A-Za-z]$"));
    static const QRegularExpression joined(QStringLiteral("^(\\d+)\\s*([A-Za-z])$"));
    QStringList keys;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString word = words.at(i).trimmed();
        if (const auto m = joined.match(word); m.hasMatch()) {
            keys << m.captured(1) + QLatin1Char(' ') + m.captured(2).toUpper();
        } else if (i + 1 < words.size() && letter.match(words.at(i + 1).trimmed()).hasMatch()) {
            keys << word + QLatin1Char(' ') + words.at(i + 1).trimmed().toUpper();
            ++i;
        } else {
            keys << word;
        }
    }
    return keys;
}

std::optional<QSize> sizeOf(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
    const auto m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxSide || size.height() > kMaxSide)
        return std::nullopt;
    return size;
}

int nonFinitePoints(const clsTz4DataSet& record)
{
    int count = 0;
    for (int i = 0; i < record.DataCount(); ++i)
        count += !std::isfinite(record.ValueX(i)) || !std::isfinite(record.ValueY(i));
    return count;
}

struct PlotRequest {
    QStringList keyTexts;
    QSize size = kDefaultSize;
    QString file;
};

std::optional<PlotRequest> requestOf(const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("size")}, {}, parsed);
        error || parsed.positional.size() < 2) {
        fail(error ? *error : QStringLiteral("name one or more records and a .png, .svg or .pdf file"));
        return std::nullopt;
    }
    PlotRequest request;
    if (parsed.values.contains(QStringLiteral("size"))) {
        const auto given = sizeOf(parsed.value(QStringLiteral("size")));
        if (!given) {
            fail(QStringLiteral("--size takes WIDTHxHEIGHT in pixels, each from 1 to %1 (for example 960x600)")
                     .arg(kMaxSide));
            return std::nullopt;
        }
        request.size = *given;
    }
    request.file = parsed.positional.takeLast();
    if (plotFormatOf(request.file) == PlotFormat::Unknown) {
        fail(QStringLiteral("'%1' names no picture format: use .png, .svg or .pdf").arg(request.file));
        return std::nullopt;
    }
    request.keyTexts = parsed.positional;
    return request;
}

// Each mode has its own display set: the records of the first record's mode are plotted,
// the others named and left out. None when a key names no stored record.
std::optional<QStringList> keysOfFirstMode(const QStringList& keyTexts, QString& mode)
{
    QStringList plotted, leftOut;
    for (const QString& keyText : keysOf(keyTexts)) {
        const std::optional<QString> stored = storedKey(keyText, "plot");
        if (!stored)
            return std::nullopt;
        const QString key = *stored;
        if (mode.isEmpty())
            mode = GetKeyType(key);
        if (GetKeyType(key) != mode)
            leftOut << key;
        else if (!plotted.contains(key))
            plotted << key;
    }
    if (!leftOut.isEmpty())
        fail(QStringLiteral("%1 left out: only records of the first record's mode (%2) share one graph")
                 .arg(leftOut.join(QStringLiteral(", ")), mode));
    return plotted;
}

// A record read in part would be drawn as if it were whole.
bool allReadable(const clsTz4DataSets& records)
{
    for (const clsTz4DataSet& record : records) {
        if (!record.LoadFailure().isEmpty()) {
            fail(QStringLiteral("record %1 cannot be read: %2").arg(record.Key(), record.LoadFailure()));
            return false;
        }
    }
    return true;
}

void warnUndrawable(const clsTz4DataSets& records, const clsTz4GraphDisp& disp)
{
    for (const QString& warning : disp.LoadWarnings())
        fail(warning);
    for (const clsTz4DataSet& record : records) {
        if (const int bad = nonFinitePoints(record))
            fail(QStringLiteral("record %1 has %2 point(s) whose values are not finite numbers; they are not drawn")
                     .arg(record.Key())
                     .arg(bad));
    }
}

int drawAndSave(uclTz4Graph& graph, const clsTz4DataSets& records, const PlotRequest& request)
{
    QImage picture;
    try {
        // Also scales the graph, which tells whether there is anything to draw.
        picture = renderPlotImage(graph, request.size);
    } catch (const Tz4Error& error) {
        fail(error.description());
        return 1;
    }
    if (!graph.Plottable()) {
        QStringList counts;
        for (const clsTz4DataSet& record : records)
            counts << QStringLiteral("%1 has %2 point(s)").arg(record.Key()).arg(record.DataCount());
        fail(QStringLiteral("nothing to plot: the records give no range of at least two distinct points (%1); "
                            "no file was written")
                 .arg(counts.join(QStringLiteral(", "))));
        return 1;
    }
    try {
        saveWhole(request.file, encodePlot(graph, picture, request.file));
    } catch (const Tz4Error& error) {
        fail(error.description());
        return 1;
    }
    QTextStream(stdout) << request.file << Qt::endl;
    return 0;
}

} // namespace

int runPlot(const GlobalOptions& options, const QStringList& args)
{
    const std::optional<PlotRequest> request = requestOf(args);
    if (!request)
        return 2;
    if (!openRecordStore(options, "plot"))
        return 1;
    QString mode;
    const std::optional<QStringList> plotted = keysOfFirstMode(request->keyTexts, mode);
    if (!plotted)
        return 1;

    clsTz4DataSets records;
    for (const QString& key : *plotted)
        records.Add(key, SystemParam().DatabasePath);
    if (!allReadable(records))
        return 1;
    records.setSelectedItem(records.Item(1));
    clsTz4GraphDisps disps;
    warnUndrawable(records, *disps.Add(mode, SystemParam().DatabasePath));

    uclTz4Graph graph;
    graph.setDataItems(&records);
    graph.setDispItems(&disps);
    graph.setTitlesFollowRecord(true);
    return drawAndSave(graph, records, *request);
}

} // namespace tz4::cli
