#include "tests/gui/datawin/DataWindowFixture.h"

#include "core/Formats.h"
#include "core/Keys.h"
#include "graph/GraphColor.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "data/FolderContents.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"
#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"
#include "gui/datawin/DataWindowOpener.h"
#include "graph/Tz4GraphDisp.h"
#include "tests/support/TestSupport.h"

#include <QContextMenuEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>

namespace tz4::test {
namespace {

class DataWindowTest : public DataWindowFixture {
protected:
    // Measures and stores a work-function scan without any window, for the windows to open.
    QString storedScan(float start, float finish, float step)
    {
        clsTz4DataSet record;
        record.setDataBaseName(database);
        record.setKey(QStringLiteral("W"));
        record.ReLoad();
        MeasurementControl control(*main, record);
        control.setLocation(0);
        record.setParameters(param::SampleName, QStringLiteral("Gold"));
        record.setParameters(param::StartEnergy, start);
        record.setParameters(param::FinishEnergy, finish);
        record.setParameters(param::EnergyStep, step);
        record.setParameters(param::TargetLight, 10.0f);
        record.setParameters(param::MeasuredLight, 10.0f);
        record.setParameters(param::CountingTime, 2);
        EXPECT_EQ(control.Measure(), MeasurementControl::Outcome::Saved);
        reporter.shown.clear();
        return record.Key();
    }

    QStringList texts() const
    {
        QStringList all;
        for (const auto& shown : reporter.shown)
            all << shown.text;
        return all;
    }

    QList<FolderEntry> topLevel() const { return folderEntries(database, 0); }
};

TEST_F(DataWindowTest, AWorkFunctionScanStartedFromTheMenuIsStoredAfterTheSaveQuestion)
{
    open(QStringLiteral("0 W"));
    EXPECT_EQ(shown(QStringLiteral("SampleName")), QStringLiteral("NewSample"));
    type(QStringLiteral("SampleName"), QStringLiteral("Gold"));
    type(QStringLiteral("StartEng"), QStringLiteral("5.0"));
    type(QStringLiteral("FinishEng"), QStringLiteral("5.5"));
    type(QStringLiteral("StepEng"), QStringLiteral("0.1"));
    type(QStringLiteral("MeasTime"), QStringLiteral("2"));
    type(QStringLiteral("SetLight"), QStringLiteral("12"));
    EXPECT_EQ(shown(QStringLiteral("MaxLight")), QStringLiteral("14.4"));

    choose(4);
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("UV intensity adjustment done."));
    // The indicator turns green once the intensity is on its target.
    const QModelIndex light = window->gridModel().index(window->gridModel().rowOf(QStringLiteral("MeasLight")), 1);
    EXPECT_EQ(light.data(Qt::BackgroundRole).value<QColor>(), colorFromBgr(qint32(basicColour(10))));

    QList<int> rowsSeen;
    QStringList captionsSeen;
    QObject::connect(&window->control(), &DataWindowControl::pointAdded, [&](int) {
        rowsSeen << window->pointsTable()->model()->rowCount();
        captionsSeen << window->measurementAction(2)->text();
    });
    reporter.shown.clear();
    choose(2);

    ASSERT_EQ(rowsSeen, (QList<int>{0, 1, 2, 3, 4, 5, 6})) << "the table follows point by point: " << texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(captionsSeen.last(), GetRes(msg::MenuMeasureCancel));
    EXPECT_TRUE(texts().contains(QStringLiteral("Measrement Done.\r\nSave this Data?")));
    EXPECT_EQ(window->measurementAction(2)->text(), GetRes(msg::MenuMeasure));

    const QList<FolderEntry> stored = topLevel();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].key, QStringLiteral("1 W"));
    EXPECT_EQ(stored[0].name, QStringLiteral("Gold"));
    clsTz4DataSet again;
    again.setDataBaseName(database);
    again.setKey(QStringLiteral("1 W"));
    again.ReLoad();
    EXPECT_EQ(again.DataCount(), 6);
    EXPECT_FLOAT_EQ(again.OrgValueX(5), 5.5f);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("1 W - Gold")));
}

