#include "core/Formats.h"
#include "tests/app/HeadlessRun.h"
#include "tests/print/PrintFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

using namespace tz4;

namespace {

// `tz4 report` on a data directory made by the program itself, records stored into it.
class ReportCommand : public test::PrintDatabase {
protected:
    test::HeadlessRun tz4(const QStringList& args) const
    {
        return test::runTz4(QStringList{QStringLiteral("--home"), home.path(), QStringLiteral("--lang"),
                                        QStringLiteral("en")}
                            + args);
    }

    // The text of a PDF as pdftotext reads it, in reading order.
    static QString pdfText(const QString& file)
    {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
            return QStringLiteral("<pdftotext failed: %1>").arg(QString::fromUtf8(pdftotext.readAllStandardError()));
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }

    QString file(const QString& name) const { return home.filePath(name); }
};

TEST_F(ReportCommand, PdfHoldsTheSampleNameAndTheWorkFunctionAsTheTemplateFormatsIt)
{
    const QString key = storeScan(QStringLiteral("Gold's foil"));
    const float workFunction = loadedWorkFunction(key);
    const test::HeadlessRun run = tz4({QStringLiteral("report"), key, file(QStringLiteral("gold.pdf"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), file(QStringLiteral("gold.pdf")).toUtf8());
    EXPECT_FALSE(run.err.contains("tz4 report:")) << "nothing to warn of: " << run.err.toStdString();

    const QString text = pdfText(file(QStringLiteral("gold.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("Sample Name : Gold's foil"))) << text.toStdString();
    EXPECT_TRUE(text.contains(
        QStringLiteral("Work Function : %1 eV").arg(formatNumber(workFunction, QStringLiteral("#0.00")))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Photoelectron Yield Spectrum")));
    EXPECT_TRUE(text.contains(QStringLiteral("Energy[eV]")));
    // The graph names its axes, as in the window.
    EXPECT_TRUE(text.contains(QStringLiteral("Energy [eV]"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Yield^0.5 [cps^0.5]"))) << text.toStdString();
}

TEST_F(ReportCommand, PngIsThePageAt150Dpi)
{
    const QString key = storeScan(QStringLiteral("Gold"));
    const test::HeadlessRun run = tz4({QStringLiteral("report"), key, file(QStringLiteral("gold.png"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage page(file(QStringLiteral("gold.png")));
    EXPECT_EQ(page.size(), QSize(1240, 1754));
    EXPECT_EQ(page.pixelColor(10, 10), QColor(Qt::white));
}

TEST_F(ReportCommand, TemplateOfAnotherKindIsRefusedAndNothingIsWritten)
{
    const QString key = storeScan(QStringLiteral("Gold"));
    const QString out = file(QStringLiteral("wrong.pdf"));
    test::HeadlessRun run = tz4({QStringLiteral("report"), key, out, QStringLiteral("--template"), QStringLiteral("2")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Wrong Template!")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));

    run = tz4({QStringLiteral("report"), key, out, QStringLiteral("--template"), QStringLiteral("77")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("No Template")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));

    run = tz4({QStringLiteral("report"), QStringLiteral("99"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("there is no record 99")) << run.err.toStdString();
}

TEST_F(ReportCommand, UnwritablePathIsSaidAndLeavesNoFile)
{
    const QString key = storeScan(QStringLiteral("Gold"));
    // A plain file where a folder should be: no user, not even root, can write below it.
    const QString plain = file(QStringLiteral("plain"));
    QFile(plain).open(QIODevice::WriteOnly);
    const test::HeadlessRun run = tz4({QStringLiteral("report"), key, plain + QStringLiteral("/gold.pdf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("The page could not be written to " + plain.toUtf8() + "/gold.pdf."))
        << run.err.toStdString();
    EXPECT_EQ(QFileInfo(plain).size(), 0);
}

TEST_F(ReportCommand, LabelOutsideThePageIsNamedAndThePageStillWritten)
{
    const QString key = storeScan(QStringLiteral("Gold"));
    {
        SqliteDatabase db(database);
        db.exec(QStringLiteral("UPDATE PrtLabel SET LabelTop = 320 WHERE TempNo = 1 AND BindNo = 2"));
    }
    const test::HeadlessRun run = tz4({QStringLiteral("report"), key, file(QStringLiteral("gold.pdf"))});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("Label 2 \"Sample Name : Gold\" lies outside the page.")) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(file(QStringLiteral("gold.pdf"))));
}

} // namespace
