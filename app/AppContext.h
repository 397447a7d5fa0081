#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "app/CommandParser.h"
#include "app/base/SingletonT.h"

// What the whole process shares: the switches of the last parsed command line, the main window
// (owner of every widget window and target of their state messages) and the data folder.
class CAppContext : public CSingletonT<CAppContext> {
    friend class CSingletonT<CAppContext>;

public:
    // Name of the data folder below the roaming application-data folder.
    static constexpr const wchar_t* kDataFolderName = L"deskling";

    CCommandParser& GetCommandParser() { return m_parser; }

    HWND GetMainWnd() const { return m_mainWnd.load(); }
    void SetMainWnd(HWND hwnd) { m_mainWnd.store(hwnd); }

    // The roaming application-data folder joined with "deskling", created with any missing parents
    // each time it is asked for (it may have been deleted meanwhile). Creation failures are logged
    // and the path is returned all the same; empty only when the shell cannot name the base folder.
    std::wstring GetDataFolder() const;

    // Puts the data folder below another base folder. Tests call it before anything asks for the
    // folder, so they never read or write the user's own settings.
    void SetDataFolderBase(const std::wstring& base);

    // The roaming application-data folder (CSIDL_APPDATA); empty when the shell cannot name it.
    static std::wstring GetRoamingAppDataFolder();

private:
    CAppContext();

    CCommandParser m_parser;
    // Read by widgets on other threads when they post to the main window.
    std::atomic<HWND> m_mainWnd{nullptr};
    std::wstring m_dataFolder;
};
