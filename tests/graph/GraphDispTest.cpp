#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "data/DatabaseSchema.h"
#include "data/SqliteDatabase.h"
#include "graph/Tz4GraphDisps.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tz4::test {
namespace {

class GraphDisp : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("TZ4.mdb"));
        ASSERT_TRUE(MakeDB(path));
        // Load failures go to the error log of the temporary directory.
        setDataDirectory(dir.path());
    }

    clsTz4GraphDisp loaded(const QString& key) const
    {
        clsTz4GraphDisp disp;
        disp.setKey(key);
        disp.setDataBaseName(path);
        disp.ReLoad();
        return disp;
    }

    QVariant cell(const QString& column, int typeNo) const
    {
        SqliteDatabase db(path);
        SqliteStatement row = db.query(QStringLiteral("Select %1 From Graphs Where TypeNo = %2;").arg(column).arg(typeNo));
        return row.next() ? row.value(0) : QVariant();
    }

    void exec(const QString& sql) const
    {
        SqliteDatabase db(path);
        db.execute(sql);
    }

    QTemporaryDir dir;
    QString path;
};

TEST(GraphDispValues, SettersKeepColoursAboveBlackAndTheFadingLevelWithinOne)
{
    clsTz4GraphDisp disp;
    EXPECT_EQ(disp.BackColor(), 0xFFC0C0);
    EXPECT_EQ(disp.ForeColor(), 0xC0D8FF);
    EXPECT_EQ(disp.DotSize(), 30);
    EXPECT_EQ(disp.GndStyle(), 2);
    disp.setDotColor(0);
    disp.setBackColor(0);
    EXPECT_EQ(disp.DotColor(), 1);
    EXPECT_EQ(disp.BackColor(), 1);
    disp.setOverLayLevel(0.25f);
    disp.setOverLayLevel(1.5f);
    disp.setOverLayLevel(-0.1f);
    EXPECT_FLOAT_EQ(disp.OverLayLevel(), 0.25f);
    disp.setOverLayLevel(0);
    EXPECT_FLOAT_EQ(disp.OverLayLevel(), 0);
    disp.setOverLayLevel(1);
    EXPECT_FLOAT_EQ(disp.OverLayLevel(), 1);
}

// Every stored member, in the order of the Graphs columns.
QVariantList stored(const clsTz4GraphDisp& d)
{
    return {d.DotColor(), d.DotFill(), d.DotSize(), d.DotStyle(), d.LineColor(), d.LineStyle(), d.LineVisible(),
            d.SelectColor(), d.SelectFill(), d.SelectSize(), d.SelectStyle(), d.SelectVisible(), d.GndColor(),
            d.GndStyle(), d.GndVisible(), d.FuncColor(), d.FuncStyle(), d.FuncVisible(), d.BackColor(),
            d.ForeColor(), d.ScaleColor(), d.GridVisible(), d.XscaleVisible(), d.YscaleVisible(), d.DrawVisible(),
            d.OverLayLevel()};
}

TEST_F(GraphDisp, RoundTripsEveryStoredValueThroughTheGraphsTable)
{
    clsTz4GraphDisp disp = loaded(QStringLiteral("W"));
    EXPECT_FALSE(cell(QStringLiteral("TypeNo"), 0).isValid()); // fresh database: defaults, no row
    const QVariantList defaults = stored(disp);
    // Every value differs from its default.
    disp.setDotColor(0x0000FF); disp.setDotFill(true); disp.setDotSize(44); disp.setDotStyle(3);
    disp.setLineColor(0x00FF00); disp.setLineStyle(1); disp.setLineVisible(true);
    disp.setSelectColor(0x123456); disp.setSelectFill(false); disp.setSelectSize(50); disp.setSelectStyle(4);
    disp.setSelectVisible(false);
    disp.setGndColor(0x111111); disp.setGndStyle(3); disp.setGndVisible(false);
    disp.setFuncColor(0x222222); disp.setFuncStyle(4); disp.setFuncVisible(false);
    disp.setBackColor(0x102030); disp.setForeColor(0x405060); disp.setScaleColor(0x708090);
    disp.setGridVisible(true); disp.setXscaleVisible(false); disp.setYscaleVisible(false);
    disp.setDrawVisible(false); disp.setOverLayLevel(0.375f);
    const QVariantList changed = stored(disp);
    for (qsizetype i = 0; i < changed.size(); ++i)
        ASSERT_NE(changed.at(i), defaults.at(i)) << "column " << i;

    disp.UpDates(0);
    EXPECT_EQ(stored(loaded(QStringLiteral("3 W"))), changed);
    // Other modes keep their defaults.
    EXPECT_EQ(stored(loaded(QStringLiteral("T"))), defaults);
}