TEST_F(DataWindowTest, AnsweringNoToTheSaveQuestionStoresNothing)
{
    open(QStringLiteral("0 W"));
    type(QStringLiteral("StartEng"), QStringLiteral("5.0"));
    type(QStringLiteral("FinishEng"), QStringLiteral("5.2"));
    window->control().selected()->setParameters(param::MeasuredLight, window->control().selected()->Parameters(param::TargetLight));
    RecordingReporter declining(MessageAnswer::No);
    choose(2);
    EXPECT_TRUE(declining.shown.last().text.contains(QStringLiteral("Save this Data?")));
    EXPECT_EQ(window->control().selected()->DataCount(), 5);
    EXPECT_TRUE(topLevel().isEmpty());
}

TEST_F(DataWindowTest, ChoosingMeasurementTwiceWhileItRunsCancelsOnceAndAsksNothing)
{
    open(QStringLiteral("0 W"));
    window->control().selected()->setParameters(param::MeasuredLight, window->control().selected()->Parameters(param::TargetLight));
    int cancels = 0;
    QObject::connect(&window->control(), &DataWindowControl::pointAdded, [&](int row) {
        if (row == 1) {
            window->measurementAction(2)->trigger();
            window->measurementAction(2)->trigger();
            cancels += window->control().measurement()->cancelPending();
        }
    });
    choose(2);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(window->control().selected()->DataCount(), 2);
    EXPECT_FALSE(texts().contains(QStringLiteral("Measrement Done.\r\nSave this Data?")));
    EXPECT_TRUE(topLevel().isEmpty());
    EXPECT_EQ(window->measurementAction(2)->text(), GetRes(msg::MenuMeasure));
    EXPECT_TRUE(window->measurementAction(4)->isEnabled());
}

TEST_F(DataWindowTest, ClosingDuringAScanCancelsItFirstAndStoresNothing)
{
    open(QStringLiteral("0 W"));
    window->control().selected()->setParameters(param::MeasuredLight, window->control().selected()->Parameters(param::TargetLight));
    bool closedAtOnce = true;
    QObject::connect(&window->control(), &DataWindowControl::pointAdded, [&](int row) {
        if (row == 1)
            closedAtOnce = window->close();
    });
    choose(2);
    EXPECT_FALSE(closedAtOnce) << "the window waits for the scan to stop";
    EXPECT_TRUE(texts().contains(GetRes(msg::CloseWhileMeasuring)));
    EXPECT_FALSE(texts().contains(QStringLiteral("Measrement Done.\r\nSave this Data?")));
    QTRY_VERIFY(window.isNull());
    EXPECT_TRUE(topLevel().isEmpty());
    EXPECT_TRUE(body->Canceled());
    EXPECT_EQ(status.Locked(), 0);
}

TEST_F(DataWindowTest, AnInstrumentLostMidScanIsReportedAndNothingIsStored)
{
    open(QStringLiteral("0 W"));
    window->control().selected()->setParameters(param::MeasuredLight, window->control().selected()->Parameters(param::TargetLight));
    QObject::connect(&window->control(), &DataWindowControl::pointAdded, [&](int row) {
        if (row == 1)
            line->inner.simulator().faults().add({sim::FaultPlan::Kind::NoReply, 0, {}});
    });
    choose(2);
    ASSERT_FALSE(reporter.shown.isEmpty());
    EXPECT_TRUE(reporter.shown.last().text.startsWith(QStringLiteral("The instrument stopped answering")));
    EXPECT_EQ(reporter.shown.last().icon, MessageIcon::Critical);
    EXPECT_FALSE(texts().contains(QStringLiteral("Measrement Done.\r\nSave this Data?")));
    EXPECT_TRUE(topLevel().isEmpty());
    EXPECT_EQ(window->measurementAction(2)->text(), GetRes(msg::MenuMeasure));
    EXPECT_TRUE(window->measurementAction(2)->isEnabled());
}

