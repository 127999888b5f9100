#include "data/SqlText.h"

#include <gtest/gtest.h>

TEST(SqlText, QuotesAndDoublesEmbeddedQuotes)
{
    EXPECT_EQ(tz4::sqlQuote(QStringLiteral("O'Brien's")), QStringLiteral("'O''Brien''s'"));
    EXPECT_EQ(tz4::sqlQuoteOrNull(QString()), QStringLiteral("NULL"));
    EXPECT_EQ(tz4::sqlQuoteOrNull(QStringLiteral("x")), QStringLiteral("'x'"));
}
