#include "SampleManagerFixture.h"

#include "core/MessageIds.h"
#include "data/RecordKind.h"
#include "data/RecordText.h"
#include "datawin/DataWindowControl.h"
#include "gui/datawin/DataWindow.h"
#include "gui/print/PrintWindow.h"
#include "samples/SampleTexts.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>

using namespace tz4;
using namespace tz4::test;

namespace {

class SampleManagerWindowTest : public SampleManagerFixture {
protected:
    QList<gui::DataWindow*> dataWindows() const
    {
        QList<gui::DataWindow*> windows;
        for (QMdiSubWindow* sub : frame->mdiArea()->subWindowList())
            if (auto* window = qobject_cast<gui::DataWindow*>(sub->widget()))
                windows << window;
        return windows;
    }

    // The last message box's text, or a marker when none was shown.
    QString lastMessage() const
    {
        return reporter.shown.isEmpty() ? QStringLiteral("<no message>") : reporter.shown.last().text;
    }

    // Answers the next file dialog with `file`, recording its title and file types.
    void answerFileDialog(const QString& file)
    {
        gui::SampleManagerWindow::setFileChooser(
            [this, file](bool, const QString& title, const QStringList& filters, const QString&, int* filter) {
                dialogTitles << title;
                dialogFilters = filters;
                *filter = 1;
                return file;
            });
    }

    // Whether a name is being typed in place in `view`.
    static bool editing(QAbstractItemView* view)
    {
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        return editor && editor->isVisible();
    }

    QStringList dialogTitles;
    QStringList dialogFilters;
};

TEST_F(SampleManagerWindowTest, OpensWithTheFrameOnceAndComesBackFromDisplayDataManager)
{
    const QString gold = folder(QStringLiteral("Gold"));
    record(QStringLiteral("W"), QStringLiteral("Gold 1"), GetKeySeq(gold));
    ASSERT_NO_FATAL_FAILURE(open());
    // Its menus stand in the frame's bar with the catalogue's captions and shortcuts.
    EXPECT_EQ(manager->entry(QStringLiteral("mnuCreateFolder"))->text(), text(msg::MenuCreateFolder));
    EXPECT_EQ(manager->entry(QStringLiteral("mnuRename"))->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(manager->entry(QStringLiteral("mnuRefresh"))->shortcut(), QKeySequence(Qt::Key_F5));
    bool inFrame = false;
    for (QAction* action : frame->menuBar()->actions())
        inFrame = inFrame || (action->menu() && action->menu()->actions().contains(manager->entry(QStringLiteral("mnuCut"))));
    EXPECT_TRUE(inFrame);

    // The tree holds the folder, the list the top level's contents.
    EXPECT_TRUE(control().tree().indexOfKey(gold).isValid());
    EXPECT_TRUE(listed(gold).isValid());

    // Closing keeps its place for the next time.
    QMdiSubWindow* sub = frame->mdiArea()->subWindowList().value(0);
    ASSERT_NE(sub, nullptr);
    const QRect place(30, 20, 720, 460);
    sub->setGeometry(place);
    sub->close();
    EVENTUALLY_TRUE(frame->mdiArea()->subWindowList().isEmpty());
    QAction* dataManager = frame->entry(QStringLiteral("mnuDataManager"));
    ASSERT_TRUE(dataManager->isEnabled());
    dataManager->trigger();
    dataManager->trigger();
    ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(frame->mdiArea()->subWindowList().first()->geometry(), place);
}

TEST_F(SampleManagerWindowTest, DropsMoveCopyTrashAndAttachAndUndoTakesTheLastBack)
{
    const QString gold = folder(QStringLiteral("Gold"));
    const QString scan = record(QStringLiteral("W"), QStringLiteral("Scan"));
    const QString other = record(QStringLiteral("W"), QStringLiteral("Other"));
    const QString lamp = record(QStringLiteral("L"), QStringLiteral("Lamp"));
    ASSERT_NO_FATAL_FAILURE(open());

    // Onto a folder in the tree: moved, with the hint saying where while over it.
    const DragOver over = drop({scan}, tree(), gold);
    EXPECT_TRUE(over.accepted);
    EXPECT_EQ(over.hint, gui::SampleItemView::dragHint(false, QStringLiteral("Gold")));
    EVENTUALLY_EQ(column(scan, "Parent").toInt(), GetKeySeq(gold));
    EXPECT_FALSE(listed(scan).isValid());
    EXPECT_TRUE(manager->hintLine()->text().isEmpty());

    // With Ctrl: copied, the original stays.
    const qint64 records = countOf(QStringLiteral("Select Count(*) From Setting;"));
    EXPECT_TRUE(drop({other}, tree(), gold, true).accepted);
    EVENTUALLY_EQ(countOf(QStringLiteral("Select Count(*) From Setting;")), records + 1);
    EXPECT_EQ(column(other, "Parent").toInt(), 0);
    EXPECT_EQ(countOf(QStringLiteral("Select Count(*) From Setting Where Parent=%1;").arg(GetKeySeq(gold))), 2);

    // An L record onto a W record in the list: the correction is attached.
    EXPECT_TRUE(drop({lamp}, list(), other).accepted);
    EVENTUALLY_EQ(column(other, "AdjustNo").toInt(), GetKeySeq(lamp));

    // Onto the trash: trashed; Undo, captioned for what it undoes, brings it back.
    EXPECT_TRUE(drop({other}, tree(), QStringLiteral("1 R")).accepted);
    EVENTUALLY_TRUE(column(other, "Recycled").toInt() != 0);
    QAction* undo = manager->entry(QStringLiteral("mnuUndo"));
    EVENTUALLY_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), text(UnSetMode(control().undoMode())));
    EXPECT_NE(undo->text(), text(msg::UndoNone));
    list()->setFocus();
    QTest::keySequence(frame.get(), QKeySequence::Undo);
    EVENTUALLY_EQ(column(other, "Recycled").toInt(), 0);
    EXPECT_TRUE(listed(other).isValid());
}

