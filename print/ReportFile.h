#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tz4 {

class PrintPage;

enum class ReportFormat { Pdf, Png, Unknown };

// The format a file name asks for, by its extension (any case).
ReportFormat reportFormatOf(const QString& file);

// The page as a PDF document of the paper's size.
QByteArray renderReportPdf(PrintPage& page, const QString& title);
// The page as an image at `dotsPerInch`, on white. Throws Tz4Error when it does not fit in memory.
QImage renderReportImage(PrintPage& page, int dotsPerInch);

// Writes the page as PDF or as a PNG image at 150 dots per inch. The file appears whole or
// not at all; throws Tz4Error for another extension or a file that cannot be written.
void writeReportFile(PrintPage& page, const QString& file);

} // namespace tz4
