#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "GbkText.h"
#include "LunarEdgeCases.h"
#include "calendar/LunarCalendar.h"
#include "calendar/LunarGlyphTable.h"

namespace {

// An environment that records what the handle does with memory and reports, moves every resized block and can be
// told to fail.
struct CFakeEnv {
    static inline std::set<void*> live;
    static inline std::vector<size_t> resizes;
    static inline std::vector<std::string> reports;
    static inline bool failAlloc = false;
    static inline bool failResize = false;

    static void Reset() {
        live.clear();
        resizes.clear();
        reports.clear();
        failAlloc = failResize = false;
    }
    static void* AllocZeroed(size_t size) {
        if (failAlloc) {
            return nullptr;
        }
        void* block = std::calloc(1, size);
        live.insert(block);
        return block;
    }
    // Always a new block, filled with garbage, so that a stale pointer or a missing zero fill shows.
    static void* Resize(void* block, size_t size) {
        resizes.push_back(size);
        if (failResize) {
            return nullptr;
        }
        void* moved = std::malloc(size);
        std::memset(moved, 0xA5, size);
        live.insert(moved);
        Free(block);
        return moved;
    }
    static void Free(void* block) {
        if (block) {
            live.erase(block);
            std::free(block);
        }
    }
    static void Report(const char* message) { reports.emplace_back(message); }
};

using FakeOps = CLunarCalendarOps<CFakeEnv>;
using CrtOps = CLunarCalendarOps<CCrtLunarEnv>;

class LunarCalendarTest : public ::testing::Test {
protected:
    void SetUp() override { CFakeEnv::Reset(); }
    void TearDown() override { EXPECT_TRUE(CFakeEnv::live.empty()) << "blocks leaked"; }
};

std::string Text(const char* text) {
    return text ? std::string(text) : std::string("<null>");
}

TEST_F(LunarCalendarTest, ObjectLayoutIsTheInterfaceLayout) {
    constexpr size_t p = sizeof(void*);
    EXPECT_EQ(offsetof(LunarCalendar, lunarDate), 0 * p);
    EXPECT_EQ(offsetof(LunarCalendar, eightWord), 1 * p);
    EXPECT_EQ(offsetof(LunarCalendar, zodiac), 2 * p);
    EXPECT_EQ(offsetof(LunarCalendar, solarTerm), 3 * p);
    EXPECT_EQ(offsetof(LunarCalendar, festival), 4 * p);
    EXPECT_EQ(offsetof(LunarCalendar, info), 5 * p);
    EXPECT_EQ(offsetof(LunarCalendar, date), 5 * p + 8);
    EXPECT_EQ(offsetof(LunarCalendar, state), 5 * p + 12);
    EXPECT_EQ(offsetof(LunarCalendar, written), 5 * p + 16);
    EXPECT_EQ(offsetof(LunarCalendar, buffer) % p, 0u);
}

TEST_F(LunarCalendarTest, CreateStoresTheDateAndComputesNothingYet) {
    std::tm time{};
    time.tm_year = 124;
    time.tm_mon = 2; // counted from 1: February
    time.tm_mday = 10;
    time.tm_hour = 23;
    time.tm_min = 59;
    LunarCalendar* calendar = FakeOps::CreateFromTm(time);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->date, MakePackedDate(2024, 2, 10, 23));
    EXPECT_EQ(calendar->state, LunarCalendar::kNotComputed);
    EXPECT_EQ(calendar->buffer, nullptr);
    EXPECT_EQ(calendar->info.a, 0u);
    EXPECT_NE(calendar->lunarDate, nullptr);
    EXPECT_NE(calendar->festival, nullptr);
    EXPECT_TRUE(CFakeEnv::resizes.empty());
    FakeOps::Release(calendar);

    // Each field is masked to its width: a year past 4095 wraps rather than spilling into the month.
    time.tm_year = 4096 + 124;
    calendar = FakeOps::CreateFromTm(time);
    EXPECT_EQ(calendar->date, MakePackedDate(2024, 2, 10, 23));
    FakeOps::Release(calendar);
}

TEST_F(LunarCalendarTest, EdgeCasesOfTheCalendar) {
    for (const LunarEdgeCase& c : kLunarEdgeCases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":00");
        LunarCalendar* calendar = CrtOps::Create(MakePackedDate(c.year, c.month, c.day, c.hour));
        ASSERT_NE(calendar, nullptr);
        const struct {
            LunarTextOperation op;
            const char* expected;
        } texts[] = {{calendar->lunarDate, c.lunarDate},
                     {calendar->eightWord, c.eightWord},
                     {calendar->zodiac, c.zodiac},
                     {calendar->solarTerm, c.solarTerm},
                     {calendar->festival, c.festival}};
        for (const auto& t : texts) {
            const std::string text = Text(t.op(calendar));
            if (t.expected) {
                EXPECT_EQ(text, Gbk(t.expected)) << t.expected;
            }
        }
        CrtOps::Release(calendar);
    }
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
    // The longest forms fill their buffers but for the terminating zero.
    EXPECT_EQ(calendar->written, 11u); // 国庆节 中秋
    EXPECT_EQ(std::strlen(calendar->eightWord(calendar)), 24u);
    FakeOps::Release(calendar);

    calendar = FakeOps::Create(MakePackedDate(2023, 3, 22));
    EXPECT_EQ(std::strlen(calendar->lunarDate(calendar)), 10u); // 闰二月初一
    FakeOps::Release(calendar);
}

