#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "calendar/LunarCalendar.h"

namespace {

// Records blocks, moves every resized block (filled with garbage, so a stale pointer or a missing
// zero fill shows) and fails when told to.
struct CFakeEnv {
    static inline std::set<void*> live;
    static inline std::vector<size_t> resizes;
    static inline std::vector<std::string> reports;
    static inline bool failAlloc = false, failResize = false;

    static void* AllocZeroed(size_t size) { return failAlloc ? nullptr : *live.insert(std::calloc(1, size)).first; }
    static void* Resize(void* block, size_t size) {
        resizes.push_back(size);
        if (failResize) {
            return nullptr;
        }
        void* moved = *live.insert(std::malloc(size)).first;
        std::memset(moved, 0xA5, size);
        Free(block);
        return moved;
    }
    static void Free(void* block) {
        live.erase(block);
        std::free(block);
    }
    static void Report(const char* message) { reports.push_back(message); }
};

using FakeOps = CLunarCalendarOps<CFakeEnv>;

class LunarCalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        CFakeEnv::live.clear();
        CFakeEnv::resizes.clear();
        CFakeEnv::reports.clear();
        CFakeEnv::failAlloc = CFakeEnv::failResize = false;
    }
    void TearDown() override { EXPECT_TRUE(CFakeEnv::live.empty()) << "blocks leaked"; }
};

std::string Text(const char* text) {
    return text ? std::string(text) : std::string("<null>");
}

// A text of a date through the C library's allocator, for comparison. The texts themselves are checked
// through the exported functions.
std::string ReferenceText(PackedDate date, LunarTextOperation LunarCalendar::*op) {
    using CrtOps = CLunarCalendarOps<CCrtLunarEnv>;
    LunarCalendar* calendar = CrtOps::Create(date);
    const std::string text = Text((calendar->*op)(calendar));
    CrtOps::Release(calendar);
    return text;
}

TEST_F(LunarCalendarTest, LayoutAndCreateAreTheInterfaces) {
    constexpr size_t p = sizeof(void*);
    EXPECT_EQ(offsetof(LunarCalendar, festival), 4 * p);
    EXPECT_EQ(offsetof(LunarCalendar, info), 5 * p);
    EXPECT_EQ(offsetof(LunarCalendar, date), 5 * p + 8);
    EXPECT_EQ(offsetof(LunarCalendar, state), 5 * p + 12);
    EXPECT_EQ(offsetof(LunarCalendar, written), 5 * p + 16);
    EXPECT_EQ(offsetof(LunarCalendar, buffer) % p, 0u);

    // The month counts from 1; each field is masked to its width, so a year past 4095 wraps.
    std::tm time{};
    time.tm_year = 4096 + 124;
    time.tm_mon = 2;
    time.tm_mday = 10;
    time.tm_hour = 23;
    time.tm_min = 59;
    LunarCalendar* calendar = FakeOps::CreateFromTm(time);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->date, MakePackedDate(2024, 2, 10, 23));
    EXPECT_EQ(calendar->state, LunarCalendar::kNotComputed);
    EXPECT_EQ(calendar->buffer, nullptr);
    EXPECT_TRUE(CFakeEnv::resizes.empty()) << "nothing is computed before the first text call";
    FakeOps::Release(calendar);
}

TEST_F(LunarCalendarTest, EachTextGetsABufferOfExactlyItsSizeZeroFilled) {
    LunarCalendar* calendar = FakeOps::Create(MakePackedDate(2020, 10, 1));
    const LunarTextOperation ops[] = {calendar->lunarDate, calendar->eightWord, calendar->zodiac, calendar->solarTerm,
                                      calendar->festival};
    const size_t sizes[] = {11, 25, 3, 5, 12};
    for (int i = 0; i < 5; ++i) {
        const char* text = ops[i](calendar);
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(CFakeEnv::resizes.back(), sizes[i]);
        EXPECT_EQ(calendar->written, std::strlen(text));
        for (size_t k = std::strlen(text); k < sizes[i]; ++k) {
            EXPECT_EQ(text[k], '\0') << i << " byte " << k;
        }
    }
    // The longest forms fill their buffers but for the terminating zero: "国庆节 中秋", the eight characters.
    EXPECT_EQ(calendar->written, 11u);
    EXPECT_EQ(std::strlen(calendar->eightWord(calendar)), 24u);
    // A second text call is right although its buffer moved.
    EXPECT_EQ(Text(calendar->zodiac(calendar)), ReferenceText(MakePackedDate(2020, 10, 1), &LunarCalendar::zodiac));
    EXPECT_EQ(calendar->state, LunarCalendar::kComputed);
    FakeOps::Release(calendar);
}

TEST_F(LunarCalendarTest, AllocationFailuresGiveNullAndLeaveTheHandleUsable) {
    CFakeEnv::failAlloc = true;
    EXPECT_EQ(FakeOps::Create(MakePackedDate(2024, 2, 10)), nullptr);
    CFakeEnv::failAlloc = false;

    LunarCalendar* calendar = FakeOps::Create(MakePackedDate(2024, 2, 10));
    const std::string zodiac = Text(calendar->zodiac(calendar));
    CFakeEnv::failResize = true;
    EXPECT_EQ(calendar->lunarDate(calendar), nullptr);
    EXPECT_EQ(Text(calendar->buffer), zodiac);
    CFakeEnv::failResize = false;
    EXPECT_EQ(Text(calendar->lunarDate(calendar)),
              ReferenceText(MakePackedDate(2024, 2, 10), &LunarCalendar::lunarDate));
    FakeOps::Release(calendar);
    FakeOps::Release(nullptr);
}

// Years the engine does not know give null texts, and one report per handle however often it is asked.
TEST_F(LunarCalendarTest, UnknownYearsGiveNullTextsAndOneReportPerHandle) {
    for (int handle = 0; handle < 2; ++handle) {
        LunarCalendar* calendar = FakeOps::Create(MakePackedDate(2100, 5, 1, 8));
        for (int round = 0; round < 2; ++round) {
            for (LunarTextOperation op : {calendar->lunarDate, calendar->eightWord, calendar->zodiac,
                                          calendar->solarTerm, calendar->festival}) {
                EXPECT_EQ(op(calendar), nullptr);
            }
        }
        FakeOps::Release(calendar);
    }
    EXPECT_EQ(CFakeEnv::reports, std::vector<std::string>(2, "Unknown date 2100-05-01!\n"));
}

} // namespace
