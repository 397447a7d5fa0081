#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "app/IniSettings.h"
#include "unit/app/ScratchFolder.h"

namespace {

// Settings over a scratch ini file and a scratch registry key, never the user's own.
class IniSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.IsCreated());
        static int counter = 0;
        m_regRoot = L"Software\\deskling-tests\\settings-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(counter++);
        m_regKey = m_regRoot + L"\\VexaWallPaper";
    }
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_regRoot.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\deskling-tests");
    }

    std::wstring IniPath() const { return m_folder / L"deskling.ini"; }
    CIniSettings Settings() const { return CIniSettings(IniPath(), HKEY_CURRENT_USER, m_regKey); }

    // The wallpaper application's key, as that application would have created it.
    HKEY CreateWallpaperKey() {
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_regKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        return key;
    }

    std::wstring RawValue(const wchar_t* section, const wchar_t* key) const {
        wchar_t text[2048] = {};
        DWORD n = ::GetPrivateProfileStringW(section, key, L"<absent>", text, 2048, IniPath().c_str());
        return std::wstring(text, n);
    }

    CScratchFolder m_folder{L"settings"};
    std::wstring m_regRoot;
    std::wstring m_regKey;
};

struct IntKey {
    const wchar_t* section;
    const wchar_t* key;
    int defaultValue;
    std::function<int(const CIniSettings&)> get;
    std::function<void(CIniSettings&, int)> set;
};

// Every integer key with its section, key name and default as the settings file defines them.
std::vector<IntKey> WritableIntKeys() {
    using S = CIniSettings;
    return {
        {L"calendar", L"alpha", 40, &S::GetCalendarAlpha, &S::SetCalendarAlpha},
        {L"calendar", L"XPos", -1, &S::GetCalendarXPos, &S::SetCalendarXPos},
        {L"calendar", L"YPos", -1, &S::GetCalendarYPos, &S::SetCalendarYPos},
        {L"weather", L"alpha", 40, &S::GetWeatherAlpha, &S::SetWeatherAlpha},
        {L"weather", L"XPos", -1, &S::GetWeatherXPos, &S::SetWeatherXPos},
        {L"weather", L"YPos", -1, &S::GetWeatherYPos, &S::SetWeatherYPos},
        {L"weather", L"future", 0, &S::GetWeatherFuture, &S::SetWeatherFuture},
        {L"news", L"lock", 0, &S::GetNewsLock, &S::SetNewsLock},
        {L"news", L"XPos", -1, &S::GetNewsXPos, &S::SetNewsXPos},
        {L"news", L"YPos", -1, &S::GetNewsYPos, &S::SetNewsYPos},
        {L"tempmonitor", L"XPos", -1, &S::GetTempMonitorXPos, &S::SetTempMonitorXPos},
        {L"tempmonitor", L"YPos", -1, &S::GetTempMonitorYPos, &S::SetTempMonitorYPos},
        {L"tempmonitor", L"temp1", 0, &S::GetTempMonitorTemp1, &S::SetTempMonitorTemp1},
        {L"tempmonitor", L"temp2", 0, &S::GetTempMonitorTemp2, &S::SetTempMonitorTemp2},
        {L"guide", L"bshow", 0, &S::GetGuideBShow, &S::SetGuideBShow},
    };
}

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace

TEST_F(IniSettingsTest, FirstRunWithoutAFileReadsEveryDefault) {
    CIniSettings settings = Settings();
    for (const IntKey& k : WritableIntKeys()) {
        EXPECT_EQ(k.get(settings), k.defaultValue) << k.section << L"." << k.key;
    }
    EXPECT_EQ(settings.GetTempMonitorTest(), 0);
    EXPECT_EQ(settings.GetWeatherCityCode(), L"");
    EXPECT_TRUE(settings.IsHolidayStale());
    // Reading creates nothing.
    EXPECT_FALSE(CScratchFolder::Exists(IniPath()));
}

TEST_F(IniSettingsTest, WithoutAFilePathReadsDefaultsAndWritesNothing) {
    CIniSettings settings(L"", HKEY_CURRENT_USER, m_regKey);
    settings.SetCalendarAlpha(90);
    settings.SetWeatherCityCode(L"101010100");
    settings.MarkHolidayFresh();
    EXPECT_EQ(settings.GetCalendarAlpha(), 40);
    EXPECT_EQ(settings.GetWeatherCityCode(), L"");
    EXPECT_TRUE(settings.IsHolidayStale());
}