TEST_F(LunarCalendarTest, ASecondTextCallIsRightAfterTheBufferMoved) {
    LunarCalendar* calendar = FakeOps::Create(MakePackedDate(2024, 2, 10));
    const char* first = calendar->lunarDate(calendar);
    const std::string firstText = Text(first);
    const char* second = calendar->eightWord(calendar);
    EXPECT_NE(first, second);
    EXPECT_EQ(firstText, Gbk("正月初一"));
    EXPECT_EQ(Text(second), Gbk("甲辰年丙寅月甲辰日甲子时"));
    EXPECT_EQ(Text(calendar->lunarDate(calendar)), Gbk("正月初一"));
    EXPECT_EQ(calendar->state, LunarCalendar::kComputed);
    FakeOps::Release(calendar);
}

TEST_F(LunarCalendarTest, YearsOutsideTheRangeGiveNullAndOneReportPerHandle) {
    for (const int year : {1901, 2100}) {
        CFakeEnv::reports.clear();
        LunarCalendar* calendar = FakeOps::Create(MakePackedDate(year, 3, 7, 12));
        for (int round = 0; round < 2; ++round) {
            EXPECT_EQ(calendar->lunarDate(calendar), nullptr);
            EXPECT_EQ(calendar->eightWord(calendar), nullptr);
            EXPECT_EQ(calendar->zodiac(calendar), nullptr);
            EXPECT_EQ(calendar->solarTerm(calendar), nullptr);
            EXPECT_EQ(calendar->festival(calendar), nullptr);
        }
        EXPECT_EQ(calendar->state, LunarCalendar::kRejected);
        ASSERT_EQ(CFakeEnv::reports.size(), 1u);
        EXPECT_EQ(CFakeEnv::reports[0], "Unknown date " + std::to_string(year) + "-03-07!\n");
        EXPECT_EQ(calendar->buffer, nullptr);
        FakeOps::Release(calendar);
    }
    // A second handle for the same date reports again.
    LunarCalendar* calendar = FakeOps::Create(MakePackedDate(1901, 12, 31));
    EXPECT_EQ(calendar->zodiac(calendar), nullptr);
    EXPECT_EQ(CFakeEnv::reports.size(), 2u);
    EXPECT_EQ(CFakeEnv::reports[1], "Unknown date 1901-12-31!\n");
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
    EXPECT_EQ(Text(calendar->lunarDate(calendar)), Gbk("正月初一"));
    FakeOps::Release(calendar);

    FakeOps::Release(nullptr);
}

TEST_F(LunarCalendarTest, GlyphTableHoldsTheSectionsInOrder) {
    struct Section {
        int first;
        int width;
        const char* names;
    };
    const Section sections[] = {
        {kMonthGlyphs, 1, "正二三四五六七八九十冬腊"},
        {kDayGlyphs, 2,
         "初一初二初三初四初五初六初七初八初九初十十一十二十三十四十五十六十七十八十九二十"
         "廿一廿二廿三廿四廿五廿六廿七廿八廿九三十"},
        {kSolarTermGlyphs, 2,
         "小寒大寒立春雨水惊蛰春分清明谷雨立夏小满芒种夏至小暑大暑立秋处暑白露秋分寒露霜降立冬小雪大雪冬至"},
        {kGregorianFestivalGlyphs, 2, "元旦妇女植树劳动青年儿童建党建军教师国庆"},
        {kLunarFestivalGlyphs, 2, "春节元宵清明端午七夕中元中秋重阳腊八除夕"},
        {kStemGlyphs, 1, "甲乙丙丁戊己庚辛壬癸"},
        {kBranchGlyphs, 1, "子丑寅卯辰巳午未申酉戌亥"},
        {kZodiacGlyphs, 1, "鼠牛虎兔龙蛇马羊猴鸡狗猪"},
        {kMarkGlyphs, 1, "闰年月日时节"},
    };
    std::string table;
    for (const auto& glyph : LunarGlyphTable) {
        table += static_cast<char>(glyph[0]);
        table += static_cast<char>(glyph[1]);
    }
    std::string expected;
    for (const Section& section : sections) {
        EXPECT_EQ(static_cast<int>(expected.size()) / 2, section.first);
        expected += Gbk(section.names);
    }
    EXPECT_EQ(table, expected);
    EXPECT_EQ(expected.find('?'), std::string::npos);
}

} // namespace
