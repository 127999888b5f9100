#include "core/Keys.h"

#include <gtest/gtest.h>

using namespace tz4;

TEST(ItemKey, SplitsIntoNumberAndTypeAtTheFirstBlank)
{
    EXPECT_EQ(GetKeySeq("12 W"), 12);
    EXPECT_EQ(GetKeyType("12 W"), "W");
    EXPECT_EQ(GetKeySeq("1 A"), 1);
    EXPECT_EQ(GetKeyType(" 7  F "), "7  F");
    EXPECT_EQ(GetKeySeq("2147483647 C"), 2147483647);
}

TEST(ItemKey, UnstoredEmptyAndMalformedKeysGiveNumberZero)
{
    EXPECT_EQ(GetKeySeq(""), 0);
    EXPECT_EQ(GetKeyType(""), "");
    EXPECT_EQ(GetKeySeq("0 W"), 0);
    EXPECT_EQ(GetKeySeq(" W"), 0);
    EXPECT_EQ(GetKeyType(" W"), "W");
    // Without a blank there is no number; the whole key is the type.
    EXPECT_EQ(GetKeySeq("123"), 0);
    EXPECT_EQ(GetKeyType("123"), "123");
    EXPECT_EQ(GetKeySeq("x1 W"), 0);
    EXPECT_EQ(GetKeySeq("2147483648 W"), 0);
}

TEST(ItemKey, KeyListsPutATabAfterEveryKey)
{
    const QStringList keys{makeKey(3, "W"), makeKey(0, "C"), "1 R"};
    EXPECT_EQ(joinKeyList(keys), "3 W\t0 C\t1 R\t");
    EXPECT_EQ(splitKeyList(joinKeyList(keys)), keys);
    EXPECT_TRUE(splitKeyList("").isEmpty());
}

TEST(TabToSpace, ReplacesEveryTabByOneBlank)
{
    EXPECT_EQ(TabToSpace("[Body]\t\tTZ-4\t'c"), "[Body]  TZ-4 'c");
    EXPECT_EQ(TabToSpace("plain"), "plain");
}