TEST_F(DataWindowTest, ARubberBandAssignedToTheFitRangeGivesTheWorkFunctionOfTzAnalyze)
{
    const QString key = storedScan(4.5f, 6.0f, 0.05f);
    open(key, false);
    clsTz4DataSet& record = *window->control().selected();

    // A Y range that holds every point, typed into the display tab.
    showTab(ParameterGridModel::Disp);
    const float top = window->control().records().TotalMaxY() * 1.3f;
    type(QStringLiteral("YMax"), QString::number(double(top), 'f', 1));
    EXPECT_FLOAT_EQ(record.GraphY(1), float(QString::number(double(top), 'f', 1).toDouble()));

    // The ground from the table's first ten points.
    QTableView* table = window->pointsTable();
    const QAbstractItemModel* points = table->model();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(points->index(0, 1)).center());
    table->scrollTo(points->index(9, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ShiftModifier, table->visualRect(points->index(9, 1)).center());
    const QPoint at = table->visualRect(points->index(9, 1)).center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, table->viewport()->mapToGlobal(at));
    QApplication::sendEvent(table->viewport(), &menuEvent);
    choosePopup(msg::PopupGroundLevel);
    const float groundFrom = record.ValueX(0), groundTo = record.ValueX(9);
    EXPECT_FLOAT_EQ(record.Parameters(param::GroundX1).toFloat(), groundFrom);
    EXPECT_FLOAT_EQ(record.Parameters(param::GroundX2).toFloat(), groundTo);

    // The fit from a band dragged right to left over the steep part.
    gui::GraphWidget* graph = window->graph();
    const QPoint from(graphPixel(5.92f, 0).x(), 1), to(graphPixel(5.33f, 0).x(), graph->height() - 2);
    QTest::mousePress(graph, Qt::LeftButton, {}, from);
    QTest::mouseMove(graph, (from + to) / 2);
    QTest::mouseMove(graph, to);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, to);
    QTest::mousePress(graph, Qt::RightButton, {}, (from + to) / 2);
    QTest::mouseRelease(graph, Qt::RightButton, {}, (from + to) / 2);
    choosePopup(msg::PopupRegressionLine);
    const clsTz4GraphDisp& disp = *window->control().currentDisp();
    EXPECT_LT(disp.SelectX1(), disp.SelectX2()) << "stored smaller first";
    EXPECT_FLOAT_EQ(record.Parameters(param::FitX1).toFloat(), disp.SelectX1());

    showTab(ParameterGridModel::Data);
    const QString inWindow = shown(QStringLiteral("WowkFunc"));

    QProcess analyze;
    analyze.start(builtProgram(QStringLiteral("tz4")),
                  QStringList{QStringLiteral("--home"), home.path(), QStringLiteral("analyze"), QString::number(GetKeySeq(key)),
                   QStringLiteral("--fit"),
                   QString::number(double(disp.SelectX1()), 'g', 9) + QLatin1Char(':') + QString::number(double(disp.SelectX2()), 'g', 9),
                   QStringLiteral("--ground"),
                   QString::number(double(groundFrom), 'g', 9) + QLatin1Char(':') + QString::number(double(groundTo), 'g', 9),
                   QStringLiteral("--json")});
    ASSERT_TRUE(analyze.waitForFinished(60000));
    ASSERT_EQ(analyze.exitCode(), 0) << analyze.readAllStandardError().toStdString();
    const QJsonObject result = QJsonDocument::fromJson(analyze.readAllStandardOutput()).object();
    const double workFunction = result.value(QStringLiteral("work_function")).toDouble();
    EXPECT_NEAR(workFunction, 5.1, 0.15);
    EXPECT_EQ(inWindow, formatNumber(workFunction, QStringLiteral("0.00")));
    EXPECT_NEAR(record.WorkFunction(), workFunction, 1e-5);
    EXPECT_NEAR(record.GroundLevel(), result.value(QStringLiteral("ground_level")).toDouble(), 1e-4);
}