TEST_F(IniSettingsTest, EveryWritableKeyIsStoredAsDecimalTextUnderItsSectionAndName) {
    CIniSettings settings = Settings();
    std::vector<IntKey> keys = WritableIntKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        keys[i].set(settings, 1000 + static_cast<int>(i));
    }
    settings.SetWeatherCityCode(L"101280601");

    // Another store over the same file sees it all: nothing is cached.
    CIniSettings again = Settings();
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(RawValue(keys[i].section, keys[i].key), std::to_wstring(1000 + i)) << keys[i].section;
        EXPECT_EQ(keys[i].get(again), 1000 + static_cast<int>(i)) << keys[i].section << L"." << keys[i].key;
    }
    EXPECT_EQ(RawValue(L"weather", L"citycode"), L"101280601");
    EXPECT_EQ(again.GetWeatherCityCode(), L"101280601");
}

TEST_F(IniSettingsTest, NegativeAndExtremeValuesReadBackAsWritten) {
    CIniSettings settings = Settings();
    for (int value : {-1, 0, -2, -250, -32768, -100000, INT_MIN, INT_MAX, 1}) {
        settings.SetNewsXPos(value);
        settings.SetCalendarYPos(value);
        EXPECT_EQ(RawValue(L"news", L"XPos"), std::to_wstring(value));
        EXPECT_EQ(settings.GetNewsXPos(), value);
        EXPECT_EQ(settings.GetCalendarYPos(), value);
    }
}

TEST_F(IniSettingsTest, HandEditedValuesReadAsTheirLeadingNumber) {
    ASSERT_TRUE(CScratchFolder::WriteFileText(
        IniPath(), Lines({"[calendar]", "XPos=abc", "YPos=12px", "alpha=  -7 ", "[weather]", "XPos=", "YPos=+33",
                          "alpha=0x20", "[tempmonitor]", "test=5", "temp1=99999999999"})));
    CIniSettings settings = Settings();
    // Present but not a number: 0, not the default.
    EXPECT_EQ(settings.GetCalendarXPos(), 0);
    EXPECT_EQ(settings.GetCalendarYPos(), 12);
    EXPECT_EQ(settings.GetCalendarAlpha(), -7);
    // An empty value counts as absent, as with the system's own integer reader.
    EXPECT_EQ(settings.GetWeatherXPos(), -1);
    EXPECT_EQ(settings.GetWeatherYPos(), 33);
    EXPECT_EQ(settings.GetWeatherAlpha(), 0);
    EXPECT_EQ(settings.GetTempMonitorTest(), 5);
    EXPECT_EQ(settings.GetTempMonitorTemp1(), INT_MAX);
}

TEST_F(IniSettingsTest, CorruptFileReadsDefaultsWhereKeysAreMissing) {
    std::string garbage = Lines({"garbage \x01 without structure", "=novalue", "[[[", "XPos=555", "[calendar",
                                 "alpha 77", "[news]", "lock=1", "this is not a key", "[news]junk", "YPos=-20",
                                 "\x01\x02\x03\x04", "[weather", "citycode=nope"});
    garbage += std::string("\0\0\x7f binary tail", 16);
    ASSERT_TRUE(CScratchFolder::WriteFileText(IniPath(), garbage));

    CIniSettings settings = Settings();
    EXPECT_EQ(settings.GetNewsLock(), 1);
    EXPECT_EQ(settings.GetCalendarAlpha(), 40);
    EXPECT_EQ(settings.GetCalendarXPos(), -1);
    EXPECT_EQ(settings.GetWeatherXPos(), -1);
    EXPECT_EQ(settings.GetWeatherCityCode(), L"");
    EXPECT_EQ(settings.GetTempMonitorTemp2(), 0);
    EXPECT_EQ(settings.GetGuideBShow(), 0);
    EXPECT_TRUE(settings.IsHolidayStale());

    // Writing into the damaged file works and reads back.
    settings.SetCalendarXPos(-300);
    EXPECT_EQ(settings.GetCalendarXPos(), -300);
}

TEST_F(IniSettingsTest, CityCodeIsReadUpTo1023Characters) {
    CIniSettings settings = Settings();
    std::wstring code(1023, L'7');
    settings.SetWeatherCityCode(code);
    EXPECT_EQ(settings.GetWeatherCityCode(), code);
    settings.SetWeatherCityCode(code + L"89");
    EXPECT_EQ(settings.GetWeatherCityCode(), code);
}