TEST_F(GraphDisp, ANonZeroArgumentStoresTheFadingLevelAlone)
{
    clsTz4GraphDisp disp = loaded(QStringLiteral("W"));
    disp.UpDates(0);
    disp.setDotSize(99);
    disp.setOverLayLevel(0.5f);
    disp.UpDates(2);
    EXPECT_EQ(cell(QStringLiteral("DotSize"), 0).toInt(), 30);
    EXPECT_DOUBLE_EQ(cell(QStringLiteral("OverLayLevel"), 0).toDouble(), 0.5);
}

TEST_F(GraphDisp, TheFadingLevelReachesTheTableWithAPointUnderACommaLocale)
{
    ScopedLocale comma{QLocale(QLocale::German, QLocale::Germany)};
    clsTz4GraphDisp disp = loaded(QStringLiteral("L"));
    EXPECT_EQ(disp.UncheckPointDelim(QStringLiteral("1,5,25")), QStringLiteral("1.5.25"));
    disp.setOverLayLevel(0.5f);
    disp.UpDates(0);
    EXPECT_DOUBLE_EQ(cell(QStringLiteral("OverLayLevel"), 2).toDouble(), 0.5);
}

TEST_F(GraphDisp, ModesWithoutAnalysisNeverShowSelectionsOrLines)
{
    exec(QStringLiteral("Insert Into Graphs(TypeNo, SelVisible, GndVisible, FuncVisible) Values (1, True, True, True);"));
    exec(QStringLiteral("Insert Into Graphs(TypeNo, SelVisible, GndVisible, FuncVisible) Values (4, True, True, True);"));
    const clsTz4GraphDisp c = loaded(QStringLiteral("1 C"));
    EXPECT_FALSE(c.SelectVisible());
    EXPECT_FALSE(c.GndVisible());
    EXPECT_FALSE(c.FuncVisible());
    EXPECT_TRUE(loaded(QStringLiteral("2 T")).FuncVisible());
}

TEST_F(GraphDisp, ADamagedRowKeepsTheDefaultsOfWhatCannotBeDrawnAndSaysSo)
{
    exec(QStringLiteral("Insert Into Graphs(TypeNo, OverLayLevel, DotSize, GraphBack, LineStyle, DotColor, GraphFore) "
                        "Values (0, 5, -4, 99999999, 17, 255, Null);"));
    const clsTz4GraphDisp disp = loaded(QStringLiteral("W"));
    EXPECT_FLOAT_EQ(disp.OverLayLevel(), 1);
    EXPECT_EQ(disp.DotSize(), 30);
    EXPECT_EQ(disp.BackColor(), 0xFFC0C0);
    EXPECT_EQ(disp.LineStyle(), 0);
    EXPECT_EQ(disp.DotColor(), 255);       // a good column is still taken
    EXPECT_EQ(disp.ForeColor(), 0xC0D8FF); // Null leaves the default
    EXPECT_EQ(disp.LoadWarnings().size(), 4);
    EXPECT_TRUE(disp.LoadWarnings().join(QLatin1Char('\n')).contains(QStringLiteral("OverLayLevel 5")));
    // Nothing was changed in the row.
    EXPECT_EQ(cell(QStringLiteral("DotSize"), 0).toInt(), -4);
}

TEST_F(GraphDisp, AnUnknownModeKeepsTheDefaultsAndLogsTheFailure)
{
    const clsTz4GraphDisp disp = loaded(QStringLiteral("5 X"));
    EXPECT_EQ(disp.BackColor(), 0xFFC0C0);
    QFile log(cautionLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(" : 91 : ")) << "no failure logged";
}

TEST(GraphDispCollection, AddsSelectsAndFindsSetsByKey)
{
    clsTz4GraphDisps disps;
    disps.Add(QStringLiteral("W"), QString());
    clsTz4GraphDisp* c = disps.Add(QStringLiteral("C"), QString());
    EXPECT_EQ(disps.SelectedItem(), c);
    EXPECT_EQ(c->Index(), 2);
    EXPECT_EQ(disps.Item(QStringLiteral("w")), disps.Item(1));
    EXPECT_EQ(errorNumberOf([&] { disps.Add(QStringLiteral("W"), QString()); }), 457);
    // Without any key the set is still added, and nothing is selected.
    disps.Add(QString(), QString());
    EXPECT_EQ(disps.Count(), 3);
    EXPECT_EQ(disps.SelectedItem(), nullptr);
    disps.Remove(QStringLiteral("C"));
    EXPECT_EQ(disps.Count(), 2);
}

} // namespace
} // namespace tz4::test