TEST_F(DataWindowTest, SuggestedRangesGiveAResultThatTheDifferenceAndTheClearingStartFrom)
{
    open(storedScan(4.5f, 6.0f, 0.05f), false);
    clsTz4DataSet& record = *window->control().selected();
    gui::GraphWidget* graph = window->graph();
    const QPoint middle(graph->width() / 2, graph->height() / 2);

    QTest::mousePress(graph, Qt::RightButton, {}, middle);
    choosePopup(msg::PopupSuggestRanges);
    EXPECT_NEAR(record.WorkFunction(), 5.1, 0.15);
    showTab(ParameterGridModel::Data);
    EXPECT_EQ(shown(QStringLiteral("WowkFunc")), formatNumber(record.WorkFunction(), QStringLiteral("0.00")));

    // The difference from the regression line becomes a record of its own, shown in the window.
    QTest::mousePress(graph, Qt::RightButton, {}, middle);
    choosePopup(msg::PopupDifference);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Display : (2 - Gold_Dif)"));
    ASSERT_EQ(topLevel().size(), 2);
    EXPECT_EQ(topLevel()[1].name, QStringLiteral("Gold_Dif"));

    QTest::mousePress(graph, Qt::RightButton, {}, middle);
    choosePopup(msg::PopupDataClear);
    EXPECT_EQ(record.Parameters(param::FitX2).toFloat(), 0.0f);
    EXPECT_EQ(record.Parameters(param::GroundX2).toFloat(), 0.0f);
    EXPECT_EQ(shown(QStringLiteral("WowkFunc")), formatNumber(record.WorkFunction(), QStringLiteral("0.00")));
}

TEST_F(DataWindowTest, TypedValuesThatDoNotParseOrFitKeepTheOldOnes)
{
    open(storedScan(5.0f, 5.3f, 0.1f), false);
    showTab(ParameterGridModel::Disp);
    const QString size = shown(QStringLiteral("DotSize"));
    type(QStringLiteral("DotSize"), QStringLiteral("abc"));
    EXPECT_EQ(shown(QStringLiteral("DotSize")), size);
    type(QStringLiteral("DotSize"), QStringLiteral("12"));
    EXPECT_EQ(shown(QStringLiteral("DotSize")), QStringLiteral("12"));
    type(QStringLiteral("OverLay"), QStringLiteral("2"));
    EXPECT_EQ(shown(QStringLiteral("OverLay")), QStringLiteral("1.000"));
    type(QStringLiteral("OverLay"), QStringLiteral("0.25"));
    type(QStringLiteral("YStep"), QStringLiteral("5"));
    type(QStringLiteral("YStep"), QStringLiteral("0"));
    EXPECT_EQ(window->control().selected()->GraphY(2), 5.0f) << "a step must advance";

    // Display settings reach the database at once.
    clsTz4GraphDisp stored;
    stored.setKey(QStringLiteral("W"));
    stored.setDataBaseName(database);
    stored.ReLoad();
    EXPECT_EQ(stored.DotSize(), 12);
    EXPECT_FLOAT_EQ(stored.OverLayLevel(), 0.25f);

    // The power number moves the Y maximum with it, and the stored record follows.
    showTab(ParameterGridModel::Data);
    type(QStringLiteral("PowerNumber"), QStringLiteral("x"));
    EXPECT_EQ(shown(QStringLiteral("PowerNumber")), QStringLiteral("0.50"));
    type(QStringLiteral("PowerNumber"), QStringLiteral("0.4"));
    showTab(ParameterGridModel::Disp);
    EXPECT_EQ(shown(QStringLiteral("YMax")), QStringLiteral("21.00")) << "2000 to the power 0.4, rounded";
    clsTz4DataSet reread;
    reread.setDataBaseName(database);
    reread.setKey(window->control().selected()->Key());
    reread.ReLoad();
    EXPECT_FLOAT_EQ(reread.Parameters(param::PowerNumber).toFloat(), 0.4f);
}

