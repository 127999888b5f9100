#include "tests/support/ModelWatch.h"

#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/print/PagePreview.h"
#include "gui/print/PrintWindow.h"
#include "gui/print/PrintWindowOpener.h"
#include "gui/print/TemplateGridView.h"
#include "gui/widgets/TaskBar.h"
#include "print/PrintControl.h"
#include "print/PrintGridModel.h"
#include "sim/SimulatorLine.h"
#include "tests/support/ModelWatch.h"
#include "tests/print/PrintFixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QTest>

using namespace tz4;
using tz4::test::RecordingReporter;

namespace {

// The frame with a print window on a stored scan, driven by mouse and keys.
class PrintWindowTest : public test::PrintDatabase {
protected:
    void SetUp() override
    {
        PrintDatabase::SetUp();
        SystemParam().EditablePrint = true;
        key = storeScan(QStringLiteral("Gold"));
        line = std::make_unique<sim::SimulatorLine>(clock, sim::SimOptions{});
        frame = std::make_unique<gui::MainWindow>(clock, *line);
        frame->resize(1200, 900);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    void TearDown() override
    {
        models.clear();
        frame.reset();
        line.reset();
    }

    gui::PrintWindow& open(qint32 templateNo = -1)
    {
        window = gui::openPrintWindow(*frame, {key}, templateNo);
        EXPECT_NE(window, nullptr);
        models.clear();
        if (window)
            models.watch(window->gridModel());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return *window;
    }

    clsTz4PrintLabel* labelNo(int number) { return window->control().templ().Labels.Item(number); }

    // The middle of a label on the screen.
    QPoint centreOf(const clsTz4PrintLabel& label)
    {
        const QRectF mm = window->control().page().labelRect(label);
        return window->preview()->toPixels(mm.center()).toPoint();
    }

    QString shown(const QString& rowKey)
    {
        PrintGridModel* model = window->gridModel();
        return model->index(model->rowOf(rowKey), 1).data().toString();
    }

    QModelIndex cell(const QString& rowKey)
    {
        PrintGridModel* model = window->gridModel();
        const QModelIndex index = model->index(model->rowOf(rowKey), 1);
        window->grid()->scrollTo(index);
        return index;
    }

    void clickCell(const QString& rowKey)
    {
        const QModelIndex index = cell(rowKey);
        QTest::mouseClick(window->grid()->viewport(), Qt::LeftButton, {}, window->grid()->visualRect(index).center());
    }

    // Select, F2, type, Enter, as a user edits a grid value.
    void type(const QString& rowKey, const QString& text)
    {
        clickCell(rowKey);
        gui::TemplateGridView* grid = window->grid();
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << rowKey.toStdString();
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!grid->viewport()->findChild<QLineEdit*>() || !grid->viewport()->findChild<QLineEdit*>()->isVisible());
    }

    void pick(const QString& rowKey, int position)
    {
        clickCell(rowKey);
        gui::TemplateGridView* grid = window->grid();
        QTest::keyClick(grid, Qt::Key_F2);
        auto* combo = grid->viewport()->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr) << rowKey.toStdString();
        combo->setCurrentIndex(position);
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_VERIFY(!grid->viewport()->findChild<QComboBox*>() || !grid->viewport()->findChild<QComboBox*>()->isVisible());
    }

    // Opens a menu of the window's menu bar and chooses its entry named `name`.
    void choose(const QString& name)
    {
        QMenuBar* bar = window->menuBar();
        auto* entry = window->findChild<QAction*>(name);
        ASSERT_NE(entry, nullptr) << name.toStdString();
        QMenu* menu = nullptr;
        for (QMenu* candidate : window->menus())
            if (candidate->actions().contains(entry))
                menu = candidate;
        ASSERT_NE(menu, nullptr);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    }

    static QString pdfText(const QString& file)
    {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
        pdftotext.waitForFinished(60000);
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }

