#include "core/Formats.h"
#include "graph/GraphColor.h"
#include "print/BindingList.h"
#include "print/PrintControl.h"
#include "print/ReportFile.h"
#include "tests/print/PrintFixture.h"

#include <QImage>

#include <cmath>

using namespace tz4;
using tz4::test::PrintDatabase;

namespace {

constexpr int Dpi = 150;

class PrintPageTest : public PrintDatabase {
protected:
    PrintControl& open(const QStringList& keys, qint32 templateNo = -1)
    {
        control = std::make_unique<PrintControl>(database);
        EXPECT_TRUE(control->SetUpGraph(keys).isEmpty());
        control->SetUpTemplate(templateNo);
        return *control;
    }

    static QPoint pixel(double xMM, double yMM) { return QPointF(xMM / 25.4 * Dpi, yMM / 25.4 * Dpi).toPoint(); }

    // How many pixels of a rectangle of the page (mm) are not white.
    static int inked(const QImage& page, const QRectF& mm)
    {
        const QRect box(pixel(mm.left(), mm.top()), pixel(mm.right(), mm.bottom()));
        int count = 0;
        for (int y = box.top(); y < box.bottom(); ++y)
            for (int x = box.left(); x < box.right(); ++x)
                count += page.pixelColor(x, y) != QColor(Qt::white);
        return count;
    }

    static int ofColour(const QImage& page, const QRectF& mm, const QColor& colour)
    {
        const QRect box(pixel(mm.left(), mm.top()), pixel(mm.right(), mm.bottom()));
        int count = 0;
        for (int y = box.top(); y < box.bottom(); ++y)
            for (int x = box.left(); x < box.right(); ++x)
                count += page.pixelColor(x, y) == colour;
        return count;
    }

    std::unique_ptr<PrintControl> control;
};

TEST_F(PrintPageTest, BoundLabelsShowTheSelectedRecordAsTheTemplateFormatsThem)
{
    const QString gold = storeScan(QStringLiteral("Gold"));
    const QString silver = storeScan(QStringLiteral("Silver"), 4.6);
    PrintControl& c = open({gold, silver});
    const clsTz4DataSet* record = c.selected();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Key(), gold);
    const clsTz4PrintLabels& labels = c.templ().Labels;
    EXPECT_EQ(labels.Item(2)->Caption(), QStringLiteral("Sample Name : Gold"));
    const float workFunction = record->Parameters(param::WorkFunction).toFloat();
    ASSERT_NEAR(workFunction, 5.1, 0.15);
    EXPECT_EQ(labels.Item(5)->Caption(),
              QStringLiteral("Work Function : %1 eV").arg(formatNumber(workFunction, QStringLiteral("#0.00"))));
    EXPECT_EQ(labels.Item(4)->Caption(), QStringLiteral("Location : ")) << "a record at the top level has no folder";
    EXPECT_TRUE(c.page().problems().isEmpty()) << c.page().problems().join(QLatin1Char('\n')).toStdString();

    // The time of printing is the one binding no record answers but every page does.
    const QDateTime now(QDate(2026, 12, 24), QTime(10, 0));
    EXPECT_EQ(binding::value(record, binding::NowDateTime, now), QVariant(now));
    EXPECT_FALSE(binding::value(record, 52, now).isValid());
    EXPECT_EQ(binding::titles().size(), binding::Count);
    EXPECT_EQ(binding::title(26), QStringLiteral("Reserve"));
}

TEST_F(PrintPageTest, GraphIsPaintedWhereTheTemplatePlacesItAndNowhereElse)
{
    PrintControl& c = open({storeScan(QStringLiteral("Gold"))});
    PrintTemplate& t = c.templ();
    t.Labels.Clear();
    t.TableVisible = false;
    const QColor plotArea = colorFromBgr(c.graph().currentDisp()->ForeColor());

    QImage page = renderReportImage(c.page(), Dpi);
    ASSERT_EQ(page.size(), QSize(1240, 1754)) << "A4 at 150 dpi";
    const QRectF graph(t.GraphLeft, t.GraphTop, t.GraphWidth, t.GraphHeight);
    EXPECT_GT(ofColour(page, graph, plotArea), 0.5 * graph.width() * graph.height() * std::pow(Dpi / 25.4, 2))
        << "the plot area fills most of the graph's rectangle";
    EXPECT_EQ(inked(page, QRectF(0, 0, 210, graph.top() - 1)), 0);
    EXPECT_EQ(inked(page, QRectF(0, graph.bottom() + 1, 210, 297 - graph.bottom() - 1)), 0);
    EXPECT_EQ(inked(page, QRectF(0, 0, graph.left() - 1, 297)), 0);

    // Moved and made smaller, the graph follows.
    t.GraphLeft = 100;
    t.GraphTop = 200;
    t.GraphWidth = 80;
    t.GraphHeight = 60;
    page = renderReportImage(c.page(), Dpi);
    EXPECT_EQ(inked(page, QRectF(0, 0, 210, 199)), 0);
    EXPECT_GT(ofColour(page, QRectF(110, 210, 60, 40), plotArea), 0);
}

TEST_F(PrintPageTest, TableAndLabelsAreInkedOnlyWhenVisible)
{
    PrintControl& c = open({storeScan(QStringLiteral("Gold"))});
    PrintTemplate& t = c.templ();
    const QRectF table(t.TableLeft, t.TableTop, t.TableWidth, 40);
    EXPECT_GT(inked(renderReportImage(c.page(), Dpi), table), 0);
    t.TableVisible = false;
    EXPECT_EQ(inked(renderReportImage(c.page(), Dpi), table), 0);

    const QRectF title = c.page().labelRect(*t.Labels.Item(1));
    EXPECT_GT(title.width(), 40) << "16 pt bold over 28 characters";
    EXPECT_GT(inked(renderReportImage(c.page(), Dpi), title), 0);
    t.Labels.Remove(1);
    EXPECT_EQ(inked(renderReportImage(c.page(), Dpi), title), 0);
}

