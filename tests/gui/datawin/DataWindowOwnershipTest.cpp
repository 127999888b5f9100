#include "tests/gui/datawin/DataWindowFixture.h"

#include "core/MessageIds.h"
#include "core/OwnTexts.h"
#include "core/RecordParameters.h"
#include "data/SampleOperations.h"
#include "data/FolderContents.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"
#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"
#include "graph/Tz4GraphDisp.h"
#include "core/Keys.h"
#include "gui/datawin/DataWindowOpener.h"

#include <QLineEdit>
#include <QTabBar>

namespace tz4::test {
namespace {

// Which record a measurement lands in, what a stored record says about its points, and what
// reaches the database from a window: each case here once lost or mislabelled a measurement.
class DataWindowOwnership : public DataWindowFixture {
protected:
    void TearDown() override
    {
        delete other.data();
        DataWindowFixture::TearDown();
    }

    clsTz4DataSet stored(const QString& key) const
    {
        clsTz4DataSet record;
        record.setDataBaseName(database);
        record.setKey(key);
        record.ReLoad();
        return record;
    }

    // A short W scan set up in the window's grid, with the light on its target.
    void prepareScan(gui::DataWindow& w, const QString& name, const QString& finish)
    {
        gui::DataWindow* was = window;
        window = &w;
        type(QStringLiteral("SampleName"), name);
        type(QStringLiteral("StartEng"), QStringLiteral("5.0"));
        type(QStringLiteral("FinishEng"), finish);
        type(QStringLiteral("StepEng"), QStringLiteral("0.1"));
        type(QStringLiteral("MeasTime"), QStringLiteral("2"));
        clsTz4DataSet& record = *w.control().selected();
        record.setParameters(param::MeasuredLight, record.Parameters(param::TargetLight));
        window = was;
    }

    QStringList texts() const
    {
        QStringList all;
        for (const auto& shown : reporter.shown)
            all << shown.text;
        return all;
    }

    QPointer<gui::DataWindow> other;
};

TEST_F(DataWindowOwnership, EachMeasurementWindowFillsItsOwnRecordWhicheverOpenedLast)
{
    open(QStringLiteral("0 W"));
    prepareScan(*window, QStringLiteral("Gold"), QStringLiteral("5.5"));
    choose(MeasurementControl::MeasMeasure);
    ASSERT_EQ(window->control().selected()->Key(), QStringLiteral("1 W")) << texts().join(QLatin1Char('|'));

    // The first window's record is stored, so a new C record may be opened beside it; it
    // attaches itself to the instrument as it opens.
    const QList<gui::DataWindow*> opened
        = gui::openDataWindows(database, {QStringLiteral("0 C")}, main.get(), [](QWidget* w) { w->show(); });
    ASSERT_EQ(opened.size(), 1);
    other = opened[0];
    clsTz4DataSet& counting = *other->control().selected();
    // And a third new record is refused while that one waits.
    reporter.shown.clear();
    EXPECT_TRUE(gui::openDataWindows(database, {QStringLiteral("0 W")}, main.get(), [](QWidget*) {}).isEmpty());
    EXPECT_EQ(texts(), QStringList{GetRes(msg::MeasurementAlreadyStarted)});

    // A second scan in the first window: its own energies are checked and its own record fills.
    reporter.shown.clear();
    choose(MeasurementControl::MeasMeasure);
    EXPECT_FALSE(texts().contains(GetRes(msg::EnergyOutOfRange))) << texts().join(QLatin1Char('|'));
    EXPECT_EQ(window->control().selected()->Key(), QStringLiteral("2 W"));
    EXPECT_EQ(counting.DataCount(), 0) << "the C window received none of the W points";
    EXPECT_EQ(stored(QStringLiteral("2 W")).DataCount(), 6);

    // The C window measures into its own record in turn.
    gui::DataWindow* first = window;
    window = other;
    type(QStringLiteral("SampleName"), QStringLiteral("Film"));
    type(QStringLiteral("MeasCount"), QStringLiteral("3"));
    type(QStringLiteral("MeasTime"), QStringLiteral("2"));
    counting.setParameters(param::MeasuredLight, counting.Parameters(param::TargetLight));
    choose(MeasurementControl::MeasMeasure);
    window = first;
    EXPECT_EQ(counting.Key(), QStringLiteral("3 C")) << texts().join(QLatin1Char('|'));
    EXPECT_EQ(stored(QStringLiteral("3 C")).DataCount(), 3);
    EXPECT_EQ(stored(QStringLiteral("2 W")).DataCount(), 6) << "the stored W record kept its points";
    EXPECT_EQ(window->control().selected()->DataCount(), 6);
}

TEST_F(DataWindowOwnership, ASecondScanAfterSavingIsANewRecordAndTheFirstKeepsWhatItHolds)
{
    open(QStringLiteral("0 W"));
    prepareScan(*window, QStringLiteral("Gold"), QStringLiteral("5.5"));
    choose(MeasurementControl::MeasMeasure);
    ASSERT_EQ(window->control().selected()->Key(), QStringLiteral("1 W"));

    // Settings typed now are those of the next measurement.
    type(QStringLiteral("FinishEng"), QStringLiteral("5.3"));
    EXPECT_EQ(window->control().selected()->Key(), QStringLiteral("0 W"));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("0 W")));
    EXPECT_FLOAT_EQ(stored(QStringLiteral("1 W")).Parameters(param::FinishEnergy).toFloat(), 5.5f);

