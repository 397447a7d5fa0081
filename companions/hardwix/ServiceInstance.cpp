#include "companions/hardwix/ServiceInstance.h"

namespace {
const wchar_t kInstanceName[] = L"Local\\BrakoHardwixService";
const wchar_t kQuitName[] = L"Local\\BrakoHardwixQuit";

bool Acquired(DWORD wait) {
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}
} // namespace

CServiceInstance::~CServiceInstance() {
    if (m_owned) {
        ::ReleaseMutex(m_mutex.Get());
    }
}

bool CServiceInstance::Claim(DWORD waitMs) {
    m_quit.Reset(::CreateEventW(nullptr, FALSE, FALSE, kQuitName));
    m_mutex.Reset(::CreateMutexW(nullptr, FALSE, kInstanceName));
    if (!m_quit || !m_mutex) {
        return false;
    }
    m_owned = Acquired(::WaitForSingleObject(m_mutex.Get(), 0));
    if (!m_owned) {
        ::SetEvent(m_quit.Get());
        m_owned = Acquired(::WaitForSingleObject(m_mutex.Get(), waitMs));
    }
    // A request meant for the previous holder must not end this one.
    ::ResetEvent(m_quit.Get());
    return m_owned;
}
