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

} // namespace

int runPlot(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("size")}, {}, parsed);
        error || parsed.positional.size() < 2) {
        fail(error ? *error : QStringLiteral("name one or more records and a .png, .svg or .pdf file"));
        return 2;
    }
    QSize size = kDefaultSize;
    if (parsed.values.contains(QStringLiteral("size"))) {
        const auto given = sizeOf(parsed.value(QStringLiteral("size")));
        if (!given) {
            fail(QStringLiteral("--size takes WIDTHxHEIGHT in pixels, each from 1 to %1 (for example 960x600)")
                     .arg(kMaxSide));
            return 2;
        }
        size = *given;
    }
    const QString file = parsed.positional.takeLast();
    if (plotFormatOf(file) == PlotFormat::Unknown) {
        fail(QStringLiteral("'%1' names no picture format: use .png, .svg or .pdf").arg(file));
        return 2;
    }
    if (!openRecordStore(options, "plot"))
        return 1;

    // Each mode has its own display set: the first record's mode is plotted.
    QStringList plotted, leftOut;
    QString mode;
    for (const QString& keyText : keysOf(parsed.positional)) {
        const std::optional<QString> stored = storedKey(keyText, "plot");
        if (!stored)
            return 1;
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

    clsTz4DataSets records;
    for (const QString& key : plotted)
        records.Add(key, SystemParam().DatabasePath);
    records.setSelectedItem(records.Item(1));
    clsTz4GraphDisps disps;
    const clsTz4GraphDisp* disp = disps.Add(mode, SystemParam().DatabasePath);
    for (const QString& warning : disp->LoadWarnings())
        fail(warning);
    for (const clsTz4DataSet& record : records) {
        if (const int bad = nonFinitePoints(record))
            fail(QStringLiteral("record %1 has %2 point(s) whose values are not finite numbers; they are not drawn")
                     .arg(record.Key())
                     .arg(bad));
    }

    uclTz4Graph graph;
    graph.setDataItems(&records);
    graph.setDispItems(&disps);
    QImage picture;
    try {
        // Also scales the graph, which tells whether there is anything to draw.
        picture = renderPlotImage(graph, size);
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
        saveWhole(file, encodePlot(graph, picture, file));
    } catch (const Tz4Error& error) {
        fail(error.description());
        return 1;
    }
    QTextStream(stdout) << file << Qt::endl;
    return 0;
}

} // namespace tz4::cli