    choose(MeasurementControl::MeasMeasure);
    const clsTz4DataSet first = stored(QStringLiteral("1 W")), second = stored(QStringLiteral("2 W"));
    EXPECT_EQ(first.DataCount(), 6);
    EXPECT_FLOAT_EQ(first.Parameters(param::FinishEnergy).toFloat(), 5.5f);
    EXPECT_FLOAT_EQ(first.OrgValueX(5), 5.5f);
    EXPECT_EQ(second.DataCount(), 4);
    EXPECT_FLOAT_EQ(second.Parameters(param::FinishEnergy).toFloat(), 5.3f);
    EXPECT_FLOAT_EQ(second.OrgValueX(3), 5.3f);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("2 W")));
    EXPECT_EQ(window->control().selected()->DataCount(), 4);

    // A scan started straight after a save also leaves the stored record alone.
    choose(MeasurementControl::MeasMeasure);
    EXPECT_EQ(stored(QStringLiteral("2 W")).DataCount(), 4);
    EXPECT_EQ(stored(QStringLiteral("3 W")).DataCount(), 4);
}

TEST_F(DataWindowOwnership, WhileAScanRunsItsSettingsCannotBeEditedButItsDisplayCan)
{
    open(QStringLiteral("0 W"));
    prepareScan(*window, QStringLiteral("Gold"), QStringLiteral("5.6"));
    bool editorOpened = true;
    bool dotSizeEditable = false;
    QObject::connect(&window->control(), &DataWindowControl::pointAdded, [&](int row) {
        if (row != 1)
            return;
        QTableView* table = window->grid()->table();
        const QModelIndex finish = window->gridModel().index(window->gridModel().rowOf(QStringLiteral("FinishEng")), 1);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(finish).center());
        QTest::keyClick(table, Qt::Key_F2);
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        editorOpened = editor && editor->isVisible();
        // What an editor opened just before the start would commit is refused as well.
        window->gridModel().setData(finish, QStringLiteral("5.0"));
        showTab(ParameterGridModel::Disp);
        const int dotSize = window->gridModel().rowOf(QStringLiteral("DotSize"));
        dotSizeEditable = window->gridModel().flags(window->gridModel().index(dotSize, 1)) & Qt::ItemIsEditable;
        showTab(ParameterGridModel::Meas);
    });
    choose(MeasurementControl::MeasMeasure);
    EXPECT_FALSE(editorOpened);
    EXPECT_TRUE(dotSizeEditable);
    const clsTz4DataSet record = stored(QStringLiteral("1 W"));
    EXPECT_FLOAT_EQ(record.Parameters(param::FinishEnergy).toFloat(), 5.6f);
    EXPECT_EQ(record.DataCount(), 7);
    EXPECT_FLOAT_EQ(record.OrgValueX(6), 5.6f);
    // Editable again once the scan is over.
    const QModelIndex finish = window->gridModel().index(window->gridModel().rowOf(QStringLiteral("FinishEng")), 1);
    EXPECT_TRUE(window->gridModel().flags(finish) & Qt::ItemIsEditable);
}

