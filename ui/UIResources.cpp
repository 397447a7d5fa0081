#include "ui/UIResources.h"

#include <windows.h>

#include "app/base/FileSystem.h"
#include "app/base/SmartLogger.h"

namespace {

std::string ToUtf8(const std::wstring& text) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                              nullptr);
    }
    return bytes;
}

} // namespace

bool CUIResources::SetResourcePackage(const std::wstring& fileName) {
    m_package = m_folder + L"\\" + fileName;
    std::vector<char> bytes;
    m_hasPackage =
        ReadWholeFile(m_package.c_str(), &bytes) && m_archive.Open(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    if (!m_hasPackage) {
        WriteLog(L"[tid:%d] dialog package %s is missing or not a zip file; dialogs will not open",
                 ::GetCurrentThreadId(), m_package.c_str());
    }
    return m_hasPackage;
}

bool CUIResources::LoadFile(const std::wstring& name, std::vector<uint8_t>& content) const {
    if (!m_hasPackage) {
        WriteLog(L"[tid:%d] no dialog package for %s", ::GetCurrentThreadId(), name.c_str());
        return false;
    }
    if (!m_archive.Extract(ToUtf8(name), content)) {
        WriteLog(L"[tid:%d] %s is missing or damaged in %s", ::GetCurrentThreadId(), name.c_str(), m_package.c_str());
        return false;
    }
    return true;
}
