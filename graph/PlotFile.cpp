#include "graph/PlotFile.h"

#include "core/ErrorTrap.h"
#include "core/FileTargets.h"
#include "core/Tz4Error.h"
#include "graph/Tz4Graph.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace tz4 {

namespace {

constexpr int kScreenDpi = 96;
// The page is drawn finely enough that twips land on whole device units.
constexpr int kPdfDpi = 1440;
constexpr int kDotsPerMeterAt96 = 3780;

QByteArray encodePng(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        throw Tz4Error(err::DeviceIoError, QStringLiteral("The picture could not be encoded as PNG"));
    return bytes;
}

QByteArray encodeSvg(uclTz4Graph& graph, QSize size, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kScreenDpi);
    svg.setTitle(title);
    QPainter painter(&svg);
    graph.Refresh(painter);
    painter.end();
    return bytes;
}

QByteArray encodePdf(uclTz4Graph& graph, QSize size, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("TZ-4 Desktop"));
    pdf.setResolution(kPdfDpi);
    const QSizeF points(size.width() * 72.0 / kScreenDpi, size.height() * 72.0 / kScreenDpi);
    pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    graph.Refresh(painter);
    painter.end();
    return bytes;
}

} // namespace

PlotFormat plotFormatOf(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return PlotFormat::Png;
    if (suffix == QLatin1String("svg"))
        return PlotFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return PlotFormat::Pdf;
    return PlotFormat::Unknown;
}

QImage renderPlotImage(uclTz4Graph& graph, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        throw Tz4Error(err::OutOfMemory, QStringLiteral("A picture of %1 x %2 pixels does not fit in memory")
                                             .arg(size.width())
                                             .arg(size.height()));
    image.setDotsPerMeterX(kDotsPerMeterAt96);
    image.setDotsPerMeterY(kDotsPerMeterAt96);
    // Seen where a display set leaves the surface unpainted.
    image.fill(Qt::white);
    QPainter painter(&image);
    graph.Refresh(painter);
    return image;
}

QByteArray encodePlot(uclTz4Graph& graph, const QImage& picture, const QString& file)
{
    const QString title = QFileInfo(file).completeBaseName();
    switch (plotFormatOf(file)) {
    case PlotFormat::Png: return encodePng(picture);
    case PlotFormat::Svg: return encodeSvg(graph, picture.size(), title);
    case PlotFormat::Pdf: return encodePdf(graph, picture.size(), title);
    case PlotFormat::Unknown: break;
    }
    throw Tz4Error(err::InvalidPropertyValue,
                   QStringLiteral("'%1' names no picture format: use .png, .svg or .pdf").arg(file));
}

void saveWhole(const QString& file, const QByteArray& bytes)
{
    writeWholeFile(file, bytes);
}

void writePlotFile(uclTz4Graph& graph, const QString& file, QSize size)
{
    saveWhole(file, encodePlot(graph, renderPlotImage(graph, size), file));
}

} // namespace tz4