TEST_F(DataWindowOwnership, ARefusedOrUnconnectedActionLeavesTheStatusBarAtRest)
{
    open(QStringLiteral("0 W"));
    // The light has not been adjusted to its target yet.
    choose(MeasurementControl::MeasMeasure);
    EXPECT_TRUE(reporter.shown.last().text.startsWith(GetRes(msg::UvOutOfRange))) << reporter.shown.last().text;
    EXPECT_EQ(status.Caption(), GetRes(msg::ReadyTitle));
    EXPECT_EQ(status.Locked(), 0);

    // The instrument gone: the action says so instead of failing in silence.
    body->setPortOpen(false);
    reporter.shown.clear();
    choose(MeasurementControl::MeasUvAdjustment);
    ASSERT_FALSE(reporter.shown.isEmpty());
    EXPECT_EQ(reporter.shown.last().text, ownText(OwnText::NotConnected));
    EXPECT_EQ(status.Caption(), GetRes(msg::NoConnect)) << "phase 6 was left behind with the port";
    EXPECT_TRUE(window->measurementAction(MeasurementControl::MeasMeasure)->isEnabled());
}

class StoredRecordWindows : public DataWindowOwnership {
protected:
    // A W record measured and stored without any window.
    QString scan(const QString& name)
    {
        clsTz4DataSet record;
        record.setDataBaseName(database);
        record.setKey(QStringLiteral("W"));
        record.ReLoad();
        MeasurementControl control(*main, record);
        control.setLocation(0);
        record.setParameters(param::SampleName, name);
        record.setParameters(param::StartEnergy, 4.5f);
        record.setParameters(param::FinishEnergy, 6.0f);
        record.setParameters(param::EnergyStep, 0.05f);
        record.setParameters(param::MeasuredLight, record.Parameters(param::TargetLight));
        record.setParameters(param::CountingTime, 2);
        EXPECT_EQ(control.Measure(), MeasurementControl::Outcome::Saved);
        reporter.shown.clear();
        return record.Key();
    }

    // A C record of three counts, stored without any window.
    QString countingRecord()
    {
        clsTz4DataSet record;
        record.setDataBaseName(database);
        record.setKey(QStringLiteral("C"));
        record.ReLoad();
        MeasurementControl control(*main, record);
        control.setLocation(0);
        record.setParameters(param::SampleName, QStringLiteral("Film"));
        record.setParameters(param::MeasureCount, 3);
        record.setParameters(param::CountingTime, 2);
        record.setParameters(param::MeasuredLight, record.Parameters(param::TargetLight));
        EXPECT_EQ(control.Measure(), MeasurementControl::Outcome::Saved);
        reporter.shown.clear();
        return record.Key();
    }

    void rightClickGraph()
    {
        gui::GraphWidget* graph = window->graph();
        QTest::mousePress(graph, Qt::RightButton, {}, QPoint(graph->width() / 2, graph->height() / 2));
    }
};

