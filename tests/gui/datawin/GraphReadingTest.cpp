#include "tests/gui/datawin/DataWindowFixture.h"

#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"
#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"
#include "graph/GraphColor.h"
#include "graph/Tz4GraphDisp.h"

namespace tz4::test {
namespace {

// A graph someone can read and put in a paper: axes named by what they plot, the points the
// analysis used told apart from the rest, a scale that fits the data.
class GraphReading : public DataWindowFixture {
protected:
    void TearDown() override
    {
        setLanguage(Language::English);
        DataWindowFixture::TearDown();
    }

    QString stored(const QString& kind, const std::function<void(clsTz4DataSet&)>& settings)
    {
        clsTz4DataSet record;
        record.setDataBaseName(database);
        record.setKey(kind);
        record.ReLoad();
        MeasurementControl control(*main, record);
        control.setLocation(0);
        record.setParameters(param::SampleName, QStringLiteral("Gold"));
        record.setParameters(param::CountingTime, 2);
        settings(record);
        record.setParameters(param::MeasuredLight, record.Parameters(param::TargetLight));
        EXPECT_EQ(control.Measure(), MeasurementControl::Outcome::Saved);
        reporter.shown.clear();
        return record.Key();
    }

    QString scan()
    {
        return stored(QStringLiteral("W"), [](clsTz4DataSet& r) {
            r.setParameters(param::StartEnergy, 4.5f);
            r.setParameters(param::FinishEnergy, 6.0f);
            r.setParameters(param::EnergyStep, 0.05f);
        });
    }

    void popup(int entry)
    {
        gui::GraphWidget* graph = window->graph();
        QTest::mousePress(graph, Qt::RightButton, {}, QPoint(graph->width() / 2, graph->height() / 2));
        choosePopup(entry);
    }

    QColor centreOf(const QImage& picture, const clsTz4DataSet& record, int point) const
    {
        return picture.pixelColor(graphPixel(record.ValueX(point), record.ValueY(point)));
    }
};

TEST_F(GraphReading, AxesAreNamedByWhatTheyPlotInTheOperatorsLanguage)
{
    open(scan(), false);
    window->graph()->grab();
    const uclTz4Graph& graph = window->graph()->graph();
    EXPECT_EQ(graph.TitleX(), QStringLiteral("Energy [eV]"));
    EXPECT_EQ(graph.TitleY(), QStringLiteral("Yield^0.5 [cps^0.5]"));
    EXPECT_EQ(graph.ScaleXFormat(), QStringLiteral("##0.00"));
    delete window.data();

    setLanguage(Language::Japanese);
    open(stored(QStringLiteral("C"), [](clsTz4DataSet& r) { r.setParameters(param::MeasureCount, 3); }), false);
    window->graph()->grab();
    EXPECT_EQ(window->graph()->graph().TitleX(), QStringLiteral("番号"));
    EXPECT_EQ(window->graph()->graph().TitleY(), QStringLiteral("対数計数率 [Log(cps)]"));
    EXPECT_EQ(window->graph()->graph().ScaleXFormat(), QStringLiteral("##0")) << "point numbers are whole";
    // The grid's yes-or-no rows and a missing calibration line speak Japanese too.
    showTab(ParameterGridModel::Data);
    EXPECT_EQ(shown(QStringLiteral("LogDisp")), QStringLiteral("はい"));
    EXPECT_EQ(shown(QStringLiteral("AdjustName")), QStringLiteral("なし"));
}

TEST_F(GraphReading, ThePointsOfTheFitAndTheGroundStandOutFromTheRest)
{
    open(scan(), false);
    popup(msg::PopupSuggestRanges);
    const clsTz4DataSet& record = *window->control().selected();
    int fit = -1, ground = -1, plain = -1;
    // The ordinary point furthest from both lines, so no line crosses its centre.
    float clearance = 0;
    for (int i = 0; i < record.DataCount(); ++i) {
        const float x = record.ValueX(i), y = record.ValueY(i);
        if (record.ValueF(i) && fit < 0) {
            fit = i;
        } else if (record.ValueG(i) && ground < 0) {
            ground = i;
        } else if (!record.ValueF(i) && !record.ValueG(i)) {
            const float fromLines = std::min(std::fabs(y - (record.Gradient() * x + record.Intercept())),
                                             std::fabs(y - record.GroundLevel()));
            if (fromLines > clearance) {
                clearance = fromLines;
                plain = i;
            }
        }
    }
    ASSERT_GE(fit, 0);
    ASSERT_GE(ground, 0);
    const QImage picture = window->graph()->grab().toImage();
    const clsTz4GraphDisp& disp = *window->control().currentDisp();
    const QColor plotArea = colorFromBgr(disp.ForeColor());
    // Filled in the colours of their lines; an ordinary point is a ring around the plot area.
    EXPECT_EQ(centreOf(picture, record, fit), colorFromBgr(disp.FuncColor()));
    EXPECT_EQ(centreOf(picture, record, ground), colorFromBgr(disp.GndColor()));
    ASSERT_GE(plain, 0);
    EXPECT_EQ(centreOf(picture, record, plain), plotArea);
}

TEST_F(GraphReading, FitScaleToDataTakesTheDataSpanWithReadableSteps)
{
    open(stored(QStringLiteral("C"), [](clsTz4DataSet& r) { r.setParameters(param::MeasureCount, 12); }), false);
    clsTz4DataSet& record = *window->control().selected();
    record.setGraphX(1, 100);
    record.setGraphY(1, 1000);
    popup(msg::PopupFitScale);
    EXPECT_FLOAT_EQ(record.GraphX(0), 1.0f);
    EXPECT_FLOAT_EQ(record.GraphX(1), 12.0f);
    EXPECT_FLOAT_EQ(record.GraphX(2), 1.0f);
    const float step = record.GraphY(2);
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-4 || std::fabs(mantissa - 2) < 1e-4 || std::fabs(mantissa - 5) < 1e-4) << step;
    EXPECT_GE(record.GraphY(1), window->control().records().TotalMaxY());
    EXPECT_LT(record.GraphY(1), window->control().records().TotalMaxY() + step + 1e-4);
}

} // namespace
} // namespace tz4::test
