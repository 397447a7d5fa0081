#include "app/VexaPublicDLLHelper.h"

#include "app/base/DHAutoLock.h"
#include "app/base/SmartLogger.h"
#include "integrity/AuthenticodeVerifier.h"
#include "integrity/VerifiedLibrary.h"

namespace {

constexpr DWORD kPathChars = 1024;

template <class T> T ProcAs(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
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
            m_module.Reset(::LoadLibraryExW(loadedPath, nullptr, SystemFolderImportsFlag()));
        }
    } else {
        m_module = LoadVerifiedLibrary(path, [](const wchar_t* full, HANDLE file) {
            const ETrustVerdict verdict = CAuthenticodeVerifier::ForPublisher().VerifyOpenFile(file);
            if (verdict != ETrustVerdict::Trusted) {
                WriteLog(L"[tid:%d] base library %s failed the signature test: %s", ::GetCurrentThreadId(), full,
                         TrustVerdictName(verdict));
            }
            return verdict == ETrustVerdict::Trusted;
        });
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