TEST_F(StoredRecordWindows, RangesSetInAWindowOfSeveralRecordsAreStoredAtOnce)
{
    const QString gold = scan(QStringLiteral("Gold")), silver = scan(QStringLiteral("Silver"));
    open(joinKeyList({gold, silver}), false);
    rightClickGraph();
    choosePopup(msg::PopupSuggestRanges);
    const clsTz4DataSet& shownRecord = *window->control().selected();
    ASSERT_GT(shownRecord.WorkFunction(), 4.5f);
    // The ranges live on as the points' ground and fit marks, which give the analysis back.
    EXPECT_NEAR(stored(shownRecord.Key()).WorkFunction(), shownRecord.WorkFunction(), 1e-5)
        << "stored before the window closes; " << texts().join(QLatin1Char('|'));

    rightClickGraph();
    choosePopup(msg::PopupDataClear);
    EXPECT_EQ(stored(shownRecord.Key()).Gradient(), 0.0f);
}

TEST_F(StoredRecordWindows, AWindowStoresOnlyWhatItsUserChanged)
{
    const QString gold = scan(QStringLiteral("Gold")), silver = scan(QStringLiteral("Silver"));
    const float goldYMax = stored(gold).GraphY(1);

    // A window of several records: its axis belongs to it, and on close only a changed
    // overlay level is stored.
    open(joinKeyList({gold, silver}), false);
    showTab(ParameterGridModel::Disp);
    type(QStringLiteral("YMax"), QStringLiteral("123"));
    type(QStringLiteral("DotSize"), QStringLiteral("9"));
    type(QStringLiteral("OverLay"), QStringLiteral("0.5"));
    EXPECT_FLOAT_EQ(window->control().selected()->GraphY(1), 123.0f);

    // Meanwhile a one-record window of the same kind changes the dot style and stores it at once.
    other = new gui::DataWindow(database, gold, nullptr);
    other->show();
    {
        gui::DataWindow* several = window;
        window = other;
        showTab(ParameterGridModel::Disp);
        pick(QStringLiteral("DotStyle"), 2);
        window = several;
    }
    clsTz4GraphDisp disp;
    disp.setKey(QStringLiteral("W"));
    disp.setDataBaseName(database);
    disp.ReLoad();
    EXPECT_EQ(disp.DotStyle(), 2);

    // The other window closes without its user touching the dot size: it writes nothing more.
    other->close();
    QTRY_VERIFY(other.isNull());
    window->close();
    QTRY_VERIFY(window.isNull());
    disp.ReLoad();
    EXPECT_EQ(disp.DotStyle(), 2) << "the several-record window did not write its whole set back";
    EXPECT_NE(disp.DotSize(), 9);
    EXPECT_FLOAT_EQ(disp.OverLayLevel(), 0.5f);
    EXPECT_FLOAT_EQ(stored(gold).GraphY(1), goldYMax) << "the shared axis was not stored into the records";
    EXPECT_FLOAT_EQ(stored(silver).GraphY(1), goldYMax);
}

TEST_F(StoredRecordWindows, AnEditStoresOnlyItsOwnValueAndNeverOverAChangeMadeElsewhere)
{
    const QString gold = scan(QStringLiteral("Gold"));
    open(gold, false);
    showTab(ParameterGridModel::Meas);

    // A command renames the record while the window is open; the window's own edit of the
    // notes is stored beside it, and closing writes nothing stale back.
    renameItem(database, gold, QStringLiteral("Gold, annealed"));
    type(QStringLiteral("Notes1"), QStringLiteral("after the anneal"));
    EXPECT_EQ(stored(gold).Parameters(param::Notes1).toString(), QStringLiteral("after the anneal"));
    EXPECT_EQ(stored(gold).Parameters(param::SampleName).toString(), QStringLiteral("Gold, annealed"));

    // The same value changed on both sides: the window's change is refused with a word, and
    // the window shows what is stored.
    renameItem(database, gold, QStringLiteral("Gold, etched"));
    type(QStringLiteral("SampleName"), QStringLiteral("Gold (mine)"));
    ASSERT_FALSE(reporter.shown.isEmpty());
    EXPECT_TRUE(reporter.shown.last().text.contains(QStringLiteral("was changed by another window or program")))
        << reporter.shown.last().text.toStdString();
    EXPECT_EQ(stored(gold).Parameters(param::SampleName).toString(), QStringLiteral("Gold, etched"));
    EXPECT_EQ(window->control().selected()->Parameters(param::SampleName).toString(), QStringLiteral("Gold, etched"));

    window->close();
    QTRY_VERIFY(window.isNull());
    EXPECT_EQ(stored(gold).Parameters(param::SampleName).toString(), QStringLiteral("Gold, etched"));
    EXPECT_EQ(stored(gold).Parameters(param::Notes1).toString(), QStringLiteral("after the anneal"));
}

