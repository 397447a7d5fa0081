#include <gtest/gtest.h>

#include "calendar/HolidayData.h"

#include <ctime>
#include <string>

namespace {

TEST(HolidayData, MissingMembersAndWrongTypesReadAsEmpty) {
    HolidayData data;
    ASSERT_TRUE(ApplyHolidayFile(R"({"rest":["2026-1-1"],"work":["2026-2-14"],"extra":1})", data));
    EXPECT_EQ(data.work, (HolidayDaySet{{L"2026-2-14", 1}}));
    ASSERT_TRUE(ApplyHolidayFile(R"({"rest":[5,"2026-5-1"],"work":"2026-2-14",
        "solar_terms":{"year":2026,"data":[{"date":"2026-2-4"},{"name":"春分"},7,{"date":1,"name":"x"}]}})",
                                 data));
    // A non-string element becomes the empty key; a non-array list empties the set it replaces.
    EXPECT_EQ(data.rest, (HolidayDaySet{{L"", 1}, {L"2026-5-1", 1}}));
    EXPECT_TRUE(data.work.empty());
    EXPECT_EQ(data.solarTerms, (SolarTermMap{{L"2026-2-4", L""}, {L"", L"春分"}}));
    EXPECT_EQ(data.solarTermYear, L"");
    ASSERT_TRUE(ApplyHolidayFile("{}", data));
    EXPECT_TRUE(data.rest.empty());
    EXPECT_EQ(data.solarTerms.size(), 2u) << "terms are only ever added to";
}

TEST(HolidayData, DuplicateTermDatesKeepTheFirstName) {
    HolidayData data;
    ASSERT_TRUE(ApplyHolidayFile(R"({"solar_terms":{"year":"2026","data":[
        {"date":"2026-2-4","name":"立春"},{"date":"2026-2-4","name":"雨水"}]}})",
                                 data));
    ASSERT_TRUE(
        ApplyHolidayFile(R"({"solar_terms":{"year":"2026","data":[{"date":"2026-2-4","name":"惊蛰"}]}})", data));
    EXPECT_EQ(data.solarTerms, (SolarTermMap{{L"2026-2-4", L"立春"}}));
}

TEST(HolidayData, AnUnparsableFileChangesNothing) {
    HolidayData data;
    ASSERT_TRUE(ApplyHolidayFile(R"({"rest":["2026-1-1"],"solar_terms":{"year":"2026","data":[]}})", data));
    for (const char* bad : {"", "{\"rest\":[\"2026-1-2\"]", "<html>404</html>", "\xff\xfe"}) {
        EXPECT_FALSE(ApplyHolidayFile(bad, data)) << bad;
    }
    EXPECT_EQ(data.rest, (HolidayDaySet{{L"2026-1-1", 1}}));
    EXPECT_EQ(data.solarTermYear, L"2026");
}

TEST(HolidayData, AstralAndCutUtf8Characters) {
    HolidayData data;
    ASSERT_TRUE(ApplyHolidayFile(
        "{\"solar_terms\":{\"year\":\"2026\",\"data\":[{\"date\":\"d\",\"name\":\"\xf0\x9f\x8c\x99\xc3\"}]}}", data));
    const std::wstring name = data.solarTerms[L"d"];
    // One astral character (a surrogate pair where wchar_t has 16 bits), then the cut sequence's replacement.
    EXPECT_EQ(name.back(), L'\xFFFD');
    EXPECT_EQ(name.size(), sizeof(wchar_t) == 2 ? 3u : 2u);
}

} // namespace

namespace {

TEST(HolidayData, OnlyExactlyOneObjectIsRead) {
    HolidayData data;
    ASSERT_TRUE(ApplyHolidayFile(R"({"rest":["2026-1-1"]})", data));
    // Trailing garbage, a second value, an embedded NUL and roots that are not objects.
    const std::string bad[] = {R"({"rest":["2026-1-2"]} <html>)",
                               R"({"rest":[]}{"work":[]})",
                               std::string("{\"rest\":[]}\0x", 13),
                               R"(["2026-1-2"])",
                               "7",
                               "null"};
    for (const std::string& body : bad) {
        EXPECT_FALSE(ApplyHolidayFile(body, data)) << body;
        EXPECT_FALSE(IsCompleteHolidayFile(body)) << body;
    }
    EXPECT_EQ(data.rest, (HolidayDaySet{{L"2026-1-1", 1}}));
    EXPECT_TRUE(ApplyHolidayFile(" \r\n{}\n\t", data)) << "white space around the value is fine";
}

TEST(HolidayData, ADownloadIsCompleteOnlyWithTheDocumentedMemberTypes) {
    EXPECT_TRUE(IsCompleteHolidayFile("{}"));
    EXPECT_TRUE(IsCompleteHolidayFile(R"({"rest":["2026-1-1"],"work":[],"extra":{"x":[1]},
        "solar_terms":{"year":"2026","data":[{"date":"2026-2-4","name":"立春"},{}]}})"));
    for (const char* body :
         {R"({"rest":"2026-1-1"})", R"({"work":[5]})", R"({"solar_terms":[]})", R"({"solar_terms":{"year":2026}})",
          R"({"solar_terms":{"data":{}}})", R"({"solar_terms":{"data":[7]}})",
          R"({"solar_terms":{"data":[{"date":1}]}})", R"({"solar_terms":{"data":[{"name":null}]}})"}) {
        EXPECT_FALSE(IsCompleteHolidayFile(body)) << body;
    }
}

// AddressSanitizer makes every allocation several times dearer; a walk from the head for every item would
// take minutes either way.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

TEST(HolidayData, AFileAtTheReadLimitIsReadInWellUnderASecond) {
    std::string body = R"({"solar_terms":{"year":"2026","data":[)";
    for (int i = 0; i < 20000; ++i) {
        body +=
            R"({"date":"2026-)" + std::to_string(i % 12 + 1) + "-" + std::to_string(i % 28 + 1) + R"(","name":"t"},)";
    }
    body.back() = ']';
    body += R"(},"rest":[)";
    for (int i = 0; body.size() < 5000000; ++i) {
        body += "\"" + std::to_string(2000 + i % 100) + "-" + std::to_string(i % 12 + 1) + "-1\",";
    }
    body.back() = ']';
    body += "}";
    ASSERT_TRUE(IsCompleteHolidayFile(body));
    // What the UI thread does with the file, in processor time, which a busy machine does not stretch.
    HolidayData data;
    const std::clock_t start = std::clock();
    ASSERT_TRUE(ApplyHolidayFile(body, data));
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_EQ(data.rest.size(), 300u);
    EXPECT_EQ(data.solarTerms.size(), 84u);
    EXPECT_LT(seconds, kSanitized ? 3.0 : 1.0);
}

} // namespace
