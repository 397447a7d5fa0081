#include <gtest/gtest.h>
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "DesklingImage.h"
#include "app/ScopedHandle.h"
#include "calendar/LunarCalendarApi.h"
#include "pure/calendar/LunarEdgeCases.h"

namespace {

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

// Everything standard error receives meanwhile, through the C library's descriptor 2 that perror writes to.
class CStderrCapture {
public:
    CStderrCapture() {
        wchar_t dir[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, dir);
        m_path = std::wstring(dir) + L"deskling-lunar-stderr-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
        m_file = ::_wopen(m_path.c_str(), _O_CREAT | _O_TRUNC | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
        std::fflush(stderr);
        m_saved = ::_dup(2);
        ::_dup2(m_file, 2);
    }
    ~CStderrCapture() {
        Stop();
        ::_close(m_file);
        ::_wunlink(m_path.c_str());
    }
    CStderrCapture(const CStderrCapture&) = delete;
    CStderrCapture& operator=(const CStderrCapture&) = delete;

    std::string Stop() {
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::_dup2(m_saved, 2);
            ::_close(m_saved);
            m_saved = -1;
        }
        std::string text;
        ::_lseek(m_file, 0, SEEK_SET);
        char chunk[256];
        for (int n; (n = ::_read(m_file, chunk, sizeof(chunk))) > 0;) {
            text.append(chunk, n);
        }
        return text;
    }

private:
    std::wstring m_path;
    int m_file = -1;
    int m_saved = -1;
};

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// deskling.exe loaded the way another program loads it; under Wine its imports are unbound until the first call.
class LunarExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_module.Reset(::LoadLibraryW(DesklingExePath().c_str()));
        if (!s_module) {
            return;
        }
        s_unboundAtLoad = false;
        ForEachImportSlot(s_module.Get(), [](const ImportSlot& slot) {
            s_unboundAtLoad = s_unboundAtLoad || slot.value == slot.reference;
        });
        HMODULE m = s_module.Get();
        s_create = ProcAs<LCCreateLunarCalendarFn>(::GetProcAddress(m, "LCCreateLunarCalendar"));
        s_createWithTime =
            ProcAs<LCCreateLunarCalendarWithTimeFn>(::GetProcAddress(m, "LCCreateLunarCalendarWithTime"));
        s_lunarDate = ProcAs<LCTextFn>(::GetProcAddress(m, "LCLunarDate"));
        s_eightWord = ProcAs<LCTextFn>(::GetProcAddress(m, "LCEightWord"));
        s_zodiac = ProcAs<LCTextFn>(::GetProcAddress(m, "LCZodiac"));
        s_solarTerm = ProcAs<LCTextFn>(::GetProcAddress(m, "LCSolarTerm"));
        s_festival = ProcAs<LCTextFn>(::GetProcAddress(m, "LCFestival"));
        s_release = ProcAs<LCReleaseLunarCalendarFn>(::GetProcAddress(m, "LCReleaseLunarCalendar"));
    }
    static void TearDownTestSuite() { s_module.Reset(); }

    void SetUp() override {
        ASSERT_TRUE(s_module) << "cannot load deskling.exe: error " << ::GetLastError();
        ASSERT_TRUE(s_create && s_createWithTime && s_lunarDate && s_eightWord && s_zodiac && s_solarTerm &&
                    s_festival && s_release);
    }

    static inline CModule s_module;
    static inline bool s_unboundAtLoad = false;
    static inline LCCreateLunarCalendarFn s_create = nullptr;
    static inline LCCreateLunarCalendarWithTimeFn s_createWithTime = nullptr;
    static inline LCTextFn s_lunarDate = nullptr;
    static inline LCTextFn s_eightWord = nullptr;
    static inline LCTextFn s_zodiac = nullptr;
    static inline LCTextFn s_solarTerm = nullptr;
    static inline LCTextFn s_festival = nullptr;
    static inline LCReleaseLunarCalendarFn s_release = nullptr;
};

TEST_F(LunarExportsTest, ExportsAreTheExecutablesOwnAtABaseFreeOfTheHost) {
    HMODULE m = s_module.Get();
    for (const void* f : {reinterpret_cast<const void*>(s_create), reinterpret_cast<const void*>(s_createWithTime),
                          reinterpret_cast<const void*>(s_lunarDate), reinterpret_cast<const void*>(s_eightWord),
                          reinterpret_cast<const void*>(s_zodiac), reinterpret_cast<const void*>(s_solarTerm),
                          reinterpret_cast<const void*>(s_festival), reinterpret_cast<const void*>(s_release)}) {
        EXPECT_TRUE(IsInsideImage(m, f));
    }
    // Loaded at its own base: nothing would relocate it here.
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(m), static_cast<ULONG_PTR>(NtHeaders(m)->OptionalHeader.ImageBase));
    EXPECT_NE(NtHeaders(m)->OptionalHeader.ImageBase, NtHeaders(::GetModuleHandleW(nullptr))->OptionalHeader.ImageBase);
}

TEST_F(LunarExportsTest, EdgeCasesOfTheCalendar) {
    for (const LunarEdgeCase& c : kLunarEdgeCases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":00");
        LunarCalendar* calendar = s_createWithTime(TimeOf(c.year, c.month, c.day, c.hour));
        ASSERT_NE(calendar, nullptr);
        const struct {
            LCTextFn fn;
            const char* expected;
        } texts[] = {{s_lunarDate, c.lunarDate},
                     {s_eightWord, c.eightWord},
                     {s_zodiac, c.zodiac},
                     {s_solarTerm, c.solarTerm},
                     {s_festival, c.festival}};
        for (const auto& t : texts) {
            const std::string text = Text(t.fn(calendar));
            if (t.expected) {
                EXPECT_EQ(text, Gbk(t.expected)) << t.expected;
            }
        }
        s_release(calendar);
    }
}

