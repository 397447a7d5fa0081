#include "app/IniSettings.h"

#include <cwchar>
#include <ctime>
#include <utility>
#include <vector>

#include "app/AppContext.h"
#include "app/HolidayAge.h"
#include "app/base/ScopedHandle.h"
#include "app/base/SmartLogger.h"

// Every integer key: where it lives, its default and its one clamp.
struct IniIntKey {
    const wchar_t* section;
    const wchar_t* key;
    int fallback;
    int (*clamp)(int);
};

namespace {

constexpr const wchar_t* kCalendar = L"calendar";
constexpr const wchar_t* kWeather = L"weather";
constexpr const wchar_t* kNews = L"news";
constexpr const wchar_t* kTempMonitor = L"tempmonitor";
constexpr const wchar_t* kGuide = L"guide";

constexpr int kDefaultAlpha = 40;
constexpr int kNoPosition = -1;

// What each integer key may hold: a value read outside it (a hand-edited or damaged file) is brought
// back into it here, so no caller meets a "1000%" transparency or an unknown gauge item.
int AnyValue(int value) {
    return value;
}
int Percent(int value) {
    return value < 0 ? 0 : value > 100 ? 100 : value;
}
int Flag(int value) {
    return value != 0 ? 1 : 0;
}
int NotNegative(int value) {
    return value < 0 ? 0 : value;
}
// A sensor type 100..104, 1000 (upload rate) or 1001 (download rate); anything else is no item.
int GaugeItem(int value) {
    return (value >= 100 && value <= 104) || value == 1000 || value == 1001 ? value : 0;
}

constexpr size_t kCityCodeMaxChars = 1023;
constexpr size_t kHolidayStampMaxChars = 259;
// The channel id is read into 260 bytes: 129 characters and the terminating NUL.
constexpr size_t kPidBufferChars = 260 / sizeof(wchar_t);

std::wstring DefaultFilePath() {
    std::wstring folder = CAppContext::GetInstance()->GetDataFolder();
    if (folder.empty()) {
        return folder;
    }
    return folder + L"\\deskling.ini";
}

constexpr IniIntKey kCalendarAlpha{kCalendar, L"alpha", kDefaultAlpha, Percent};
constexpr IniIntKey kCalendarXPos{kCalendar, L"XPos", kNoPosition, AnyValue};
constexpr IniIntKey kCalendarYPos{kCalendar, L"YPos", kNoPosition, AnyValue};
constexpr IniIntKey kWeatherAlpha{kWeather, L"alpha", kDefaultAlpha, Percent};
constexpr IniIntKey kWeatherXPos{kWeather, L"XPos", kNoPosition, AnyValue};
constexpr IniIntKey kWeatherYPos{kWeather, L"YPos", kNoPosition, AnyValue};
constexpr IniIntKey kWeatherFuture{kWeather, L"future", 0, Flag};
constexpr IniIntKey kNewsLock{kNews, L"lock", 0, Flag};
constexpr IniIntKey kNewsXPos{kNews, L"XPos", kNoPosition, AnyValue};
constexpr IniIntKey kNewsYPos{kNews, L"YPos", kNoPosition, AnyValue};
constexpr IniIntKey kTempMonitorXPos{kTempMonitor, L"XPos", kNoPosition, AnyValue};
constexpr IniIntKey kTempMonitorYPos{kTempMonitor, L"YPos", kNoPosition, AnyValue};
constexpr IniIntKey kTempMonitorTemp1{kTempMonitor, L"temp1", 0, GaugeItem};
constexpr IniIntKey kTempMonitorTemp2{kTempMonitor, L"temp2", 0, GaugeItem};
constexpr IniIntKey kTempMonitorTest{kTempMonitor, L"test", 0, NotNegative};
constexpr IniIntKey kGuideBShow{kGuide, L"bshow", 0, AnyValue};

} // namespace

