#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace tz4 {

class uclTz4Graph;

enum class PlotFormat { Png, Svg, Pdf, Unknown };

// The format a file name asks for, by its extension (any case).
PlotFormat plotFormatOf(const QString& file);

// The graph painted as its own picture, `size` pixels at 96 per inch. Throws Tz4Error when
// the picture does not fit in memory.
QImage renderPlotImage(uclTz4Graph& graph, QSize size);

// The file's bytes: the picture as PNG, or the graph drawn again as SVG or PDF (a page of
// the same size). Throws Tz4Error for an unknown extension.
QByteArray encodePlot(uclTz4Graph& graph, const QImage& picture, const QString& file);

// Writes `bytes` so that the file appears whole or not at all; throws Tz4Error when it cannot.
void saveWhole(const QString& file, const QByteArray& bytes);

// Writes the graph as PNG, SVG or PDF (a page of the same size) to `file`. The file appears
// whole or not at all. Throws Tz4Error for an unknown extension or a file that cannot be written.
void writePlotFile(uclTz4Graph& graph, const QString& file, QSize size);

} // namespace tz4
