#pragma once

#include "app/DHSyncObject.h"

#include <windows.h>

// One Win32 critical section. Take it through CDHAutoLock so that every exit path unlocks; the
// section is recursive, so a thread may re-enter it.
class CDHCriticalSection : public CDHSyncObject {
public:
    CDHCriticalSection();
    ~CDHCriticalSection() override;

    void Lock();
    void Unlock();

private:
    CRITICAL_SECTION m_cs;
};
