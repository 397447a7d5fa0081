#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <iterator>
#include <string>
#include <utility>

#include "app/IniSettings.h"
#include "app/base/ScopedHandle.h"
#include "unit/app/ScratchFolder.h"

namespace {

// Settings over a scratch ini file and a scratch registry key, never the user's own.
class IniSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.IsCreated()); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, m_regRoot.c_str()); }

    std::wstring IniPath() const { return m_folder / L"deskling.ini"; }
    CIniSettings Settings() const { return CIniSettings(IniPath(), HKEY_CURRENT_USER, m_regKey); }

    // The wallpaper application's key, as that application would have created it.
    CRegKey CreateWallpaperKey() {
        CRegKey key;
        EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_regKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    key.Receive(), nullptr),
                  ERROR_SUCCESS);
        return key;
    }

    std::wstring RawValue(const wchar_t* section, const wchar_t* key) const {
        wchar_t text[2048] = {};
        DWORD n = ::GetPrivateProfileStringW(section, key, L"<absent>", text, 2048, IniPath().c_str());
        return std::wstring(text, n);
    }

    CScratchFolder m_folder{L"settings"};
    const std::wstring m_regRoot = L"Software\\deskling-settings-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring m_regKey = m_regRoot + L"\\VexaWallPaper";
};

using S = CIniSettings;

// Every writable integer key with its section, key name, default and a value of its range other than the
// default, as the settings file defines them.
const struct IntKey {
    const wchar_t* section;
    const wchar_t* key;
    int defaultValue;
    int sample;
    int (S::*get)() const;
    void (S::*set)(int);
} kIntKeys[] = {
    {L"calendar", L"alpha", 40, 100, &S::GetCalendarAlpha, &S::SetCalendarAlpha},
    {L"calendar", L"XPos", -1, -1000, &S::GetCalendarXPos, &S::SetCalendarXPos},
    {L"calendar", L"YPos", -1, 999, &S::GetCalendarYPos, &S::SetCalendarYPos},
    {L"weather", L"alpha", 40, 0, &S::GetWeatherAlpha, &S::SetWeatherAlpha},
    {L"weather", L"XPos", -1, -997, &S::GetWeatherXPos, &S::SetWeatherXPos},
    {L"weather", L"YPos", -1, 996, &S::GetWeatherYPos, &S::SetWeatherYPos},
    {L"weather", L"future", 0, 1, &S::GetWeatherFuture, &S::SetWeatherFuture},
    {L"news", L"lock", 0, 1, &S::GetNewsLock, &S::SetNewsLock},
    {L"news", L"XPos", -1, 992, &S::GetNewsXPos, &S::SetNewsXPos},
    {L"news", L"YPos", -1, -991, &S::GetNewsYPos, &S::SetNewsYPos},
    {L"tempmonitor", L"XPos", -1, 990, &S::GetTempMonitorXPos, &S::SetTempMonitorXPos},
    {L"tempmonitor", L"YPos", -1, -989, &S::GetTempMonitorYPos, &S::SetTempMonitorYPos},
    {L"tempmonitor", L"temp1", 0, 1001, &S::GetTempMonitorTemp1, &S::SetTempMonitorTemp1},
    {L"tempmonitor", L"temp2", 0, 104, &S::GetTempMonitorTemp2, &S::SetTempMonitorTemp2},
    {L"guide", L"bshow", 0, -986, &S::GetGuideBShow, &S::SetGuideBShow},
};

} // namespace

TEST_F(IniSettingsTest, FirstRunReadsEveryDefaultAndCreatesNothing) {
    CIniSettings settings = Settings();
    for (const IntKey& k : kIntKeys) {
        EXPECT_EQ((settings.*k.get)(), k.defaultValue) << k.section << L"." << k.key;
    }
    EXPECT_EQ(settings.GetTempMonitorTest(), 0);
    EXPECT_EQ(settings.GetWeatherCityCode(), L"");
    EXPECT_TRUE(settings.IsHolidayStale());
    EXPECT_FALSE(CScratchFolder::Exists(IniPath()));

    // Without a file path nothing is written and every read is the default.
    CIniSettings none(L"", HKEY_CURRENT_USER, m_regKey);
    none.SetCalendarAlpha(90);
    none.MarkHolidayFresh();
    EXPECT_EQ(none.GetCalendarAlpha(), 40);
    EXPECT_TRUE(none.IsHolidayStale());
}

