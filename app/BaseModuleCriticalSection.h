#pragma once

#include "app/BaseModuleLocker.h"

#include <windows.h>

namespace _BaseModule {

// ILocker over one Win32 critical section.
class CCriticalSection : public ILocker {
public:
    CCriticalSection();
    ~CCriticalSection() override;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock() override;
    void Unlock() override;

private:
    CRITICAL_SECTION m_cs;
};

} // namespace _BaseModule