    QString key;
    RecordingReporter reporter{MessageAnswer::No};
    VirtualClock clock;
    std::unique_ptr<sim::SimulatorLine> line;
    std::unique_ptr<gui::MainWindow> frame;
    test::ModelWatch models;
    QPointer<gui::PrintWindow> window;
};

TEST_F(PrintWindowTest, LabelClickedDraggedAndSavedIsFoundMovedOnReopening)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Print - Work Function Report"));
    bool onTaskBar = false;
    for (QAbstractButton* button : frame->tz4TaskBar().findChildren<QAbstractButton*>())
        onTaskBar |= button->accessibleName() == window->windowTitle();
    EXPECT_TRUE(onTaskBar) << "the print window has its button on the task bar";

    clsTz4PrintLabel* name = labelNo(2);
    const QPointF before(name->mmLeft(), name->mmTop());
    gui::PagePreview* preview = window->preview();
    const QPoint grip = centreOf(*name);
    QTest::mouseClick(preview, Qt::LeftButton, {}, grip);
    ASSERT_EQ(window->control().selectedLabel(), name);
    EXPECT_EQ(shown(QStringLiteral("lFCap")), QStringLiteral("Sample Name : "));

    QTRY_VERIFY(preview->labelPaints() > 0);
    const int backgrounds = preview->backgroundPaints();
    const int labelPaints = preview->labelPaints();
    const QPoint by(2 * preview->logicalDpiX() / 2, preview->logicalDpiX() / 2); // an inch and half an inch at 100 %
    QTest::mousePress(preview, Qt::LeftButton, {}, grip);
    QTest::mouseMove(preview, grip + by / 2);
    QTest::mouseMove(preview, grip + by);
    QTest::mouseRelease(preview, Qt::LeftButton, {}, grip + by);
    const QPointF movedMM = QPointF(by) / (preview->logicalDpiX() / 25.4 * preview->zoom());
    EXPECT_NEAR(name->mmLeft(), before.x() + movedMM.x(), 0.11);
    EXPECT_NEAR(name->mmTop(), before.y() + movedMM.y(), 0.11);
    EXPECT_EQ(shown(QStringLiteral("lLeft")), formatNumber(name->mmLeft(), QStringLiteral("###0.0")));
    QTRY_VERIFY(preview->labelPaints() > labelPaints);
    EXPECT_EQ(preview->backgroundPaints(), backgrounds) << "moving a label repaints only the labels";
    const QPointF after(name->mmLeft(), name->mmTop());

    clickCell(QStringLiteral("Save"));
    EXPECT_TRUE(reporter.shown.isEmpty()) << "a rewrite without a new name asks nothing";
    EXPECT_EQ(scalar(QStringLiteral("SELECT LabelLeft FROM PrtLabel WHERE TempNo = 1 AND BindNo = 2")).toDouble(),
              double(after.x()));

    choose(QStringLiteral("mnuFileClose"));
    QTRY_VERIFY(window.isNull());
    open();
    clsTz4PrintLabel* reopened = labelNo(2);
    EXPECT_EQ(QPointF(reopened->mmLeft(), reopened->mmTop()), after);
    QTest::mouseClick(window->preview(), Qt::LeftButton, {}, centreOf(*reopened));
    EXPECT_EQ(window->control().selectedLabel(), reopened);
}

TEST_F(PrintWindowTest, RightButtonOnALabelOffersToDeleteIt)
{
    open();
    clsTz4PrintLabel* location = labelNo(4);
    QTest::mouseClick(window->preview(), Qt::RightButton, {}, centreOf(*location));
    EXPECT_EQ(window->control().selectedLabel(), location);
    QMenu* popup = window->labelPopup();
    QTRY_VERIFY(popup->isVisible());
    auto* remove = window->findChild<QAction*>(QStringLiteral("mnuDeleteLabel"));
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove->text(), GetRes(msg::PrintPopupDeleteLabel));
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(remove).center());
    EXPECT_EQ(window->control().templ().Labels.Count(), 11);
    EXPECT_EQ(window->control().selectedLabel(), nullptr);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM PrtLabel WHERE TempNo = 1")).toInt(), 12)
        << "the stored template changes only when saved";
}