CIniSettings::CIniSettings() : CIniSettings(DefaultFilePath(), HKEY_CURRENT_USER, kRegistryKey) {}

CIniSettings::CIniSettings(std::wstring filePath, HKEY registryRoot, std::wstring registryKey)
    : m_filePath(std::move(filePath)), m_registryRoot(registryRoot), m_registryKey(std::move(registryKey)) {}

int CIniSettings::ReadInt(const IniIntKey& key) const {
    if (m_filePath.empty()) {
        return key.fallback;
    }
    wchar_t text[64] = {};
    DWORD length = ::GetPrivateProfileStringW(key.section, key.key, L"", text, 64, m_filePath.c_str());
    if (length == 0) {
        return key.fallback;
    }
    // Decimal with an optional sign, stopping at the first non-digit: "abc" is 0, "12px" is 12.
    // The system's own integer reader is not used because it may turn negative values into 0.
    return key.clamp(static_cast<int>(std::wcstol(text, nullptr, 10)));
}

void CIniSettings::WriteInt(const IniIntKey& key, int value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", value);
    WriteText(key.section, key.key, text);
}

std::wstring CIniSettings::ReadText(const wchar_t* section, const wchar_t* key, size_t maxChars) const {
    if (m_filePath.empty()) {
        return std::wstring();
    }
    std::vector<wchar_t> text(maxChars + 1, L'\0');
    DWORD length =
        ::GetPrivateProfileStringW(section, key, L"", text.data(), static_cast<DWORD>(text.size()), m_filePath.c_str());
    return std::wstring(text.data(), length);
}

void CIniSettings::WriteText(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    if (m_filePath.empty()) {
        return;
    }
    if (!::WritePrivateProfileStringW(section, key, value.c_str(), m_filePath.c_str())) {
        WriteLog(L"[tid:%d] cannot write %s.%s to %s, error:%d", ::GetCurrentThreadId(), section, key,
                 m_filePath.c_str(), ::GetLastError());
    }
}

int CIniSettings::GetCalendarAlpha() const {
    return ReadInt(kCalendarAlpha);
}
void CIniSettings::SetCalendarAlpha(int value) {
    WriteInt(kCalendarAlpha, value);
}
int CIniSettings::GetCalendarXPos() const {
    return ReadInt(kCalendarXPos);
}
void CIniSettings::SetCalendarXPos(int value) {
    WriteInt(kCalendarXPos, value);
}
int CIniSettings::GetCalendarYPos() const {
    return ReadInt(kCalendarYPos);
}
void CIniSettings::SetCalendarYPos(int value) {
    WriteInt(kCalendarYPos, value);
}

bool CIniSettings::IsHolidayStale() const {
    return IsHolidayStampStale(ReadText(kCalendar, L"holiday", kHolidayStampMaxChars), std::time(nullptr));
}

void CIniSettings::MarkHolidayFresh() {
    WriteText(kCalendar, L"holiday", FormatHolidayStamp(std::time(nullptr)));
}

int CIniSettings::GetWeatherAlpha() const {
    return ReadInt(kWeatherAlpha);
}
void CIniSettings::SetWeatherAlpha(int value) {
    WriteInt(kWeatherAlpha, value);
}
int CIniSettings::GetWeatherXPos() const {
    return ReadInt(kWeatherXPos);
}
void CIniSettings::SetWeatherXPos(int value) {
    WriteInt(kWeatherXPos, value);
}
int CIniSettings::GetWeatherYPos() const {
    return ReadInt(kWeatherYPos);
}
void CIniSettings::SetWeatherYPos(int value) {
    WriteInt(kWeatherYPos, value);
}
std::wstring CIniSettings::GetWeatherCityCode() const {
    return ReadText(kWeather, L"citycode", kCityCodeMaxChars);
}
void CIniSettings::SetWeatherCityCode(const std::wstring& code) {
    WriteText(kWeather, L"citycode", code);
}
int CIniSettings::GetWeatherFuture() const {
    return ReadInt(kWeatherFuture);
}
void CIniSettings::SetWeatherFuture(int value) {
    WriteInt(kWeatherFuture, value);
}

