#include <gtest/gtest.h>

#include "calendar/HolidayData.h"

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
