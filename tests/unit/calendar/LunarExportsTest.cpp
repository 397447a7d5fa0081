#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ctime>
#include <string>

#include "DesklingImage.h"
#include "app/base/ScopedHandle.h"
#include "calendar/LunarCalendarApi.h"

namespace {

// Dates whose texts are known from the Chinese calendar. Texts are UTF-8; null means not checked for that date.
struct LunarEdgeCase {
    int year, month, day, hour;
    const char* texts[5]; // lunar date, eight characters, zodiac, solar term, festival
};

// The engine is checked day by day natively; here every kind of text through the exports, in GBK.
constexpr LunarEdgeCase kLunarEdgeCases[] = {
    {2024, 2, 10, 0, {"正月初一", "甲辰年丙寅月甲辰日甲子时", "龙", "", "春节"}},
    {2024, 2, 9, 0, {"腊月三十", "甲辰年丙寅月癸卯日壬子时", "龙", "", "除夕"}},
    {2024, 2, 4, 0, {"腊月廿五", "甲辰年丙寅月戊戌日壬子时", "龙", "立春", ""}},
    {2024, 1, 20, 23, {"腊月初十", "癸卯年乙丑月癸未日壬子时", "兔", nullptr, ""}},
    // Leap months, and a leap month's day keeps the month's festival.
    {2023, 3, 22, 0, {"闰二月初一", nullptr, "兔", nullptr, ""}},
    {2009, 6, 27, 0, {"闰五月初五", nullptr, "牛", nullptr, "端午"}},
    {2034, 1, 1, 0, {"闰冬月十一", nullptr, "牛", nullptr, "元旦节"}},
    // Festivals: both kinds on one day, lunar ones without the festival mark, the lunar Clear-and-Bright entry
    // that never matches.
    {2020, 10, 1, 0, {nullptr, nullptr, "鼠", nullptr, "国庆节 中秋"}},
    {2024, 4, 4, 0, {"二月廿六", nullptr, "龙", "清明", ""}},
    {2099, 12, 31, 0, {"冬月二十", nullptr, "羊", nullptr, ""}},
};

// GBK bytes of a UTF-8 text, through the system's code page 936 rather than the engine's own table.
std::string Gbk(const char* utf8) {
    wchar_t wide[64] = {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 64);
    char bytes[128] = {};
    ::WideCharToMultiByte(936, 0, wide, n, bytes, sizeof(bytes), nullptr, nullptr);
    return bytes;
}

std::string Text(const char* text) {
    return text ? std::string(text) : std::string("<null>");
}

std::tm TimeOf(int year, int month, int day, int hour) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month; // the interface counts months from 1
    time.tm_mday = day;
    time.tm_hour = hour;
    return time;
}

// deskling.exe loaded the way another program loads it; under Wine its imports are unbound until the first call.
class LunarExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_module.Reset(::LoadLibraryW(ShippedPath(L"deskling.exe").c_str()));
        if (!s_module) {
            return;
        }
        ForEachImportSlot(s_module.Get(),
                          [](const ImportSlot& slot) { s_unboundAtLoad |= slot.value == slot.reference; });
        auto proc = [](const char* name) { return ::GetProcAddress(s_module.Get(), name); };
        s_create = ProcAs<LCCreateLunarCalendarFn>(proc("LCCreateLunarCalendar"));
        s_createWithTime = ProcAs<LCCreateLunarCalendarWithTimeFn>(proc("LCCreateLunarCalendarWithTime"));
        const char* names[] = {"LCLunarDate", "LCEightWord", "LCZodiac", "LCSolarTerm", "LCFestival"};
        for (int i = 0; i < 5; ++i) {
            s_texts[i] = ProcAs<LCTextFn>(proc(names[i]));
        }
        s_release = ProcAs<LCReleaseLunarCalendarFn>(proc("LCReleaseLunarCalendar"));
    }
    static void TearDownTestSuite() { s_module.Reset(); }

    void SetUp() override {
        ASSERT_TRUE(s_module) << "cannot load deskling.exe: error " << ::GetLastError();
        ASSERT_TRUE(s_create && s_createWithTime && s_release &&
                    std::all_of(s_texts, s_texts + 5, [](LCTextFn fn) { return fn != nullptr; }));
    }

    static inline CModule s_module;
    static inline bool s_unboundAtLoad = false;
    static inline LCCreateLunarCalendarFn s_create = nullptr;
    static inline LCCreateLunarCalendarWithTimeFn s_createWithTime = nullptr;
    static inline LCTextFn s_texts[5] = {};
    static inline LCReleaseLunarCalendarFn s_release = nullptr;
};

TEST_F(LunarExportsTest, ImportsAreBoundOnFirstUseAtABaseFreeOfTheHost) {
    HMODULE m = s_module.Get();
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(m), static_cast<ULONG_PTR>(NtHeaders(m)->OptionalHeader.ImageBase));
    EXPECT_NE(NtHeaders(m)->OptionalHeader.ImageBase, NtHeaders(::GetModuleHandleW(nullptr))->OptionalHeader.ImageBase);
    if (IsWine()) {
        EXPECT_TRUE(s_unboundAtLoad) << "Wine bound the imports itself: the binding is not exercised";
    }
    s_release(s_createWithTime(TimeOf(2024, 2, 10, 0)));
    int slots = 0;
    ForEachImportSlot(m, [&](const ImportSlot& slot) {
        ++slots;
        EXPECT_EQ(slot.value, ExpectedImport(slot)) << slot.library << "!" << slot.name;
    });
    EXPECT_GT(slots, 0);
}

TEST_F(LunarExportsTest, EdgeCasesOfTheCalendar) {
    for (const LunarEdgeCase& c : kLunarEdgeCases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":00");
        LunarCalendar* calendar = s_createWithTime(TimeOf(c.year, c.month, c.day, c.hour));
        ASSERT_NE(calendar, nullptr);
        for (int i = 0; i < 5; ++i) {
            const std::string text = Text(s_texts[i](calendar));
            if (c.texts[i]) {
                EXPECT_EQ(text, Gbk(c.texts[i])) << c.texts[i];
            }
        }
        s_release(calendar);
    }
}

// How often an unknown date is reported is checked natively.
TEST_F(LunarExportsTest, UnknownYearsAndNullHandlesGiveNull) {
    LunarCalendar* calendar = s_createWithTime(TimeOf(1901, 5, 1, 8));
    ASSERT_NE(calendar, nullptr);
    for (LCTextFn fn : s_texts) {
        EXPECT_EQ(fn(calendar), nullptr);
        EXPECT_EQ(fn(nullptr), nullptr);
    }
    s_release(calendar);
    s_release(nullptr);
}

TEST_F(LunarExportsTest, CurrentDateHandleIsTheLocalDateAndHour) {
    std::string current, expected;
    for (int attempt = 0; attempt < 2 && (current.empty() || current != expected); ++attempt) {
        const std::time_t now = std::time(nullptr);
        const std::tm local = *std::localtime(&now);
        LunarCalendar* calendar = s_create();
        ASSERT_NE(calendar, nullptr);
        current = Text(s_texts[1](calendar)); // the eight characters end with the hour's pillar
        s_release(calendar);
        calendar = s_createWithTime(TimeOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour));
        expected = Text(s_texts[1](calendar));
        s_release(calendar);
    }
    EXPECT_EQ(current, expected) << "twice, though the hour turns only once in a while";
}

} // namespace
