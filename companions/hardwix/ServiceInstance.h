#pragma once

#include <windows.h>

#include "app/base/ScopedHandle.h"

// One measuring service per session. Whoever claims the instance while a service runs asks that one to
// end and takes its place: a service started from a newer installation replaces the old one, and the
// installer holds the instance while it replaces the service's files.
class CServiceInstance {
public:
    CServiceInstance() = default;
    ~CServiceInstance();
    CServiceInstance(const CServiceInstance&) = delete;
    CServiceInstance& operator=(const CServiceInstance&) = delete;

    // False when the running service did not end within the wait.
    bool Claim(DWORD waitMs);
    // Signalled when a later claimant wants the instance.
    HANDLE QuitEvent() const { return m_quit.Get(); }

private:
    CKernelHandle m_mutex;
    CKernelHandle m_quit;
    bool m_owned = false;
};
