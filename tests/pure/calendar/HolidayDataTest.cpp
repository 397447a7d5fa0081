#include <gtest/gtest.h>

#include "calendar/HolidayData.h"

#include <cstdint>
#include <ctime>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Processor seconds this thread has used, which a busy machine does not stretch. Windows' clock() counts wall
// time, so there the thread's own times are read.
double ThreadCpuSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

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

TEST(HolidayData, AstralCharactersAreReadAndACutSequenceRefusesTheFile) {
    HolidayData data;
    const std::string file =
        "{\"solar_terms\":{\"year\":\"2026\",\"data\":[{\"date\":\"d\",\"name\":\"\xf0\x9f\x8c\x99";
    ASSERT_TRUE(ApplyHolidayFile(file + "\"}]}}", data));
    // One astral character: a surrogate pair where wchar_t has 16 bits.
    EXPECT_EQ(data.solarTerms[L"d"].size(), sizeof(wchar_t) == 2 ? 2u : 1u);
    EXPECT_FALSE(ApplyHolidayFile(file + "\xc3\"}]}}", data));
    EXPECT_FALSE(IsCompleteHolidayFile(file + "\xc3\"}]}}"));
}

// The reader takes exactly one object; the download check also wants the documented member types.
TEST(HolidayData, OnlyOneWholeObjectIsReadAndOnlyOneOfDocumentedTypesIsComplete) {
    const struct {
        std::string body;
        bool read, complete;
    } rows[] = {
        {" {}\n", true, true},
        {R"({"rest":[],"extra":1,"solar_terms":{"year":"2026","data":[{"date":"2026-2-4","name":"x"},{}]}})", true,
         true},
        {R"({"rest":["2026-1-2"]} <html>)", false, false},
        {R"({"rest":[]}{"work":[]})", false, false},
        {std::string("{\"rest\":[]}\0x", 13), false, false},
        {R"(["2026-1-2"])", false, false},
        {"7", false, false},
        {R"({"rest":"2026-1-1"})", true, false},
        {R"({"work":[5]})", true, false},
        {R"({"solar_terms":{"year":2026,"data":{}}})", true, false},
        {R"({"solar_terms":{"data":[7]}})", true, false},
        {R"({"solar_terms":{"data":[{"date":1,"name":null}]}})", true, false},
    };
    for (const auto& row : rows) {
        HolidayData data;
        data.rest[L"2026-1-1"] = 1;
        EXPECT_EQ(ApplyHolidayFile(row.body, data), row.read) << row.body;
        EXPECT_EQ(data.rest.size(), row.read ? 0u : 1u) << row.body;
        EXPECT_EQ(IsCompleteHolidayFile(row.body), row.complete) << row.body;
    }
}

// AddressSanitizer makes every allocation several times dearer; a walk from the head for every item would
// take minutes either way.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kSanitized = true;
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
    // What the UI thread does with the file, in processor time.
    HolidayData data;
    const double start = ThreadCpuSeconds();
    ASSERT_TRUE(ApplyHolidayFile(body, data));
    const double seconds = ThreadCpuSeconds() - start;
    EXPECT_EQ(data.rest.size(), 300u);
    EXPECT_EQ(data.solarTerms.size(), 84u);
    EXPECT_LT(seconds, kSanitized ? 3.0 : 1.0);
}

} // namespace
