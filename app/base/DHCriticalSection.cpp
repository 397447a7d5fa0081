#include "app/base/DHCriticalSection.h"

CDHCriticalSection::CDHCriticalSection() {
    ::InitializeCriticalSection(&m_cs);
}

CDHCriticalSection::~CDHCriticalSection() {
    ::DeleteCriticalSection(&m_cs);
}

void CDHCriticalSection::Lock() {
    ::EnterCriticalSection(&m_cs);
}

void CDHCriticalSection::Unlock() {
    ::LeaveCriticalSection(&m_cs);
}