TEST_F(DataWindowTest, FileAndEditMenusSaveTheRecordAsTextAndCopyWhatTheWindowShows)
{
    open(storedScan(5.0f, 5.3f, 0.1f), false);
    const QString file = home.filePath(QStringLiteral("gold.txt"));
    QStringList filtersOffered;
    gui::DataWindow::setSaveFileChooser([&](const QString&, const QStringList& filters, int* filter) {
        filtersOffered = filters;
        *filter = 2; // tab-delimited
        return file;
    });
    window->entry(QStringLiteral("mnuSaveData"))->trigger();
    gui::DataWindow::setSaveFileChooser({});
    EXPECT_EQ(filtersOffered.value(0), QStringLiteral("CSV(Comma Delimiter) (*.csv)"));
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << "nothing written: " << texts().join(QLatin1Char('|'));
    const QString text = QString::fromUtf8(saved.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("TZ-4 Data\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Sample Name\tGold\r\n")));

    window->entry(QStringLiteral("mnuCopyTable"))->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 4) << "a heading and the four points";
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1\t5.00\t"))) << lines[1];
    window->entry(QStringLiteral("mnuCopyGraph"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), window->graph()->size() * window->graph()->devicePixelRatioF());
}

TEST_F(DataWindowTest, EveryRefusedTypedValueSaysWhichValueAndWhichRule)
{
    open(QStringLiteral("0 W"));
    type(QStringLiteral("StartEng"), QStringLiteral("5.0"));
    type(QStringLiteral("FinishEng"), QStringLiteral("5.5"));
    type(QStringLiteral("StepEng"), QStringLiteral("0.1"));
    const auto refusalOf = [&](const QString& key, const QString& typed) {
        reporter.shown.clear();
        const QString before = shown(key);
        type(key, typed);
        EXPECT_EQ(shown(key), before) << key.toStdString() << " kept its value";
        return reporter.shown.isEmpty() ? QString() : reporter.shown.last().text;
    };
    EXPECT_TRUE(refusalOf(QStringLiteral("StepEng"), QStringLiteral("abc"))
                    .contains(QStringLiteral("\"abc\" is not a number; Step [eV] takes a number")));
    EXPECT_TRUE(refusalOf(QStringLiteral("StepEng"), QStringLiteral("4,6")).contains(QStringLiteral("\"4,6\" is not a number")));
    EXPECT_TRUE(refusalOf(QStringLiteral("StepEng"), QStringLiteral("0.15"))
                    .contains(QStringLiteral("The step 0.15 eV does not divide the range 5 to 5.5 eV into whole steps.")));
    EXPECT_TRUE(refusalOf(QStringLiteral("PowerNumber"), QStringLiteral("2.5"))
                    .contains(QStringLiteral("the power number must lie above 0 and at most 2, not 2.5"), Qt::CaseInsensitive));
    showTab(ParameterGridModel::Disp);
    EXPECT_TRUE(refusalOf(QStringLiteral("OverLay"), QStringLiteral("2")).contains(QStringLiteral("the level lies from 0 to 1")));
    EXPECT_TRUE(refusalOf(QStringLiteral("YStep"), QStringLiteral("0")).contains(QStringLiteral("a scale step must be above 0")));

    // In Japanese as well.
    setLanguage(Language::Japanese);
    const QString japanese = refusalOf(QStringLiteral("DotSize"), QStringLiteral("abc"));
    setLanguage(Language::English);
    EXPECT_TRUE(japanese.contains(QStringLiteral("「abc」は数値ではありません"))) << japanese;
}