TEST_F(SampleManagerWindowTest, DropsThatMeanNothingAreRefusedAndChangeNothing)
{
    const QString outer = folder(QStringLiteral("Outer"));
    const QString inner = folder(QStringLiteral("Inner"), outer);
    const QString thick = record(QStringLiteral("C"), QStringLiteral("Film"));
    const QString lamp = record(QStringLiteral("L"), QStringLiteral("Lamp"));
    ASSERT_NO_FATAL_FAILURE(open());
    tree()->expandAll();

    // An L record onto a C record is not even offered.
    EXPECT_FALSE(drop({lamp}, list(), thick).accepted);
    EXPECT_EQ(column(thick, "AdjustNo").toInt(), 0);

    // A folder into its own sub-folder: the refusal, and it stays where it was.
    EXPECT_TRUE(drop({outer}, tree(), inner).accepted);
    EVENTUALLY_TRUE(!reporter.shown.isEmpty());
    EXPECT_EQ(column(outer, "Parent").toInt(), 0);
    EXPECT_EQ(column(inner, "Parent").toInt(), GetKeySeq(outer));
    EXPECT_TRUE(control().tree().indexOfKey(inner).parent() == control().tree().indexOfKey(outer));
}

TEST_F(SampleManagerWindowTest, RenameInPlaceStoresNamesExactlyAndRefusesEmptyOrBrokenOnes)
{
    const QString scan = record(QStringLiteral("W"), QStringLiteral("Scan"));
    ASSERT_NO_FATAL_FAILURE(open());
    const auto rename = [&](const QString& name, bool typed) {
        selectInList({scan});
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_F2);
        auto* editor = list()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        if (typed)
            QTest::keyClicks(editor, name);
        else
            editor->setText(name);
        QTest::keyClick(editor, Qt::Key_Return);
        EVENTUALLY_TRUE(!editing(list()));
    };

    const QString quoted = QStringLiteral("Gold \"100\" nm, it's 'annealed'");
    ASSERT_NO_FATAL_FAILURE(rename(quoted, true));
    EVENTUALLY_EQ(column(scan, "SampleName").toString(), quoted);
    EXPECT_EQ(listed(scan).data().toString(), quoted);
    EXPECT_TRUE(reporter.shown.isEmpty()) << lastMessage().toStdString();

    for (const QString& bad : {QStringLiteral("   "), QStringLiteral("two\nlines"), QStringLiteral("a\tb")}) {
        reporter.shown.clear();
        ASSERT_NO_FATAL_FAILURE(rename(bad, false));
        EVENTUALLY_EQ(reporter.shown.size(), 1);
        EXPECT_EQ(lastMessage(), sampleText(bad.trimmed().isEmpty() ? SampleText::NameEmpty : SampleText::NameWithBreaks));
        EXPECT_EQ(column(scan, "SampleName").toString(), quoted);
        EXPECT_EQ(listed(scan).data().toString(), quoted);
    }
}

