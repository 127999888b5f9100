#include "graph/PlotFile.h"

#include "core/ErrorTrap.h"
#include "core/Tz4Error.h"
#include "graph/Tz4Graph.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace tz4 {

namespace {

constexpr int kScreenDpi = 96;
// The page is drawn finely enough that twips land on whole device units.
constexpr int kPdfDpi = 1440;
constexpr int kDotsPerMeterAt96 = 3780;

QByteArray encodePng(uclTz4Graph& graph, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!renderPlotImage(graph, size).save(&buffer, "PNG"))
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

void writePlotFile(uclTz4Graph& graph, const QString& file, QSize size)
{
    const QString title = QFileInfo(file).completeBaseName();
    QByteArray bytes;
    switch (plotFormatOf(file)) {
    case PlotFormat::Png: bytes = encodePng(graph, size); break;
    case PlotFormat::Svg: bytes = encodeSvg(graph, size, title); break;
    case PlotFormat::Pdf: bytes = encodePdf(graph, size, title); break;
    case PlotFormat::Unknown:
        throw Tz4Error(err::InvalidPropertyValue,
                       QStringLiteral("'%1' names no picture format: use .png, .svg or .pdf").arg(file));
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw Tz4Error(fileError(out).number(),
                       QStringLiteral("'%1' could not be written: %2").arg(file, out.errorString()));
}

} // namespace tz4
