#include <gtest/gtest.h>

#include <string>

#include "news/NewsParse.h"

namespace {

bool Parse(const std::string& body, std::vector<NewsItem>& items) {
    return ParseNews({kHttpTaskFinished, 200, body}, items);
}

TEST(NewsParse, FirstThreeEntriesCountWhateverTheirType) {
    std::vector<NewsItem> items;
    ASSERT_TRUE(Parse(R"({"errno":0,"data":[{"src":"p","url":"u","title":"一"},7,{"title":3},{"src":"q"}]})", items));
    EXPECT_EQ(items, (std::vector<NewsItem>{{L"p", L"u", L"一", L""}, {L"", L"", L"", L""}}));
    EXPECT_TRUE(items[0].NeedsPicture());
    EXPECT_FALSE(items[1].NeedsPicture()) << "no picture address, nothing to download";
    ASSERT_TRUE(Parse(R"({"data":[{"src":"a"},{},{},{},{}]})", items)) << "a missing errno reads as 0";
    EXPECT_EQ(items.size(), 3u);
}

TEST(NewsParse, ErrorAnswersChangeNothing) {
    const std::string good = R"({"errno":0,"data":[{"src":"p","url":"u","title":"t"}]})";
    std::vector<NewsItem> items;
    ASSERT_TRUE(Parse(good, items));
    const std::vector<NewsItem> before = items;
    for (const char* body :
         {R"({"errno":1,"data":[{"src":"q"}]})", R"({"errno":"0","data":[]})", R"({"errno":0.5,"data":[]})",
          R"({"errno":0})", R"({"errno":0,"data":{}})", R"({"error":"not found"})", R"([{"src":"q"}])"}) {
        EXPECT_FALSE(Parse(body, items)) << body;
    }
    EXPECT_EQ(items, before);
}

} // namespace