TEST_F(SampleManagerWindowTest, ASearchListsItsMatchesUnderTheSearchNodeAndSaysHowMany)
{
    for (int i = 0; i < 4; ++i)
        record(QStringLiteral("W"), QStringLiteral("Gold %1").arg(i));
    record(QStringLiteral("W"), QStringLiteral("Copper"));
    ASSERT_NO_FATAL_FAILURE(open());

    list()->setFocus();
    QTest::keySequence(frame.get(), QKeySequence::Find);
    EVENTUALLY_EQ(control().nodeKey(), QStringLiteral("1 Q"));
    gui::SampleGridView* grid = manager->grid();
    const QModelIndex cell = control().grid().index(control().grid().rowOf(QStringLiteral("QuerySample")), 1);
    ASSERT_TRUE(cell.isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("Gold"));
    QTest::keyClick(editor, Qt::Key_Return);
    EVENTUALLY_EQ(control().grid().conditions().sampleName, QStringLiteral("Gold"));

    ASSERT_NE(grid->searchButton(), nullptr);
    QTest::mouseClick(grid->searchButton(), Qt::LeftButton);
    EVENTUALLY_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(lastMessage(), text(msg::DatasFound, {4}));
    EXPECT_EQ(control().list().rowCount(), 4);
    EXPECT_EQ(control().nodeKey(), QStringLiteral("1 Q"));
}

TEST_F(SampleManagerWindowTest, DoubleClickOpensTheSelectedRecordsTogetherInOneDataWindow)
{
    QStringList scans;
    for (int i = 0; i < 3; ++i)
        scans << record(QStringLiteral("W"), QStringLiteral("Scan %1").arg(i));
    record(QStringLiteral("W"), QStringLiteral("Not chosen"));
    ASSERT_NO_FATAL_FAILURE(open());

    ASSERT_NO_FATAL_FAILURE(selectInList(scans));
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                       list()->visualRect(listed(scans.last())).center());
    EVENTUALLY_EQ(dataWindows().size(), 1);
    EXPECT_EQ(dataWindows().first()->control().records().Count(), 3);
}

TEST_F(SampleManagerWindowTest, MeasurementConnectsThenOpensNewRecordsAndACalibrationLineIsStoredAtOnce)
{
    const QString lines = folder(QStringLiteral("Lines"));
    ASSERT_NO_FATAL_FAILURE(open());
    QAction* newWork = manager->entry(QStringLiteral("mnuNewWork"));
    EXPECT_FALSE(newWork->isEnabled());
    frame->entry(QStringLiteral("mnuConnect"))->trigger();
    EVENTUALLY_TRUE(newWork->isEnabled());
    EXPECT_TRUE(manager->entry(QStringLiteral("mnuNewLight"))->isEnabled());

    newWork->trigger();
    EVENTUALLY_EQ(dataWindows().size(), 1);
    EXPECT_EQ(dataWindows().first()->control().records().Count(), 1);

    ASSERT_NO_FATAL_FAILURE(showNode(lines));
    const qint64 before = countOf(QStringLiteral("Select Count(*) From Setting Where Modes=%1 And Parent=%2;").arg(RecordKinds::KindT).arg(GetKeySeq(lines)));
    manager->entry(QStringLiteral("mnuNewCalibrationLine"))->trigger();
    EXPECT_EQ(countOf(QStringLiteral("Select Count(*) From Setting Where Modes=%1 And Parent=%2;").arg(RecordKinds::KindT).arg(GetKeySeq(lines))), before + 1);
    EXPECT_EQ(control().list().rowCount(), 1);
}

TEST_F(SampleManagerWindowTest, PrintOpensThePrintWindowOnTheChosenRecordsOnly)
{
    const QString gold = folder(QStringLiteral("Gold"));
    const QString scan = record(QStringLiteral("W"), QStringLiteral("Scan"));
    ASSERT_NO_FATAL_FAILURE(open());
    QAction* print = manager->entry(QStringLiteral("mnuPrint"));
    ASSERT_NO_FATAL_FAILURE(selectInList({gold}));
    EXPECT_FALSE(print->isEnabled());
    ASSERT_NO_FATAL_FAILURE(selectInList({scan}));
    ASSERT_TRUE(print->isEnabled());
    print->trigger();
    int printWindows = 0;
    for (QMdiSubWindow* sub : frame->mdiArea()->subWindowList())
        printWindows += qobject_cast<gui::PrintWindow*>(sub->widget()) ? 1 : 0;
    EXPECT_EQ(printWindows, 1);
}

