#pragma once

#include "app/DHCriticalSection.h"

// Enters a CDHCriticalSection for the lifetime of the scope.
class CDHAutoLock {
public:
    explicit CDHAutoLock(CDHCriticalSection& section) : m_section(section) { m_section.Lock(); }
    ~CDHAutoLock() { m_section.Unlock(); }
    CDHAutoLock(const CDHAutoLock&) = delete;
    CDHAutoLock& operator=(const CDHAutoLock&) = delete;

private:
    CDHCriticalSection& m_section;
};