TEST_F(PrintPageTest, LabelUnderThePointerIsTheOneDrawnLast)
{
    PrintControl& c = open({storeScan(QStringLiteral("Gold"))});
    clsTz4PrintLabels& labels = c.templ().Labels;
    clsTz4PrintLabel* name = labels.Item(2);
    const QRectF box = c.page().labelRect(*name);
    EXPECT_EQ(c.page().LabelHitTest(box.center()), name);
    EXPECT_EQ(c.page().LabelHitTest(QPointF(5, 290)), nullptr);

    clsTz4PrintLabel* over = labels.Add({}, QStringLiteral("over"));
    over->setMmLeft(name->mmLeft());
    over->setMmTop(name->mmTop());
    EXPECT_EQ(c.page().LabelHitTest(QPointF(name->mmLeft() + 1, name->mmTop() + 1)), over);
}

TEST_F(PrintPageTest, WhatThePageCannotShowIsSaidOneSentenceEach)
{
    PrintControl& c = open({storeScan(QStringLiteral("Gold"), 5.1, 1000)});
    // A thousand points in three groups do not fit the table's 100 mm.
    QStringList problems = c.page().problems();
    ASSERT_EQ(problems.size(), 1) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(problems[0].startsWith(QStringLiteral("The table shows "))) << problems[0].toStdString();

    PrintTemplate& t = c.templ();
    t.TableVisible = false;
    t.Labels.Item(1)->setMmLeft(205);
    clsTz4PrintLabel* axis = t.Labels.Item(3);
    axis->setBindingNumber(52);
    clsTz4PrintLabel* name = t.Labels.Item(2);
    name->setFormatString(QStringLiteral("#0.00"));
    c.changed(PrintPage::LabelLayer);
    problems = c.page().problems();
    ASSERT_EQ(problems.size(), 3) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(problems[0], QStringLiteral("Label 1 \"Photoelectron Yield Spectrum\" lies outside the page."));
    EXPECT_EQ(problems[1], QStringLiteral("The format \"#0.00\" of label 2 does not fit its value Gold: the plain value is printed."));
    EXPECT_EQ(problems[2], QStringLiteral("Label 3 is bound to \"Graph X Axis Start\", which this record does not answer: "
                                          "only its texts are printed."));
    EXPECT_EQ(axis->Caption(), QStringLiteral("Measure Date : ")) << "only its texts";
    EXPECT_EQ(name->Caption(), QStringLiteral("Sample Name : Gold"));

    t.GraphLeft = -10;
    EXPECT_TRUE(c.page().problems().contains(QStringLiteral("The graph lies outside the page.")));
}

TEST_F(PrintPageTest, DataTableHasTheColumnsOfTheRecordsKind)
{
    PrintControl& c = open({storeScan(QStringLiteral("Gold"))});
    const PrintDataTable& table = c.page().table();
    const clsTz4DataSet& record = *c.selected();
    ASSERT_EQ(table.columns().size(), 3);
    EXPECT_EQ(table.columns()[0].title, QStringLiteral("Energy[eV]"));
    EXPECT_EQ(table.columns()[2].title, QStringLiteral("CR^0.50[cps^0.50]"));
    ASSERT_EQ(table.rowCount(), record.DataCount());
    EXPECT_EQ(table.text(0, 0), QStringLiteral("4.40"));
    for (int i = 0; i < record.DataCount(); ++i) {
        // The yield to the power 0.5 of each counting rate, ground not subtracted in this record.
        const double rate = table.value(i, 1);
        ASSERT_NEAR(table.value(i, 2), rate > 0 ? std::sqrt(rate) : 0.0, 1e-3) << i;
        ASSERT_EQ(table.value(i, 1), record.OrgValueY(i));
    }
    EXPECT_EQ(table.rowsPerGroup(3), (record.DataCount() + 2) / 3);
    EXPECT_TRUE(c.selected()->ExpLog()) << "the record keeps what its graph shows";

    // A counting-rate record: number, rate and its logarithm.
    clsTz4DataSet counts;
    counts.setKey(QStringLiteral("C"));
    counts.setDataCount(2);
    counts.setOrgValueX(1, 0);
    counts.setOrgValueY(100, 0);
    counts.setOrgValueX(2, 1);
    counts.setOrgValueY(1000, 1);
    counts.Refresh();
    const PrintDataTable c3 = PrintDataTable::MakeTableCol(counts);
    ASSERT_EQ(c3.columns().size(), 3);
    EXPECT_EQ(c3.text(1, 2), QStringLiteral("3.00"));
    EXPECT_EQ(c3.text(1, 0), QStringLiteral("2"));

    // A light spectrum: photons per second of the power at each energy.
    clsTz4DataSet light;
    light.setKey(QStringLiteral("L"));
    light.setDataCount(1);
    light.setOrgValueX(5.0f, 0);
    light.setOrgValueY(8.0f, 0);
    light.Refresh();
    const PrintDataTable l = PrintDataTable::MakeTableCol(light);
    ASSERT_EQ(l.columns().size(), 3);
    EXPECT_NEAR(l.value(0, 2), 8.0 * 0.625e10 / 5.0, 1);
    EXPECT_EQ(l.text(0, 2), QStringLiteral("1.00E+10"));
}

} // namespace
