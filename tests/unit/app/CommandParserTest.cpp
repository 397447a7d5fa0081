#include <gtest/gtest.h>

#include "app/CommandParser.h"

TEST(CommandParser, ProgramPathCountsAsAnElementAndQuotesGroup) {
    CCommandParser parser;
    ASSERT_TRUE(parser.Parse(L"\"C:\\Program Files\\Vexa\\deskling.exe\" /weather /calendar"));
    EXPECT_TRUE(parser.Has(L"C:\\Program Files\\Vexa\\deskling.exe"));
    EXPECT_TRUE(parser.Has(L"/weather"));
    EXPECT_TRUE(parser.Has(L"/calendar"));
    EXPECT_EQ(parser.Switches().size(), 3u);
}

TEST(CommandParser, SplitsAtTheFirstEqualsAndTrims) {
    CCommandParser parser;
    ASSERT_TRUE(parser.Parse(L"x.exe \"/weather = a=b \" /news= \" /calendar \""));
    EXPECT_TRUE(parser.Has(L"/weather"));
    EXPECT_EQ(parser.Value(L"/weather"), L"a=b");
    EXPECT_TRUE(parser.Has(L"/news"));
    EXPECT_EQ(parser.Value(L"/news"), L"");
    EXPECT_TRUE(parser.Has(L"/calendar"));
}

TEST(CommandParser, KeysMatchWholeAndCaseSensitively) {
    CCommandParser parser;
    ASSERT_TRUE(parser.Parse(L"x.exe /WEATHER /calendarx /new"));
    EXPECT_FALSE(parser.Has(L"/weather"));
    EXPECT_FALSE(parser.Has(L"/calendar"));
    EXPECT_FALSE(parser.Has(L"/news"));
    EXPECT_TRUE(parser.Has(L"/WEATHER"));
}

TEST(CommandParser, LaterKeyReplacesEarlierValue) {
    CCommandParser parser;
    ASSERT_TRUE(parser.Parse(L"x.exe /a=1 /a=2"));
    EXPECT_EQ(parser.Value(L"/a"), L"2");
    EXPECT_EQ(parser.Switches().size(), 2u);
}

TEST(CommandParser, EmptyTextClearsEverything) {
    CCommandParser parser;
    ASSERT_TRUE(parser.Parse(L"x.exe /weather"));
    EXPECT_FALSE(parser.Parse(L""));
    EXPECT_FALSE(parser.Has(L"/weather"));
    EXPECT_TRUE(parser.Text().empty());
    EXPECT_TRUE(parser.Switches().empty());
}