TEST_F(IniSettingsTest, HolidayStampIsTodaysLocalDateAndAgesAfterAWeek) {
    CIniSettings settings = Settings();
    EXPECT_TRUE(settings.IsHolidayStale());
    settings.MarkHolidayFresh();
    SYSTEMTIME today = {};
    ::GetLocalTime(&today);
    wchar_t expected[32];
    swprintf(expected, 32, L"%04d/%02d/%02d", today.wYear, today.wMonth, today.wDay);
    EXPECT_EQ(RawValue(L"calendar", L"holiday"), expected);
    EXPECT_FALSE(settings.IsHolidayStale());

    ::WritePrivateProfileStringW(L"calendar", L"holiday", L"2001/09/01", IniPath().c_str());
    EXPECT_TRUE(settings.IsHolidayStale());
    ::WritePrivateProfileStringW(L"calendar", L"holiday", L"2999/12/31", IniPath().c_str());
    EXPECT_FALSE(settings.IsHolidayStale());
    ::WritePrivateProfileStringW(L"calendar", L"holiday", L"last week", IniPath().c_str());
    EXPECT_TRUE(settings.IsHolidayStale());
}

TEST_F(IniSettingsTest, WidgetWritersPutDwordZeroIntoTheExistingKey) {
    HKEY key = CreateWallpaperKey();
    DWORD one = 1;
    ::RegSetValueExW(key, L"calendar", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    ::RegSetValueExW(key, L"weather", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"on"), 6);

    CIniSettings settings = Settings();
    settings.WriteRegCalendarOff();
    settings.WriteRegWeatherOff();
    settings.WriteRegNewsOff();
    settings.WriteRegTempMonitorOff();

    for (const wchar_t* name : {L"calendar", L"weather", L"news", L"tempmonitor"}) {
        DWORD type = REG_NONE;
        DWORD value = 99;
        DWORD size = sizeof(value);
        ASSERT_EQ(::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS)
            << name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(size, sizeof(DWORD)) << name;
        EXPECT_EQ(value, 0u) << name;
    }
    DWORD subKeys = 99;
    DWORD values = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                       nullptr);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 4u);
    ::RegCloseKey(key);
}

TEST_F(IniSettingsTest, WidgetWritersDoNotCreateTheWallpaperKey) {
    CIniSettings settings = Settings();
    settings.WriteRegCalendarOff();
    settings.WriteRegTempMonitorOff();
    HKEY key = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, m_regKey.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, m_regRoot.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(IniSettingsTest, PidIsReadUpTo129Characters) {
    CIniSettings settings = Settings();
    EXPECT_EQ(settings.GetRegPid(), L"unkown") << "no key";

    HKEY key = CreateWallpaperKey();
    EXPECT_EQ(settings.GetRegPid(), L"unkown") << "no value";

    auto setPid = [&](const std::wstring& text) {
        ::RegSetValueExW(key, L"PID", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
    setPid(L"wp_channel_0042");
    EXPECT_EQ(settings.GetRegPid(), L"wp_channel_0042");
    setPid(std::wstring(129, L'p'));
    EXPECT_EQ(settings.GetRegPid(), std::wstring(129, L'p'));
    setPid(std::wstring(130, L'p'));
    EXPECT_EQ(settings.GetRegPid(), L"unkown");
    setPid(std::wstring(200, L'p'));
    EXPECT_EQ(settings.GetRegPid(), L"unkown");
    setPid(L"");
    EXPECT_EQ(settings.GetRegPid(), L"unkown");

    // Stored without its terminating NUL: 130 characters fill the buffer and are too many, 129 are not.
    // (The system adds the NUL itself when it directly follows the given bytes, so one more follows.)
    std::wstring bare(131, L'q');
    ::RegSetValueExW(key, L"PID", 0, REG_SZ, reinterpret_cast<const BYTE*>(bare.c_str()), 260);
    EXPECT_EQ(settings.GetRegPid(), L"unkown");
    ::RegSetValueExW(key, L"PID", 0, REG_SZ, reinterpret_cast<const BYTE*>(bare.c_str()), 258);
    EXPECT_EQ(settings.GetRegPid(), std::wstring(129, L'q'));

    DWORD number = 7;
    ::RegSetValueExW(key, L"PID", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    EXPECT_EQ(settings.GetRegPid(), L"unkown");
    ::RegCloseKey(key);
}
