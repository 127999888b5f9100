#include "print/ReportFile.h"

#include "core/Tz4Error.h"
#include "graph/PlotFile.h"
#include "print/PrintPage.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace tz4 {

namespace {

constexpr int kImageDpi = 150;
constexpr int kPdfDpi = 1200;
constexpr double kInchesPerMeter = 0.0254;

} // namespace

ReportFormat reportFormatOf(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return ReportFormat::Pdf;
    if (suffix == QLatin1String("png"))
        return ReportFormat::Png;
    return ReportFormat::Unknown;
}

QByteArray renderReportPdf(PrintPage& page, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("TZ-4 Desktop"));
    pdf.setResolution(kPdfDpi);
    pdf.setPageSize(QPageSize(page.device().paperMM, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    page.paint(painter, PrintPage::Printed);
    painter.end();
    return bytes;
}

QImage renderReportImage(PrintPage& page, int dotsPerInch)
{
    const QSizeF paper = page.device().paperMM;
    const QSize size(int(std::lround(paper.width() / 25.4 * dotsPerInch)),
                     int(std::lround(paper.height() / 25.4 * dotsPerInch)));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        throw Tz4Error(err::OutOfMemory, QStringLiteral("A page of %1 x %2 pixels does not fit in memory")
                                             .arg(size.width())
                                             .arg(size.height()));
    image.setDotsPerMeterX(int(std::lround(dotsPerInch / kInchesPerMeter)));
    image.setDotsPerMeterY(int(std::lround(dotsPerInch / kInchesPerMeter)));
    image.fill(Qt::white);
    QPainter painter(&image);
    page.paint(painter, PrintPage::All);
    return image;
}

void writeReportFile(PrintPage& page, const QString& file)
{
    const QString title = QFileInfo(file).completeBaseName();
    switch (reportFormatOf(file)) {
    case ReportFormat::Pdf: saveWhole(file, renderReportPdf(page, title)); return;
    case ReportFormat::Png: {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!renderReportImage(page, kImageDpi).save(&buffer, "PNG"))
            throw Tz4Error(err::DeviceIoError, QStringLiteral("The page could not be encoded as PNG"));
        saveWhole(file, bytes);
        return;
    }
    case ReportFormat::Unknown: break;
    }
    throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("'%1' names no page format: use .pdf or .png").arg(file));
}

} // namespace tz4
