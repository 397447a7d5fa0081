#pragma once

#include "app/BaseModuleLocker.h"

namespace _BaseModule {

// Holds an ILocker for the lifetime of the scope.
class CAutoLocker {
public:
    explicit CAutoLocker(ILocker& locker) : m_locker(locker) { m_locker.Lock(); }
    ~CAutoLocker() { m_locker.Unlock(); }
    CAutoLocker(const CAutoLocker&) = delete;
    CAutoLocker& operator=(const CAutoLocker&) = delete;

private:
    ILocker& m_locker;
};

} // namespace _BaseModule