TEST_F(SampleManagerWindowTest, CreateFolderOffAFolderIsRefusedAndOnAFolderNamesTheNewOne)
{
    const QString scan = record(QStringLiteral("W"), QStringLiteral("Scan"));
    ASSERT_NO_FATAL_FAILURE(open());
    const qint64 folders = countOf(QStringLiteral("Select Count(*) From FAT;"));

    selectInList({scan});
    list()->setFocus();
    manager->entry(QStringLiteral("mnuCreateFolder"))->trigger();
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(lastMessage(), text(msg::FolderOnlyUnderFolder));
    EXPECT_EQ(countOf(QStringLiteral("Select Count(*) From FAT;")), folders);

    // On the top level node: a new folder whose name is edited at once.
    ASSERT_NO_FATAL_FAILURE(showNode(QStringLiteral("1 A")));
    tree()->setFocus();
    manager->entry(QStringLiteral("mnuCreateFolder"))->trigger();
    EXPECT_EQ(countOf(QStringLiteral("Select Count(*) From FAT;")), folders + 1);
    EVENTUALLY_TRUE(editing(list()) || editing(tree()));
}

TEST_F(SampleManagerWindowTest, CutAndPasteMovesAndDeleteTrashesTheSelection)
{
    const QString gold = folder(QStringLiteral("Gold"));
    const QString a = record(QStringLiteral("W"), QStringLiteral("A"));
    const QString b = record(QStringLiteral("W"), QStringLiteral("B"));
    ASSERT_NO_FATAL_FAILURE(open());

    ASSERT_NO_FATAL_FAILURE(selectInList({a, b}));
    QTest::keySequence(frame.get(), QKeySequence::Cut);
    EXPECT_TRUE(manager->entry(QStringLiteral("mnuPaste"))->isEnabled());
    ASSERT_NO_FATAL_FAILURE(showNode(gold));
    tree()->setFocus();
    QTest::keySequence(frame.get(), QKeySequence::Paste);
    EVENTUALLY_EQ(column(a, "Parent").toInt(), GetKeySeq(gold));
    EXPECT_EQ(column(b, "Parent").toInt(), GetKeySeq(gold));
    EXPECT_EQ(control().list().rowCount(), 2);

    ASSERT_NO_FATAL_FAILURE(selectInList({a}));
    QTest::keySequence(frame.get(), QKeySequence::Delete);
    EVENTUALLY_TRUE(column(a, "Recycled").toInt() != 0);
    EXPECT_EQ(column(b, "Recycled").toInt(), 0);
    ASSERT_NO_FATAL_FAILURE(showNode(QStringLiteral("1 R")));
    EXPECT_TRUE(listed(a).isValid());
}

TEST_F(SampleManagerWindowTest, ExportAndImportGoThroughTheMenuWithTheDialogsAnswered)
{
    const QString gold = folder(QStringLiteral("Gold"));
    const QString target = folder(QStringLiteral("Imported"));
    const QString scan = record(QStringLiteral("W"), QStringLiteral("Scan"), GetKeySeq(gold));
    ASSERT_NO_FATAL_FAILURE(open());

    ASSERT_NO_FATAL_FAILURE(selectInList({gold}));
    const QString file = fileIn(QStringLiteral("gold.mdb"));
    answerFileDialog(file);
    QSignalSpy progress(&control(), &SampleManagerControl::progressed);
    manager->entry(QStringLiteral("mnuExport"))->trigger();
    EXPECT_EQ(dialogTitles.value(0), text(msg::ExportTitle));
    EVENTUALLY_TRUE(!control().busy());
    ASSERT_TRUE(QFile::exists(file)) << lastMessage().toStdString();
    EXPECT_EQ(progress.value(0).value(0).toString(), text(msg::ExportProgress));

    // Into the chosen folder.
    ASSERT_NO_FATAL_FAILURE(selectInList({target}));
    const qint64 before = countOf(QStringLiteral("Select Count(*) From Setting;"));
    manager->entry(QStringLiteral("mnuImport"))->trigger();
    EXPECT_EQ(dialogTitles.value(1), text(msg::ImportTitle));
    EVENTUALLY_TRUE(!control().busy());
    EXPECT_EQ(countOf(QStringLiteral("Select Count(*) From Setting;")), before + 1) << lastMessage().toStdString();
    EXPECT_EQ(countOf(QStringLiteral("Select Count(*) From FAT Where Parent=%1;").arg(GetKeySeq(target))), 1);
    EXPECT_NE(column(scan, "SampleName"), QVariant());

    // A file that is no exchange file: the error, and nothing changes.
    const QString bad = fileIn(QStringLiteral("notes.mdb"));
    QFile text(bad);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("these are notes, not measurements\n");
    text.close();
    const qint64 rows = countOf(QStringLiteral("Select Count(*) From Setting;"));
    const int treeRows = control().tree().rowCount(control().tree().indexOfKey(QStringLiteral("1 A")));
    reporter.shown.clear();
    answerFileDialog(bad);
    manager->entry(QStringLiteral("mnuImport"))->trigger();
    EVENTUALLY_TRUE(!control().busy());
    EVENTUALLY_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(countOf(QStringLiteral("Select Count(*) From Setting;")), rows);
    EXPECT_EQ(control().tree().rowCount(control().tree().indexOfKey(QStringLiteral("1 A"))), treeRows);
    QFile caution(dataDirectory() + QStringLiteral("/Caution.log"));
    ASSERT_TRUE(caution.open(QIODevice::ReadOnly));
    EXPECT_FALSE(caution.readAll().isEmpty());
}

