#pragma once

#include "app/base/DHCriticalSection.h"
#include "app/base/ScopedHandle.h"

#include <cstdarg>
#include <string>
#include <vector>

// Diagnostic log, off unless the switch file "<base>\Log\Vexadeskling.log.on" exists when the logger
// is built. Lines go to "<base>\Log\Vexadeskling.log" as code page 936 text with CR LF line ends,
// each behind a local time stamp; every process starts its part of the file with a start block. A full
// file (4 MiB) moves aside to "Vexadeskling.log.1" and a new one begins.
// The log lives with the hardware tool's data (base = roaming application data + "brako"), so
// uninstalling this program leaves it alone.
class CSmartLogger {
public:
    // base: the folder that holds "Log"; tests give their own, the process-wide logger the real one.
    explicit CSmartLogger(const std::wstring& base);
    virtual ~CSmartLogger();
    CSmartLogger(const CSmartLogger&) = delete;
    CSmartLogger& operator=(const CSmartLogger&) = delete;

    // The process-wide logger; null once it has been destroyed at process exit.
    static CSmartLogger* GetInstance();
    // Roaming application data + "\brako"; empty when the shell cannot name the folder.
    static std::wstring GetDefaultBase();

    bool IsEnabled() const { return m_enabled; }

    // Wide printf with the C runtime's semantics (%s is a wide string). A message that needs more
    // than 511 characters is dropped whole; every failure is silent.
    void Write(const wchar_t* format, ...);
    void WriteV(const wchar_t* format, va_list args);

private:
    void AddLine(const wchar_t* message);
    void Flush();
    void ClearPending();

    _BaseModule::CCriticalSection m_lock;
    std::vector<std::wstring> m_pending;
    std::wstring m_logPath;
    // Shared by every process that logs to the file, so their appends take turns.
    CKernelHandle m_appendTurn;
    bool m_firstWrite = true;
    // Fixed at construction, before any thread can call in, and only read afterwards.
    bool m_enabled = false;
};

// The one log function of the program: "[tid:%d] ..." by convention, thread id first.
void WriteLog(const wchar_t* format, ...);