TEST_F(PrintWindowTest, WithoutEditingThereIsNoGridAndTheLayoutCannotChange)
{
    SystemParam().EditablePrint = false;
    open();
    EXPECT_EQ(window->grid(), nullptr);
    clsTz4PrintLabel* name = labelNo(2);
    const QPointF before(name->mmLeft(), name->mmTop());
    const QPoint grip = centreOf(*name);
    QTest::mousePress(window->preview(), Qt::LeftButton, {}, grip);
    QTest::mouseMove(window->preview(), grip + QPoint(80, 80));
    QTest::mouseRelease(window->preview(), Qt::LeftButton, {}, grip + QPoint(80, 80));
    EXPECT_EQ(window->control().selectedLabel(), nullptr);
    EXPECT_EQ(QPointF(name->mmLeft(), name->mmTop()), before);
}

TEST_F(PrintWindowTest, GridRefusesNonNumbersAndBindsALabelThroughTheBindingList)
{
    open();
    type(QStringLiteral("gLeft"), QStringLiteral("left"));
    EXPECT_EQ(shown(QStringLiteral("gLeft")), QStringLiteral("20.0"));
    const int backgrounds = window->preview()->backgroundPaints();
    type(QStringLiteral("gLeft"), QStringLiteral("25"));
    EXPECT_EQ(shown(QStringLiteral("gLeft")), QStringLiteral("25.0"));
    QTRY_VERIFY(window->preview()->backgroundPaints() > backgrounds);

    clsTz4PrintLabel* title = labelNo(1);
    QTest::mouseClick(window->preview(), Qt::LeftButton, {}, centreOf(*title));
    ASSERT_EQ(window->control().selectedLabel(), title);
    pick(QStringLiteral("lBind"), 0);
    pick(QStringLiteral("lBindNum"), param::SampleName);
    EXPECT_EQ(shown(QStringLiteral("lBindNum")), GetRes(msg::BindSampleName));
    EXPECT_EQ(title->Caption(), QStringLiteral("Gold"));
    type(QStringLiteral("lBCap"), QStringLiteral(" (gold foil)"));
    EXPECT_EQ(title->Caption(), QStringLiteral("Gold (gold foil)"));
    // The font button opens the font chooser on the label's font.
    float offered = 0;
    window->grid()->setFontChooser([&](QFont& font) {
        offered = float(font.pointSizeF());
        font.setPointSizeF(24);
        return true;
    });
    const double narrow = window->control().page().labelRect(*title).width();
    clickCell(QStringLiteral("lFont"));
    EXPECT_EQ(offered, 16.0f);
    EXPECT_EQ(title->OriginalFontSize(), 24.0f);
    EXPECT_GT(window->control().page().labelRect(*title).width(), narrow * 1.3);

    // A new label from its button, selected and shown in the grid.
    clickCell(QStringLiteral("NewLabel"));
    EXPECT_EQ(window->control().templ().Labels.Count(), 13);
    EXPECT_EQ(shown(QStringLiteral("lValue")), QStringLiteral("1"));
}

TEST_F(PrintWindowTest, RenamedTemplateAsksAndBecomesANewOneOnYes)
{
    open();
    type(QStringLiteral("TempName"), QStringLiteral("Gold foil report"));
    RecordingReporter yes(MessageAnswer::Yes);
    clickCell(QStringLiteral("Save"));
    ASSERT_EQ(yes.shown.size(), 1);
    EXPECT_EQ(yes.shown[0].text, GetRes(msg::TemplateNameChanged));
    EXPECT_EQ(yes.shown[0].title, GetRes(msg::TemplateTitle));
    EXPECT_EQ(window->control().templ().SeqNo, 6);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Print - Gold foil report"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT TemplateName FROM Prints WHERE SeqNo = 1")).toString(),
              QStringLiteral("Work Function Report"));
}