TEST_F(SampleManagerWindowTest, SaveDataWritesAWorkFunctionRecordAsTextAndRefusesALightRecord)
{
    const QString scan = record(QStringLiteral("W"), QStringLiteral("Scan"));
    const QString lamp = record(QStringLiteral("L"), QStringLiteral("Lamp"));
    ASSERT_NO_FATAL_FAILURE(open());
    const QString file = fileIn(QStringLiteral("scan.txt"));
    answerFileDialog(file);

    ASSERT_NO_FATAL_FAILURE(selectInList({scan}));
    manager->entry(QStringLiteral("mnuSaveData"))->trigger();
    EXPECT_EQ(dialogFilters, recordTextFilters());
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << lastMessage().toStdString();
    EXPECT_TRUE(saved.readAll().contains("Scan"));

    ASSERT_NO_FATAL_FAILURE(selectInList({lamp}));
    dialogTitles.clear();
    manager->entry(QStringLiteral("mnuSaveData"))->trigger();
    EXPECT_TRUE(dialogTitles.isEmpty());
    EXPECT_EQ(lastMessage(), text(msg::CannotSaveData));
}

TEST_F(SampleManagerWindowTest, AChangeByTheCommandLineShowsOnRefreshAndAVanishedItemIsReported)
{
    const QString a = record(QStringLiteral("W"), QStringLiteral("A"));
    const QString b = record(QStringLiteral("W"), QStringLiteral("B"));
    ASSERT_NO_FATAL_FAILURE(open());
    const auto tz4 = [this](const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ4_HOME"), home.path());
        process.setProcessEnvironment(env);
        process.start(builtProgram(QStringLiteral("tz4")), args);
        ASSERT_TRUE(process.waitForFinished(30000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    };

    // Another process adds a folder: it shows after Refresh.
    ASSERT_NO_FATAL_FAILURE(tz4({QStringLiteral("folder"), QStringLiteral("new"), QStringLiteral("Elsewhere")}));
    const auto topNodes = [this] { return control().tree().rowCount(control().tree().indexOfKey(QStringLiteral("1 A"))); };
    const int before = topNodes();
    EXPECT_FALSE(control().tree().indexOfKey(QStringLiteral("1 F")).isValid());
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_F5);
    EVENTUALLY_EQ(control().list().index(0, 0).data().toString(), QStringLiteral("Elsewhere"));
    EXPECT_EQ(topNodes(), before + 1);

    // It removes A for good while the window still lists it: deleting A says so, nothing else
    // changes, and the lists are read again.
    ASSERT_NO_FATAL_FAILURE(tz4({QStringLiteral("delete"), a}));
    ASSERT_NO_FATAL_FAILURE(tz4({QStringLiteral("empty-trash"), QStringLiteral("--yes")}));
    ASSERT_TRUE(column(a, "SampleName").isNull());
    ASSERT_NO_FATAL_FAILURE(selectInList({a}));
    QTest::keySequence(frame.get(), QKeySequence::Delete);
    EVENTUALLY_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(lastMessage(), sampleText(SampleText::ItemGone, {a}));
    EXPECT_EQ(column(b, "Recycled").toInt(), 0);
    EXPECT_FALSE(listed(a).isValid());
    EXPECT_TRUE(listed(b).isValid());
}

} // namespace