TEST_F(IniSettingsTest, EveryValueIsStoredAsDecimalTextUnderItsSectionAndNameAndReadBackExactly) {
    CIniSettings settings = Settings();
    const auto& keys = kIntKeys;
    for (const IntKey& k : keys) {
        (settings.*k.set)(k.sample);
    }

    // Another store over the same file sees it all: nothing is cached.
    CIniSettings again = Settings();
    for (size_t i = 0; i < std::size(keys); ++i) {
        SCOPED_TRACE(testing::Message() << keys[i].section << L"." << keys[i].key);
        EXPECT_EQ(RawValue(keys[i].section, keys[i].key), std::to_wstring(keys[i].sample));
        EXPECT_EQ((again.*keys[i].get)(), keys[i].sample);
    }
    for (int value : {-1, INT_MIN, INT_MAX}) {
        settings.SetNewsXPos(value);
        EXPECT_EQ(RawValue(L"news", L"XPos"), std::to_wstring(value));
        EXPECT_EQ(again.GetNewsXPos(), value);
    }
    const std::wstring code(1023, L'7');
    settings.SetWeatherCityCode(code + L"89");
    EXPECT_EQ(RawValue(L"weather", L"citycode"), code + L"89");
    EXPECT_EQ(again.GetWeatherCityCode(), code) << "read up to 1023 characters";
}

// A value outside its key's range reads as the nearest one the key allows.
TEST_F(IniSettingsTest, HandEditedValuesReadAsTheirLeadingNumberClamped) {
    ASSERT_TRUE(CScratchFolder::WriteFileText(IniPath(), "[calendar]\r\nXPos=abc\r\nYPos=12px\r\nalpha=  -7 \r\n"
                                                         "[weather]\r\nXPos=\r\nYPos=+33\r\nalpha=1000\r\nfuture=7\r\n"
                                                         "[news]\r\nlock=-1\r\n"
                                                         "[tempmonitor]\r\ntest=5\r\ntemp1=1001px\r\ntemp2=105\r\n"));
    CIniSettings settings = Settings();
    // Present but not a number: 0, not the default; an empty value counts as absent.
    const std::pair<int (S::*)() const, int> read[] = {
        {&S::GetCalendarXPos, 0},        {&S::GetCalendarYPos, 12},    {&S::GetCalendarAlpha, 0},
        {&S::GetWeatherXPos, -1},        {&S::GetWeatherYPos, 33},     {&S::GetWeatherAlpha, 100},
        {&S::GetWeatherFuture, 1},       {&S::GetNewsLock, 1},         {&S::GetTempMonitorTest, 5},
        {&S::GetTempMonitorTemp1, 1001}, {&S::GetTempMonitorTemp2, 0},
    };
    for (size_t i = 0; i < std::size(read); ++i) {
        EXPECT_EQ((settings.*read[i].first)(), read[i].second) << "row " << i;
    }
}

// What each writer puts into an existing key is seen end to end, through the widgets' close buttons.
TEST_F(IniSettingsTest, WidgetWritersLeaveAnAbsentKeyAbsent) {
    CIniSettings settings = Settings();
    settings.WriteRegCalendarOff();
    settings.WriteRegWeatherOff();
    settings.WriteRegNewsOff();
    settings.WriteRegTempMonitorOff();
    HKEY absent = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, m_regRoot.c_str(), 0, KEY_READ, &absent), ERROR_FILE_NOT_FOUND);
}

TEST_F(IniSettingsTest, PidIsReadUpTo129CharactersElseUnknown) {
    CIniSettings settings = Settings();
    EXPECT_EQ(settings.GetRegPid(), L"unkown") << "no key";
    CRegKey key = CreateWallpaperKey();
    EXPECT_EQ(settings.GetRegPid(), L"unkown") << "no value";
    auto store = [&](DWORD type, const void* data, size_t bytes) {
        return ::RegSetValueExW(key.Get(), L"PID", 0, type, static_cast<const BYTE*>(data), DWORD(bytes));
    };
    // With its terminating NUL, except the last two: without it 130 characters fill the buffer and are too many,
    // 129 are not (the system adds the NUL itself when it directly follows the given bytes).
    const std::wstring p129(129, L'p'), q(131, L'q');
    const struct {
        std::wstring text;
        size_t bytes;
        std::wstring expected;
    } rows[] = {{p129, 260, p129},   {p129 + L"p", 262, L"unkown"}, {std::wstring(200, L'p'), 402, L"unkown"},
                {L"", 2, L"unkown"}, {q, 260, L"unkown"},           {q, 258, q.substr(2)}};
    for (const auto& row : rows) {
        ASSERT_EQ(store(REG_SZ, row.text.c_str(), row.bytes), ERROR_SUCCESS);
        EXPECT_EQ(settings.GetRegPid(), row.expected) << row.bytes;
    }
    const DWORD number = 7;
    ASSERT_EQ(store(REG_DWORD, &number, sizeof(number)), ERROR_SUCCESS);
    EXPECT_EQ(settings.GetRegPid(), L"unkown");
}