TEST_F(LunarExportsTest, ImportsAreBoundOnFirstUse) {
    if (IsWine()) {
        EXPECT_TRUE(s_unboundAtLoad) << "Wine bound the imports itself: the binding is not exercised";
    }
    LunarCalendar* calendar = s_createWithTime(TimeOf(2024, 2, 10, 0));
    ASSERT_NE(calendar, nullptr);
    s_release(calendar);
    int slots = 0;
    ForEachImportSlot(s_module.Get(), [&](const ImportSlot& slot) {
        ++slots;
        EXPECT_EQ(slot.value, ExpectedImport(slot)) << slot.library << "!" << slot.name;
    });
    EXPECT_GT(slots, 0);
}

TEST_F(LunarExportsTest, YearsOutsideTheRangeGiveNullAndOneReportPerHandle) {
    for (const int year : {1901, 2100}) {
        SCOPED_TRACE(year);
        CStderrCapture capture;
        LunarCalendar* calendar = s_createWithTime(TimeOf(year, 5, 1, 8));
        ASSERT_NE(calendar, nullptr);
        for (int round = 0; round < 2; ++round) {
            for (LCTextFn fn : {s_lunarDate, s_eightWord, s_zodiac, s_solarTerm, s_festival}) {
                EXPECT_EQ(fn(calendar), nullptr);
            }
        }
        s_release(calendar);
        const std::string report = "Unknown date " + std::to_string(year) + "-05-01!\n";
        EXPECT_EQ(Occurrences(capture.Stop(), report), 1);
    }
    CStderrCapture capture;
    LunarCalendar* first = s_createWithTime(TimeOf(1901, 12, 31, 0));
    LunarCalendar* second = s_createWithTime(TimeOf(1901, 12, 31, 0));
    EXPECT_EQ(s_zodiac(first), nullptr);
    EXPECT_EQ(s_zodiac(second), nullptr);
    EXPECT_EQ(s_festival(second), nullptr);
    s_release(first);
    s_release(second);
    EXPECT_EQ(Occurrences(capture.Stop(), "Unknown date 1901-12-31!\n"), 2);
}

TEST_F(LunarExportsTest, ASecondTextCallIsRightThoughTheBufferMayMove) {
    LunarCalendar* calendar = s_createWithTime(TimeOf(2020, 10, 1, 12));
    const std::string zodiac = Text(s_zodiac(calendar));
    const std::string eightWord = Text(s_eightWord(calendar));
    const std::string festival = Text(s_festival(calendar));
    EXPECT_EQ(zodiac, Gbk("鼠"));
    EXPECT_EQ(eightWord, Gbk("庚子年乙酉月丁丑日丙午时"));
    EXPECT_EQ(festival, Gbk("国庆节 中秋"));
    EXPECT_EQ(Text(s_zodiac(calendar)), zodiac);
    s_release(calendar);
}

TEST_F(LunarExportsTest, CurrentDateHandleIsTheLocalDateAndHour) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::time_t now = std::time(nullptr);
        std::tm local = *std::localtime(&now);
        LunarCalendar* current = s_create();
        LunarCalendar* expected =
            s_createWithTime(TimeOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour));
        ASSERT_NE(current, nullptr);
        const std::string currentText = Text(s_eightWord(current)) + Text(s_lunarDate(current));
        const std::string expectedText = Text(s_eightWord(expected)) + Text(s_lunarDate(expected));
        s_release(current);
        s_release(expected);
        const std::time_t after = std::time(nullptr);
        if (std::localtime(&after)->tm_hour != local.tm_hour) {
            continue; // the hour turned meanwhile
        }
        EXPECT_EQ(currentText, expectedText);
        return;
    }
}

TEST_F(LunarExportsTest, NullHandleIsRefused) {
    for (LCTextFn fn : {s_lunarDate, s_eightWord, s_zodiac, s_solarTerm, s_festival}) {
        EXPECT_EQ(fn(nullptr), nullptr);
    }
    s_release(nullptr);
}

// The same functions linked into this program: in-process use, with the imports the system bound.
TEST_F(LunarExportsTest, InProcessCallsGiveTheSameTexts) {
    for (const LunarEdgeCase& c : kLunarEdgeCases) {
        const std::tm time = TimeOf(c.year, c.month, c.day, c.hour);
        LunarCalendar* loaded = s_createWithTime(time);
        LunarCalendar* linked = LCCreateLunarCalendarWithTime(time);
        ASSERT_NE(linked, nullptr);
        EXPECT_EQ(Text(LCLunarDate(linked)), Text(s_lunarDate(loaded)));
        EXPECT_EQ(Text(LCEightWord(linked)), Text(s_eightWord(loaded)));
        EXPECT_EQ(Text(LCZodiac(linked)), Text(s_zodiac(loaded)));
        EXPECT_EQ(Text(LCSolarTerm(linked)), Text(s_solarTerm(loaded)));
        EXPECT_EQ(Text(LCFestival(linked)), Text(s_festival(loaded)));
        LCReleaseLunarCalendar(linked);
        s_release(loaded);
    }
}

} // namespace