TEST_F(PrintWindowTest, PrintsToAPdfFileOnAMachineWithoutAnyPrinter)
{
    open();
    window->setPrinterCheck([] { return false; });
    QString asked;
    const QString pdf = home.filePath(QStringLiteral("page.pdf"));
    window->setPrintDialog([&](QPrinter& printer) {
        asked = printer.outputFormat() == QPrinter::PdfFormat ? QStringLiteral("pdf") : QStringLiteral("device");
        printer.setOutputFileName(pdf);
        return true;
    });
    choose(QStringLiteral("mnuPrintPage"));
    EXPECT_EQ(asked, QStringLiteral("pdf")) << "without a printer the dialog starts on a PDF file";
    EXPECT_TRUE(reporter.shown.isEmpty());
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Sample Name : Gold"))) << text.toStdString();

    // Checking the printer, or printing to a device with none installed, is refused with the message.
    choose(QStringLiteral("mnuPrintSetting"));
    bool deviceChosen = false;
    window->setPrintDialog([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        // Qt keeps PDF output where the platform has no printing system at all.
        deviceChosen = printer.outputFormat() == QPrinter::NativeFormat;
        return true;
    });
    QFile::remove(pdf);
    choose(QStringLiteral("mnuPrintPage"));
    ASSERT_EQ(reporter.shown.size(), deviceChosen ? 2 : 1);
    for (const RecordingReporter::Shown& message : reporter.shown) {
        EXPECT_EQ(message.text, GetRes(msg::SetUsualPrinter));
        EXPECT_EQ(message.title, GetRes(msg::PrinterError));
    }
}

TEST_F(PrintWindowTest, UnwritablePdfFileIsSaidAndNothingIsWritten)
{
    open();
    const QString plain = home.filePath(QStringLiteral("plain"));
    QFile(plain).open(QIODevice::WriteOnly);
    window->setPrintDialog([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(plain + QStringLiteral("/page.pdf"));
        return true;
    });
    choose(QStringLiteral("mnuPrintPage"));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_TRUE(reporter.shown[0].text.startsWith(QStringLiteral("The page could not be written to ") + plain))
        << reporter.shown[0].text.toStdString();
    EXPECT_EQ(QFileInfo(plain).size(), 0);
}

TEST_F(PrintWindowTest, TemplateOfAnotherKindIsNeverApplied)
{
    open(2);
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, GetRes(msg::WrongTemplate));
    EXPECT_EQ(reporter.shown[0].title, GetRes(msg::MissMatchType));
    EXPECT_EQ(window->control().templ().SeqNo, 1);
    EXPECT_EQ(window->control().templ().TemplateType, 0);
}

TEST_F(PrintWindowTest, ZoomFollowsTheMenuAndTheWindowUntilTheUserChooses)
{
    open();
    gui::PagePreview* preview = window->preview();
    const QSize room = window->previewArea()->viewport()->size();
    EXPECT_LE(preview->width(), room.width());
    EXPECT_LE(preview->height(), room.height());
    EXPECT_GT(preview->height(), room.height() * 0.8) << "the whole page fills the room it has";

    const double fitted = preview->zoom();
    choose(QStringLiteral("mnuZoomIn"));
    EXPECT_NEAR(preview->zoom(), fitted * 1.25, 0.01);
    const QSize zoomed = preview->size();
    frame->resize(1000, 700);
    QTRY_VERIFY(window->previewArea()->viewport()->size() != room);
    EXPECT_EQ(preview->size(), zoomed) << "a chosen zoom stays";
    choose(QStringLiteral("mnuWholePage"));
    EXPECT_LE(preview->height(), window->previewArea()->viewport()->height());
}

} // namespace
