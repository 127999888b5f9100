#include "instrument/ReplyAssembler.h"

#include <gtest/gtest.h>

using tz4::ReplyAssembler;

TEST(ReplyAssembler, AReplySplitAtEveryByteCompletesOnlyAtItsCarriageReturn)
{
    ReplyAssembler replies;
    replies.expect();
    const QByteArray bytes = "12.5 \xb5\r";
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        EXPECT_FALSE(replies.add(bytes.mid(i, 1)));
        EXPECT_FALSE(replies.complete());
        EXPECT_TRUE(replies.reply().isEmpty());
    }
    EXPECT_TRUE(replies.add("\r"));
    EXPECT_TRUE(replies.complete());
    // Bytes beyond ASCII arrive as they are, so that the link can refuse them as noise.
    EXPECT_EQ(replies.reply(), QStringLiteral("12.5 \u00b5"));
}

TEST(ReplyAssembler, MergedRepliesAreHandedOutOneAtATimeInArrivalOrder)
{
    ReplyAssembler replies;
    replies.expect();
    EXPECT_TRUE(replies.add("1\r2\r3"));
    EXPECT_EQ(replies.reply(), "1");

    replies.expect();
    EXPECT_FALSE(replies.complete());
    EXPECT_TRUE(replies.reply().isEmpty());
    EXPECT_TRUE(replies.add("4\r"));
    EXPECT_EQ(replies.reply(), "2");

    replies.expect();
    EXPECT_TRUE(replies.add("\r"));
    EXPECT_EQ(replies.reply(), "34");

    // A bare carriage return is a complete, empty reply.
    replies.expect();
    EXPECT_TRUE(replies.add(""));
    EXPECT_TRUE(replies.complete());
    EXPECT_EQ(replies.reply(), "");
}

TEST(ReplyAssembler, OpeningThePortForgetsInputNotYetAssembled)
{
    ReplyAssembler kept;
    kept.expect();
    EXPECT_FALSE(kept.add("noise"));
    kept.expect();
    EXPECT_TRUE(kept.add("9\r"));
    EXPECT_EQ(kept.reply(), "noise9");

    ReplyAssembler reopened;
    reopened.expect();
    EXPECT_FALSE(reopened.add("noise"));
    reopened.reset();
    reopened.expect();
    EXPECT_TRUE(reopened.add("9\r"));
    EXPECT_EQ(reopened.reply(), "9");
}