TEST_F(DataWindowTest, TheMeasurementTabHoldsTheRowsOfTheRecordsMode)
{
    open(QStringLiteral("0 W"));
    type(QStringLiteral("PowerNumber"), QStringLiteral("0.5"));
    EXPECT_FLOAT_EQ(window->control().selected()->GraphY(1), 45.0f);
    type(QStringLiteral("StartEng"), QStringLiteral("-1"));
    EXPECT_NE(shown(QStringLiteral("StartEng")), QStringLiteral("-1.00"));
    type(QStringLiteral("SampleName"), QString(81, QLatin1Char('x')));
    EXPECT_EQ(shown(QStringLiteral("SampleName")), QStringLiteral("NewSample"));
    QStringList keys;
    for (int row = 0; row < window->gridModel().rowCount(); ++row)
        keys << window->gridModel().index(row, 0).data(ParameterGridModel::KeyRole).toString();
    EXPECT_EQ(keys.join(QLatin1Char(' ')), QStringLiteral("SampleName Path StartEng FinishEng StepEng MeasTime SetLight "
                                                          "MeasLight MinLight MaxLight Notes1 AnodeVolts DeadTime "
                                                          "AdjustName PowerNumber"));
    delete window.data();

    open(QStringLiteral("0 T"));
    EXPECT_EQ(window->gridModel().rowCount(), 2) << "a calibration line has only its name and location";
    delete window.data();

    // An energy the monochromator cannot reach is refused as it is typed.
    open(QStringLiteral("0 C"));
    const QString energy = shown(QStringLiteral("MeasEng"));
    reporter.shown.clear();
    type(QStringLiteral("MeasEng"), QStringLiteral("6.9"));
    EXPECT_EQ(shown(QStringLiteral("MeasEng")), energy);
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_TRUE(reporter.shown[0].text.startsWith(QStringLiteral("Measure Energy is Out of Range")));
}

TEST_F(DataWindowTest, ARecordDeletedWhileItsWindowIsOpenIsReportedAndNotWrittenBack)
{
    const QString key = storedScan(5.0f, 5.3f, 0.1f);
    open(key, false);
    {
        SqliteDatabase db(database);
        db.exec(QStringLiteral("Delete From Datas Where SerialNo=%1;").arg(GetKeySeq(key)));
        db.exec(QStringLiteral("Delete From Setting Where SeqNo=%1;").arg(GetKeySeq(key)));
    }
    showTab(ParameterGridModel::Meas);
    type(QStringLiteral("SampleName"), QStringLiteral("Renamed"));
    window->close();
    QTRY_VERIFY(window.isNull());
    EXPECT_TRUE(texts().contains(GetRes(msg::RecordDeleted, {key})));
    EXPECT_EQ(storedRecordKind(database, GetKeySeq(key)), clsTz4DataSet::KindNone) << "nothing comes back";

    // Opening a key that names no record says so and opens nothing.
    reporter.shown.clear();
    open(key, false);
    EXPECT_FALSE(window->hasRecords());
    EXPECT_EQ(texts(), QStringList{GetRes(msg::NoSuchRecord, {key})});
}

TEST_F(DataWindowTest, OpeningKeysPutsStoredRecordsTogetherAndOneNewRecordApart)
{
    const QString first = storedScan(5.0f, 5.2f, 0.1f), second = storedScan(5.0f, 5.3f, 0.1f);
    QList<QWidget*> added;
    const QList<gui::DataWindow*> windows = gui::openDataWindows(
        database, {first, QStringLiteral("0 W"), second, QStringLiteral("0 C"), QStringLiteral("99 W")}, main.get(),
        [&](QWidget* child) { added << child; });
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(added.size(), 2);
    EXPECT_EQ(windows[0]->control().records().Count(), 2);
    EXPECT_FALSE(windows[0]->control().isMeasurementWindow());
    for (QAction* action : windows[0]->measurementMenu()->actions())
        EXPECT_TRUE(action->isSeparator() || !action->isEnabled()) << "stored records are not measured again: " << action->text();
    EXPECT_EQ(windows[1]->control().selected()->Key(), QStringLiteral("0 W"));
    EXPECT_NE(windows[1]->measurementMenu(), nullptr);
    // A second new record would compete for the instrument with the first.
    EXPECT_EQ(texts(), (QStringList{GetRes(msg::NoSuchRecord, {QStringLiteral("99 W")}), GetRes(msg::MeasurementAlreadyStarted)}));
    EXPECT_EQ(reporter.shown.last().title, QStringLiteral("Measure Form"));
    for (gui::DataWindow* opened : windows)
        delete opened;
}

} // namespace
} // namespace tz4::test
