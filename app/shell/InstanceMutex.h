#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/base/SingletonT.h"

// Keeps one running instance per user session. The first process owns a named mutex until
// shutdown; a later process finds the first one's main window and hands it its command line.
class CInstanceMutex : public CSingletonT<CInstanceMutex> {
    friend class CSingletonT<CInstanceMutex>;

public:
    static constexpr const wchar_t* kInstanceMutexName = L"VexaDesklingMutex";
    static constexpr const wchar_t* kGuardMutexName = L"Instance_{D4EF3ACD-C412-4eca-8514-DE75F2B3B3D9}";

    virtual ~CInstanceMutex();

    // True when this process is the first instance; false when a running instance was found and
    // has been sent this process's command line.
    bool CheckSingleInstance();

    // Claims mutexName for this process, or returns the main window (of windowClass) of a running
    // process whose executable is named longName or shortName. No window: this process goes on as
    // the first instance.
    HWND CheckInstance(const wchar_t* mutexName, const wchar_t* windowClass, const std::wstring& longName,
                       const std::wstring& shortName);

private:
    CInstanceMutex();

    CRITICAL_SECTION m_lock;
    std::vector<HANDLE> m_ownedMutexes;
    HANDLE m_guard = nullptr;
};

// Sends the whole command line to a running instance's main window (WM_COPYDATA, tag 1000).
void ForwardCommandLine(HWND target, const wchar_t* commandLine);