int CIniSettings::GetNewsLock() const {
    return ReadInt(kNewsLock);
}
void CIniSettings::SetNewsLock(int value) {
    WriteInt(kNewsLock, value);
}
int CIniSettings::GetNewsXPos() const {
    return ReadInt(kNewsXPos);
}
void CIniSettings::SetNewsXPos(int value) {
    WriteInt(kNewsXPos, value);
}
int CIniSettings::GetNewsYPos() const {
    return ReadInt(kNewsYPos);
}
void CIniSettings::SetNewsYPos(int value) {
    WriteInt(kNewsYPos, value);
}

int CIniSettings::GetTempMonitorXPos() const {
    return ReadInt(kTempMonitorXPos);
}
void CIniSettings::SetTempMonitorXPos(int value) {
    WriteInt(kTempMonitorXPos, value);
}
int CIniSettings::GetTempMonitorYPos() const {
    return ReadInt(kTempMonitorYPos);
}
void CIniSettings::SetTempMonitorYPos(int value) {
    WriteInt(kTempMonitorYPos, value);
}
int CIniSettings::GetTempMonitorTemp1() const {
    return ReadInt(kTempMonitorTemp1);
}
void CIniSettings::SetTempMonitorTemp1(int value) {
    WriteInt(kTempMonitorTemp1, value);
}
int CIniSettings::GetTempMonitorTemp2() const {
    return ReadInt(kTempMonitorTemp2);
}
void CIniSettings::SetTempMonitorTemp2(int value) {
    WriteInt(kTempMonitorTemp2, value);
}
int CIniSettings::GetTempMonitorTest() const {
    return ReadInt(kTempMonitorTest);
}

int CIniSettings::GetGuideBShow() const {
    return ReadInt(kGuideBShow);
}
void CIniSettings::SetGuideBShow(int value) {
    WriteInt(kGuideBShow, value);
}

void CIniSettings::WriteRegZero(const wchar_t* name) const {
    CRegKey key;
    LONG rc = ::RegOpenKeyExW(m_registryRoot, m_registryKey.c_str(), 0, KEY_SET_VALUE, key.Receive());
    if (rc != ERROR_SUCCESS) {
        WriteLog(L"[tid:%d] cannot open %s to write %s, error:%d", ::GetCurrentThreadId(), m_registryKey.c_str(), name,
                 rc);
        return;
    }
    DWORD zero = 0;
    ::RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof(zero));
}

void CIniSettings::WriteRegCalendarOff() const {
    WriteRegZero(kCalendar);
}
void CIniSettings::WriteRegWeatherOff() const {
    WriteRegZero(kWeather);
}
void CIniSettings::WriteRegNewsOff() const {
    WriteRegZero(kNews);
}
void CIniSettings::WriteRegTempMonitorOff() const {
    WriteRegZero(kTempMonitor);
}

std::wstring CIniSettings::GetRegPid() const {
    CRegKey key;
    if (::RegOpenKeyExW(m_registryRoot, m_registryKey.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
        return kUnknownPid;
    }
    wchar_t text[kPidBufferChars] = {};
    DWORD bytes = sizeof(text);
    DWORD type = REG_NONE;
    // A longer value does not fit and fails with ERROR_MORE_DATA.
    LONG rc = ::RegQueryValueExW(key.Get(), L"PID", nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return kUnknownPid;
    }
    // A value stored without its terminating NUL fills the buffer; the last character must be NUL.
    size_t length = wcsnlen(text, bytes / sizeof(wchar_t));
    if (length == 0 || length >= kPidBufferChars) {
        return kUnknownPid;
    }
    return std::wstring(text, length);
}
