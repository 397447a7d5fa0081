#include <gtest/gtest.h>

#include "app/CommandParser.h"

TEST(CommandParser, QuotesGroupEqualsSplitsOnceAndKeysMatchWholeAndCaseSensitively) {
    const struct {
        const wchar_t* line;
        const wchar_t* key;
        bool has;
        const wchar_t* value;
    } rows[] = {
        {L"\"C:\\Program Files\\Vexa\\deskling.exe\" /weather", L"C:\\Program Files\\Vexa\\deskling.exe", true, L""},
        {L"x.exe \"/weather = a=b \" /news", L"/weather", true, L"a=b"},
        {L"x.exe /news= \" /calendar \"", L"/news", true, L""},
        {L"x.exe /news= \" /calendar \"", L"/calendar", true, L""},
        {L"x.exe /WEATHER", L"/weather", false, L""},
        {L"x.exe /WEATHER", L"/WEATHER", true, L""},
        {L"x.exe /calendarx /new", L"/calendar", false, L""},
        {L"x.exe /calendarx /new", L"/news", false, L""},
        {L"x.exe /a=1 /a=2", L"/a", true, L"2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.line << " " << row.key);
        CCommandParser parser;
        ASSERT_TRUE(parser.Parse(row.line));
        EXPECT_EQ(parser.Has(row.key), row.has);
        EXPECT_EQ(parser.Value(row.key), row.value);
    }
}

TEST(CommandParser, ProgramPathCountsAsAnElementAndEachParseReplacesTheLast) {
    CCommandParser parser;
    ASSERT_TRUE(parser.Parse(L"\"C:\\a b\\deskling.exe\" /weather /a=1 /a=2"));
    EXPECT_EQ(parser.Switches().size(), 3u);
    ASSERT_TRUE(parser.Parse(L"x.exe /calendar"));
    EXPECT_FALSE(parser.Has(L"/weather"));
    EXPECT_FALSE(parser.Parse(L""));
    EXPECT_TRUE(parser.Switches().empty());
}
