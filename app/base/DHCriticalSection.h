#pragma once

#include "app/base/BaseModuleLocker.h"
#include "app/base/DHSyncObject.h"

#include <windows.h>

// One Win32 critical section, the program's only lock. Take it through CDHAutoLock so that every exit
// path unlocks; the section is recursive, so a thread may re-enter it.
class CDHCriticalSection : public CDHSyncObject, public _BaseModule::ILocker {
public:
    CDHCriticalSection();
    ~CDHCriticalSection() override;

    void Lock() override;
    void Unlock() override;

private:
    CRITICAL_SECTION m_cs;
};

namespace _BaseModule {
// The logger and the base-library helper know the same lock by this name.
using CCriticalSection = ::CDHCriticalSection;
} // namespace _BaseModule
