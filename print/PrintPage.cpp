#include "print/PrintPage.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/Tz4DataSets.h"
#include "graph/Tz4Graph.h"
#include "print/BindingList.h"
#include "print/LabelFormat.h"
#include "print/ReferenceDevice.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace tz4 {

namespace {

constexpr double kMMPerInch = 25.4;

bool inside(const QSizeF& paper, const QRectF& box)
{
    return box.left() >= 0 && box.top() >= 0 && box.right() <= paper.width() && box.bottom() <= paper.height();
}

} // namespace

double unitsPerMMX(const QPaintDevice& device) { return device.logicalDpiX() / kMMPerInch; }
double unitsPerMMY(const QPaintDevice& device) { return device.logicalDpiY() / kMMPerInch; }

PrintPage::PrintPage(PrintTemplate& tmpl, clsTz4DataSets& records, uclTz4Graph& graph)
    : tmpl_(tmpl), records_(records), graph_(graph)
{
}

const clsTz4DataSet* PrintPage::selectedRecord() const
{
    return records_.Count() == 0 ? nullptr : records_.SelectedItem();
}

void PrintPage::RefreshBindingCaption(const QDateTime& now)
{
    const clsTz4DataSet* record = selectedRecord();
    for (clsTz4PrintLabel& label : tmpl_.Labels) {
        if (label.Binding())
            label.setValue(binding::value(record, label.BindingNumber(), now));
    }
}

void PrintPage::MakeTableCol()
{
    const clsTz4DataSet* record = selectedRecord();
    table_ = record ? PrintDataTable::MakeTableCol(*record) : PrintDataTable();
}

void PrintPage::paint(QPainter& painter, int layers)
{
    const QPaintDevice& device = *painter.device();
    const double ux = unitsPerMMX(device);
    const double uy = unitsPerMMY(device);
    if (layers & Paper)
        painter.fillRect(QRectF(0, 0, device_.paperMM.width() * ux, device_.paperMM.height() * uy), Qt::white);
    if ((layers & GraphLayer) && tmpl_.GraphVisible)
        paintGraph(painter);
    if ((layers & TableLayer) && tmpl_.TableVisible)
        table_.paint(painter,
                     QRectF(tmpl_.TableLeft * ux, tmpl_.TableTop * uy, tmpl_.TableWidth * ux, tmpl_.TableHeight * uy),
                     tmpl_.tableFont(), tmpl_.TableCols);
    if (layers & LabelLayer)
        paintLabels(painter);
}

void PrintPage::paintGraph(QPainter& painter)
{
    if (tmpl_.GraphWidth <= 0 || tmpl_.GraphHeight <= 0)
        return;
    constexpr double twips = clsTz4PrintLabels::TwipsPerMM;
    graph_.setOriginLeft(float(tmpl_.GraphLeft * twips));
    graph_.setOriginTop(float(tmpl_.GraphTop * twips));
    graph_.setSize(tmpl_.GraphWidth * twips, tmpl_.GraphHeight * twips);
    graph_.setFont(tmpl_.graphFont());
    // A page in a paper says what its axes are, as the window does.
    graph_.setTitlesFollowRecord(true);
    painter.save();
    graph_.Refresh(painter, uclTz4Graph::Surface::Foreign);
    painter.restore();
}

void PrintPage::paintLabels(QPainter& painter)
{
    const QPaintDevice& device = *painter.device();
    const double ux = unitsPerMMX(device);
    const double uy = unitsPerMMY(device);
    painter.save();
    painter.setPen(Qt::black);
    for (const clsTz4PrintLabel& label : tmpl_.Labels) {
        const QFont font(label.Font(), &device);
        painter.setFont(font);
        const QFontMetricsF metrics(font, &device);
        painter.drawText(QPointF(label.mmLeft() * ux, label.mmTop() * uy + metrics.ascent()), label.Caption());
    }
    painter.restore();
}

QRectF PrintPage::labelRect(const clsTz4PrintLabel& label) const
{
    const QPaintDevice& reference = referenceDevice();
    const QFontMetricsF metrics(QFont(label.Font(), &reference), &reference);
    const double perMM = unitsPerMMX(reference);
    const QString caption = label.Caption();
    // An empty label still has a place to click on.
    const double width = metrics.horizontalAdvance(caption.isEmpty() ? QStringLiteral(" ") : caption);
    return {label.mmLeft(), label.mmTop(), width / perMM, metrics.height() / unitsPerMMY(reference)};
}

clsTz4PrintLabel* PrintPage::LabelHitTest(QPointF mm) const
{
    clsTz4PrintLabel* hit = nullptr;
    for (clsTz4PrintLabel& label : tmpl_.Labels)
        if (labelRect(label).contains(mm))
            hit = &label;
    return hit;
}

QStringList PrintPage::problems() const
{
    QStringList found;
    const clsTz4DataSet* record = selectedRecord();
    if (tmpl_.GraphVisible
        && !inside(device_.paperMM, QRectF(tmpl_.GraphLeft, tmpl_.GraphTop, tmpl_.GraphWidth, tmpl_.GraphHeight)))
        found << GetRes(msg::GraphOutsidePage);
    if (tmpl_.TableVisible) {
        if (!inside(device_.paperMM, QRectF(tmpl_.TableLeft, tmpl_.TableTop, tmpl_.TableWidth, tmpl_.TableHeight)))
            found << GetRes(msg::TableOutsidePage);
        const int perGroup = table_.rowsPerGroup(tmpl_.TableCols);
        const int fit = table_.rowsThatFit(tmpl_.TableHeight, tmpl_.tableFont());
        if (fit < perGroup)
            found << GetRes(msg::TableRowsCut, {fit, perGroup});
    }
    int number = 0;
    for (const clsTz4PrintLabel& label : tmpl_.Labels) {
        ++number;
        if (!inside(device_.paperMM, labelRect(label)))
            found << GetRes(msg::LabelOutsidePage, {number, label.Caption()});
        if (label.Binding() && !binding::answered(record, label.BindingNumber()))
            found << GetRes(msg::LabelNotAnswered, {number, binding::title(label.BindingNumber()).isEmpty()
                                                                ? QString::number(label.BindingNumber())
                                                                : binding::title(label.BindingNumber())});
        if (!label.FormatFits())
            found << GetRes(msg::LabelFormatMisfit, {label.FormatString(), number, plainValueText(label.Value())});
    }
    return found;
}

} // namespace tz4
