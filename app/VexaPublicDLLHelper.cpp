#include "app/VexaPublicDLLHelper.h"

#include "app/base/DHAutoLock.h"
#include "app/base/SmartLogger.h"
#include "integrity/AuthenticodeVerifier.h"

#include <string>

namespace {

constexpr DWORD kPathChars = 1024;

template <class T> T ProcAs(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Keeps the library's own imports to the system folder where the system can restrict them
// (AddDllDirectory is the sign of that support).
DWORD LoadFlags() {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel && ::GetProcAddress(kernel, "AddDllDirectory") ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0;
}

std::wstring FullPath(const wchar_t* path) {
    wchar_t full[kPathChars] = {};
    const DWORD length = ::GetFullPathNameW(path, kPathChars, full, nullptr);
    return length > 0 && length < kPathChars ? std::wstring(full) : std::wstring();
}

} // namespace

template <class TFuncs> CVexaPublicDLLHelper<TFuncs>& CVexaPublicDLLHelper<TFuncs>::GetInstance() {
    static auto* instance = new CVexaPublicDLLHelper<TFuncs>();
    return *instance;
}

template <class TFuncs> bool CVexaPublicDLLHelper<TFuncs>::Initialise(const wchar_t* path) {
    _BaseModule::CAutoLocker lock(m_lock);
    if (!m_done) {
        m_done = true;
        m_result = Load(path);
    }
    return m_result;
}

template <class TFuncs> bool CVexaPublicDLLHelper<TFuncs>::Load(const wchar_t* path) {
    if (!path || !*path) {
        return false;
    }
    if (const HMODULE loaded = ::GetModuleHandleW(path)) {
        wchar_t loadedPath[kPathChars] = {};
        const DWORD length = ::GetModuleFileNameW(loaded, loadedPath, kPathChars);
        if (length > 0 && length < kPathChars) {
            m_module.Reset(::LoadLibraryExW(loadedPath, nullptr, LoadFlags()));
        }
    } else {
        const std::wstring full = FullPath(path);
        // Others may read the file while it is tested and loaded, nobody may change it.
        CFileHandle file(::CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            WriteLog(L"[tid:%d] base library %s cannot be opened, error %d", ::GetCurrentThreadId(), full.c_str(),
                     ::GetLastError());
            return false;
        }
        const ETrustVerdict verdict = CAuthenticodeVerifier::ForPublisher().VerifyOpenFile(file.Get());
        if (verdict != ETrustVerdict::Trusted) {
            WriteLog(L"[tid:%d] base library %s failed the signature test: %s", ::GetCurrentThreadId(), full.c_str(),
                     TrustVerdictName(verdict));
            return false;
        }
        m_module.Reset(::LoadLibraryExW(full.c_str(), nullptr, LoadFlags()));
    }
    if (!m_module) {
        WriteLog(L"[tid:%d] base library %s not loaded, error %d", ::GetCurrentThreadId(), path, ::GetLastError());
        return false;
    }

    const auto initLibs = ProcAs<PFN_VexaInitLibs>(m_module.Get(), "InitLibs");
    m_createObject = ProcAs<PFN_VexaCreateObject>(m_module.Get(), "CreateObject");
    bool ok = m_createObject != nullptr;
    if (initLibs) {
        m_funcs = TFuncs{};
        m_funcs.count = kVexaBaseEntryCount;
        const int status = initLibs(&m_funcs.count);
        ok = status == 0;
        if (!ok) {
            WriteLog(L"[tid:%d] base library InitLibs returned %d", ::GetCurrentThreadId(), status);
        }
    }
    if (!ok) {
        WriteLog(L"[tid:%d] base library %s offers nothing usable, unloaded", ::GetCurrentThreadId(), path);
        m_funcs = TFuncs{};
        m_createObject = nullptr;
        m_module.Reset();
    }
    return ok;
}

template class CVexaPublicDLLHelper<CVexaBaseExportFuncs>;
