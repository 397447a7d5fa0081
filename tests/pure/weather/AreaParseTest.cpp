#include <gtest/gtest.h>

#include <string>

#include "weather/AreaParse.h"

namespace {

bool Parse(const std::string& body, AreaLevel level, AreaEntryList& out) {
    return ParseAreaList({kHttpTaskFinished, 200, body}, level, out);
}

TEST(AreaParse, ProvinceNamesLoseOneKindOfWord) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"广西壮族自治区", L"广西壮族"}, {L"北京市", L"北京"},   {L"广东省", L"广东"},  {L"台湾", L"台湾"},
        {L"甲自治区乙市", L"甲乙市"},     {L"省市省市", L"省省"}, {L"自治区自治区", L""}};
    for (const auto& [name, shown] : cases) {
        EXPECT_EQ(NormaliseProvinceName(name), shown) << name;
    }
}

TEST(AreaParse, OnlyProvincesAreSkipped) {
    const std::string body = R"([["PROVCN","1"],["甲省","EA"],["","2"],["乙省",""],["市","3"],["丙省","4"],[5,"6"]])";
    AreaEntryList provinces;
    ASSERT_TRUE(Parse(body, AreaLevel::Province, provinces));
    EXPECT_EQ(provinces, (AreaEntryList{{L"丙", L"4"}}));
    AreaEntryList towns;
    ASSERT_TRUE(Parse(body, AreaLevel::Town, towns));
    EXPECT_EQ(towns, (AreaEntryList{{L"PROVCN", L"1"},
                                    {L"甲省", L"EA"},
                                    {L"", L"2"},
                                    {L"乙省", L""},
                                    {L"市", L"3"},
                                    {L"丙省", L"4"},
                                    {L"", L"6"}}));
}

TEST(AreaParse, EmptyListIsAnAnswerAndErrorsChangeNothing) {
    AreaEntryList cities{{L"广州市", L"4401"}};
    for (const char* body : {R"({"error":"unknown grade"})", R"([["a","1"],{"b":"2"}])", R"([["a","1"],"b"])"}) {
        EXPECT_FALSE(Parse(body, AreaLevel::City, cities)) << body;
    }
    EXPECT_EQ(cities, (AreaEntryList{{L"广州市", L"4401"}}));
    ASSERT_TRUE(Parse(" [ ] ", AreaLevel::City, cities));
    EXPECT_TRUE(cities.empty());
}

} // namespace
