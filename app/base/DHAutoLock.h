#pragma once

#include "app/base/BaseModuleLocker.h"

// Holds a lock for the lifetime of the scope.
class CDHAutoLock {
public:
    explicit CDHAutoLock(_BaseModule::ILocker& lock) : m_lock(lock) { m_lock.Lock(); }
    ~CDHAutoLock() { m_lock.Unlock(); }
    CDHAutoLock(const CDHAutoLock&) = delete;
    CDHAutoLock& operator=(const CDHAutoLock&) = delete;

private:
    _BaseModule::ILocker& m_lock;
};

namespace _BaseModule {
using CAutoLocker = ::CDHAutoLock;
} // namespace _BaseModule