TEST_F(StoredRecordWindows, ADifferenceNeedsARegressionLineAndLeavesTheOriginalAsItWas)
{
    const QString gold = scan(QStringLiteral("Gold"));
    open(gold, false);
    rightClickGraph();
    choosePopup(msg::PopupDifference);
    EXPECT_EQ(reporter.shown.last().text, ownText(OwnText::NoRegressionLine));
    EXPECT_EQ(folderEntries(database, 0).size(), 1) << "nothing was stored";

    rightClickGraph();
    choosePopup(msg::PopupSuggestRanges);
    const float workFunction = window->control().selected()->WorkFunction();
    rightClickGraph();
    choosePopup(msg::PopupDifference);
    EXPECT_EQ(folderEntries(database, 0).size(), 2);
    const clsTz4DataSet original = stored(gold);
    EXPECT_NEAR(original.WorkFunction(), workFunction, 1e-5) << "the original keeps its analysis";
    EXPECT_EQ(window->control().selected()->Key(), QStringLiteral("2 W"));
}

TEST_F(StoredRecordWindows, RecordsOfTwoKindsGetAGraphEachOnTheirOwnAxes)
{
    const QString gold = scan(QStringLiteral("Gold"));
    const QString film = countingRecord();
    open(joinKeyList({gold, film}), false);
    QTabBar* kinds = window->kindTabs();
    ASSERT_TRUE(kinds->isVisible());
    ASSERT_EQ(kinds->count(), 2);
    EXPECT_EQ(kinds->tabText(0), QStringLiteral("Work Function"));
    EXPECT_EQ(kinds->tabText(1), QStringLiteral("Thickness,Counting Rate"));

    // Energies on the W graph, point numbers on the C graph: never one axis for both.
    const uclTz4Graph& graph = window->graph()->graph();
    window->graph()->grab();
    EXPECT_GE(graph.PosXMax(), 6.0f);
    EXPECT_GT(graph.PosYMax(), 10.0f) << "the W record's yield";
    QTest::mouseClick(kinds, Qt::LeftButton, {}, kinds->tabRect(1).center());
    EXPECT_EQ(window->control().selected()->Key(), film);
    window->graph()->grab();
    EXPECT_LE(graph.PosXMin(), 1.0f);
    EXPECT_FLOAT_EQ(graph.PosXMax(), 3.0f) << "the three counts, not the W energies";
    EXPECT_LE(graph.PosYMax(), 4.0f) << "the C record's logarithmic scale, not the W yield";
    EXPECT_EQ(kinds->currentIndex(), 1);
}

TEST_F(StoredRecordWindows, LogDisplayOnTheDataTabSetsTheAxisAsTheMeasurementTabDoes)
{
    open(countingRecord(), false);
    showTab(ParameterGridModel::Data);
    pick(QStringLiteral("LogDisp"), 0);
    EXPECT_FLOAT_EQ(window->control().selected()->GraphY(1), 1600.0f);
    EXPECT_FLOAT_EQ(stored(window->control().selected()->Key()).GraphY(1), 1600.0f);
    pick(QStringLiteral("LogDisp"), 1);
    EXPECT_FLOAT_EQ(window->control().selected()->GraphY(1), 4.0f);
}

} // namespace
} // namespace tz4::test
