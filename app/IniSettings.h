#pragma once

#include <windows.h>

#include <string>

#include "app/base/SingletonT.h"

struct IniIntKey;

// The widgets' settings, kept in "<data folder>\deskling.ini" through the system's private-profile
// functions: every call goes to the file (no cache; the system serialises file access), and a write
// creates the file or section when missing. Integers are stored as "%d" text; an absent key (or an
// empty value) reads as its default, a value that does not begin with a number reads as 0, a value
// outside its key's range reads as the nearest one it allows (transparency 0..100, flags 0 or 1, an
// unknown gauge item as none), and every other 32-bit value written, negative ones included, reads
// back unchanged (windows on a monitor left of or above the primary one have negative positions).
// Also the values published in the wallpaper application's registry key.
class CIniSettings : public CSingletonT<CIniSettings> {
    friend class CSingletonT<CIniSettings>;

public:
    static constexpr const wchar_t* kRegistryKey = L"Software\\VexaWallPaper";
    // Read for a missing, empty or over-long channel id (the misspelling is what the service expects).
    static constexpr const wchar_t* kUnknownPid = L"unkown";

    // A store over another file and registry key than the user's; tests use it. An empty path
    // reads every default and writes nothing.
    CIniSettings(std::wstring filePath, HKEY registryRoot, std::wstring registryKey);

    const std::wstring& GetFilePath() const { return m_filePath; }

    // Transparency percentage 0..100 (default 40) and saved position (-1: none saved).
    int GetCalendarAlpha() const;
    void SetCalendarAlpha(int value);
    int GetCalendarXPos() const;
    void SetCalendarXPos(int value);
    int GetCalendarYPos() const;
    void SetCalendarYPos(int value);
    // True when the holiday data has never been downloaded or was downloaded more than seven days
    // before today's time (see app/HolidayAge.h).
    bool IsHolidayStale() const;
    // Records today's local date as the last successful holiday download.
    void MarkHolidayFresh();

    int GetWeatherAlpha() const;
    void SetWeatherAlpha(int value);
    int GetWeatherXPos() const;
    void SetWeatherXPos(int value);
    int GetWeatherYPos() const;
    void SetWeatherYPos(int value);
    // Code of the chosen city, at most 1023 characters; empty when none was chosen.
    std::wstring GetWeatherCityCode() const;
    void SetWeatherCityCode(const std::wstring& code);
    // 1 when the weather window shows the coming days.
    int GetWeatherFuture() const;
    void SetWeatherFuture(int value);

    // 1 when dragging the news window is locked.
    int GetNewsLock() const;
    void SetNewsLock(int value);
    int GetNewsXPos() const;
    void SetNewsXPos(int value);
    int GetNewsYPos() const;
    void SetNewsYPos(int value);

    int GetTempMonitorXPos() const;
    void SetTempMonitorXPos(int value);
    int GetTempMonitorYPos() const;
    void SetTempMonitorYPos(int value);
    // Items of the two gauges: sensor type 100..104, 1000 upload, 1001 download, 0 none.
    int GetTempMonitorTemp1() const;
    void SetTempMonitorTemp1(int value);
    int GetTempMonitorTemp2() const;
    void SetTempMonitorTemp2(int value);
    // Above 0: shown by the first gauge in place of its reading. Only ever set by hand.
    int GetTempMonitorTest() const;

    // Non-zero once the first-run guide has been shown.
    int GetGuideBShow() const;
    void SetGuideBShow(int value);

    // Tell the wallpaper application that the user switched a widget off (REG_DWORD 0 under the
    // widget's name). The key belongs to that application: it is opened, never created, and a
    // failed write is only logged.
    void WriteRegCalendarOff() const;
    void WriteRegWeatherOff() const;
    void WriteRegNewsOff() const;
    void WriteRegTempMonitorOff() const;

    // The channel id "PID" of the wallpaper application's key (at most 129 characters), or
    // kUnknownPid when it is missing, empty or longer.
    std::wstring GetRegPid() const;

private:
    CIniSettings();

    // The stored value brought into the key's range, or its default when absent.
    int ReadInt(const IniIntKey& key) const;
    void WriteInt(const IniIntKey& key, int value);
    // Up to maxChars characters of the value; empty when absent.
    std::wstring ReadText(const wchar_t* section, const wchar_t* key, size_t maxChars) const;
    void WriteText(const wchar_t* section, const wchar_t* key, const std::wstring& value);
    void WriteRegZero(const wchar_t* name) const;

    // Fixed at construction and only read afterwards, so worker threads may call in too.
    std::wstring m_filePath;
    HKEY m_registryRoot;
    std::wstring m_registryKey;
};
