#include "app/AppContext.h"

#include <shlobj.h>

#include "app/base/SmartLogger.h"

namespace {

std::wstring JoinDataFolder(const std::wstring& base) {
    if (base.empty()) {
        return std::wstring();
    }
    std::wstring folder = base;
    if (folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    return folder + CAppContext::kDataFolderName;
}

} // namespace

CAppContext::CAppContext() : m_dataFolder(JoinDataFolder(GetRoamingAppDataFolder())) {}

std::wstring CAppContext::GetRoamingAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    HRESULT hr = ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    if (FAILED(hr)) {
        WriteLog(L"[tid:%d] roaming application-data folder unknown, hr:0x%08x", ::GetCurrentThreadId(), hr);
        return std::wstring();
    }
    return path;
}

void CAppContext::SetDataFolderBase(const std::wstring& base) {
    m_dataFolder = JoinDataFolder(base);
}

std::wstring CAppContext::GetDataFolder() const {
    if (m_dataFolder.empty()) {
        return m_dataFolder;
    }
    // Creates every missing parent too. It also fails when the folder already exists, so only a
    // path that is not a folder afterwards counts as a failure.
    int rc = ::SHCreateDirectoryExW(nullptr, m_dataFolder.c_str(), nullptr);
    DWORD attributes = rc == ERROR_SUCCESS ? FILE_ATTRIBUTE_DIRECTORY : ::GetFileAttributesW(m_dataFolder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        WriteLog(L"[tid:%d] cannot create data folder %s, error:%d", ::GetCurrentThreadId(), m_dataFolder.c_str(), rc);
    }
    return m_dataFolder;
}
