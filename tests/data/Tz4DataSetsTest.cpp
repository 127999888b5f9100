#include "data/Tz4DataSets.h"

#include "core/Tz4Error.h"

#include <gtest/gtest.h>

using namespace tz4;

namespace {

// Demonstration records (no database) with their X data moved to start at `from`.
clsTz4DataSet* addDemo(clsTz4DataSets& sets, const QString& key, float from, float to)
{
    clsTz4DataSet* r = sets.Add(key, QString());
    const int n = r->DataCount();
    for (int i = 0; i < n; ++i)
        r->setOrgValueX(from + (to - from) * float(i) / float(n - 1), i);
    r->Refresh();
    return r;
}

} // namespace

TEST(Tz4DataSets, EmptyCollectionReportsNeutralTotals)
{
    clsTz4DataSets sets;
    sets.RefreshParam();
    EXPECT_EQ(sets.Count(), 0);
    for (float total : {sets.TotalMinX(), sets.TotalMinY(), sets.TotalMaxX(), sets.TotalMaxY(), sets.GraphMinX(),
                        sets.GraphMaxY()})
        EXPECT_EQ(total, -1.0f);
    EXPECT_EQ(sets.GraphStpX(), 1.0f);
    EXPECT_EQ(sets.GraphStpY(), 1.0f);
    EXPECT_EQ(sets.MaxDataCount(), 0);
    EXPECT_EQ(sets.SelectedItem(), nullptr);
    EXPECT_EQ(sets.Item(1), nullptr);
}

TEST(Tz4DataSets, TotalsSpanEveryRecordUntilRecomputed)
{
    clsTz4DataSets sets;
    clsTz4DataSet* a = addDemo(sets, QStringLiteral("1 W"), 3.4f, 6.2f);
    clsTz4DataSet* b = addDemo(sets, QStringLiteral("2 W"), 4.0f, 7.0f);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(b->Index(), 2);
    sets.RefreshParam();
    EXPECT_FLOAT_EQ(sets.TotalMinX(), 3.4f);
    EXPECT_FLOAT_EQ(sets.TotalMaxX(), 7.0f);
    EXPECT_FLOAT_EQ(sets.GraphMaxY(), 40.0f);
    EXPECT_FLOAT_EQ(sets.GraphStpY(), 10.0f);
    EXPECT_EQ(sets.MaxDataCount(), 56);
    EXPECT_EQ(sets.SelectedItem(), b);
    sets.setSelectedItem(a);
    EXPECT_EQ(sets.SelectedItem(), a);
    EXPECT_EQ(sets.Item(QStringLiteral("2 w")), b) << "keys compare without regard to case";

    sets.Remove(QStringLiteral("2 W"));
    EXPECT_EQ(sets.Count(), 1);
    EXPECT_FLOAT_EQ(sets.TotalMaxX(), 7.0f) << "not recomputed by Remove";
    sets.RefreshParam();
    EXPECT_FLOAT_EQ(sets.TotalMaxX(), 6.2f);

    int seen = 0;
    for (clsTz4DataSet& r : sets) {
        EXPECT_EQ(&r, a);
        ++seen;
    }
    EXPECT_EQ(seen, 1);
    EXPECT_THROW(sets.Add(QStringLiteral("1 W"), QString()), Tz4Error);
    EXPECT_EQ(sets.Count(), 1);
    sets.Clear();
    EXPECT_EQ(sets.Count(), 0);
    EXPECT_FLOAT_EQ(sets.TotalMinX(), 3.4f) << "Clear leaves the totals";
}

TEST(Tz4DataSets, RecordWithoutAnyKeyIsAddedButNotSelectable)
{
    clsTz4DataSets sets;
    sets.Add(QStringLiteral("1 W"), QString());
    clsTz4DataSet* bare = sets.Add(QString(), QString());
    EXPECT_EQ(sets.Count(), 2);
    EXPECT_EQ(sets.Item(2), bare);
    EXPECT_EQ(sets.SelectedItem(), nullptr);
    clsTz4DataSet* bySKey = sets.Add(QString(), QString(), QStringLiteral("spare"));
    EXPECT_EQ(sets.Item(QStringLiteral("spare")), bySKey);
    sets.Remove(1);
    EXPECT_EQ(sets.Item(1), bare);
}
