#pragma once

#include "print/DataTable.h"
#include "print/PrintTemplate.h"

#include <QDateTime>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

class QPainter;

namespace tz4 {

class clsTz4DataSet;
class clsTz4DataSets;
class uclTz4Graph;

// What the page is printed on: a device name, the paper and its printable area, in millimetres.
struct PageDevice {
    QString name;
    QSizeF paperMM{210, 297}; // A4
    QRectF printableMM{0, 0, 210, 297};
};

// One report page: the graph of the records, the data table of the selected record and the
// labels, each placed in millimetres as the template says. paint() draws it on any paint
// device (the preview's picture, a printer, a PDF, an image) through that device's resolution,
// with the paper's top-left corner at the device's origin.
class PrintPage {
public:
    enum Layer { Paper = 1, GraphLayer = 2, TableLayer = 4, LabelLayer = 8, Printed = 14, All = 15 };

    PrintPage(PrintTemplate& tmpl, clsTz4DataSets& records, uclTz4Graph& graph);

    const PageDevice& device() const { return device_; }
    void setDevice(const PageDevice& device) { device_ = device; }
    PrintTemplate& templ() { return tmpl_; }
    const PrintTemplate& templ() const { return tmpl_; }
    // The record whose table and values are printed.
    const clsTz4DataSet* selectedRecord() const;

    // Values of bound labels from the selected record (RefreshBindingCaption), `now` for the
    // time of printing; without a selected record they are cleared.
    void RefreshBindingCaption(const QDateTime& now = QDateTime::currentDateTime());
    // The table of the selected record, built again (MakeTableCol).
    void MakeTableCol();
    const PrintDataTable& table() const { return table_; }

    void paint(QPainter& painter, int layers = All);

    // A label's box on the paper (mm), measured in its font.
    QRectF labelRect(const clsTz4PrintLabel& label) const;
    // The label under a point of the paper (mm); the one drawn last wins. Null for none.
    clsTz4PrintLabel* LabelHitTest(QPointF mm) const;

    // What the page cannot show as the template asks, one sentence each: labels, graph or
    // table outside the paper, labels bound to what the record does not answer, formats that
    // do not fit their values, table rows that do not fit.
    QStringList problems() const;

private:
    void paintGraph(QPainter& painter);
    void paintLabels(QPainter& painter);

    PrintTemplate& tmpl_;
    clsTz4DataSets& records_;
    uclTz4Graph& graph_;
    PageDevice device_;
    PrintDataTable table_;
};

// Device units per millimetre of a paint device.
double unitsPerMMX(const QPaintDevice& device);
double unitsPerMMY(const QPaintDevice& device);

} // namespace tz4
