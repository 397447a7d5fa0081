#pragma once

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "unit/TestPaths.h"

// A fresh folder under the temp directory for one test, removed with everything in it afterwards.
// Under Wine the folder can also hold real Unix symbolic links (Wine 8 cannot create Windows ones).
class CScratchFolder {
public:
    explicit CScratchFolder(const wchar_t* tag) {
        static int counter = 0;
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"deskling-" + tag + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(counter++);
        m_created = ::CreateDirectoryW(m_path.c_str(), nullptr) != FALSE;
    }
    ~CScratchFolder() { RemoveAll(); }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    bool IsCreated() const { return m_created; }
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

    // Makes link (a Windows path) a symbolic link to target: a path relative to the link's folder written with
    // forward slashes, or a full path as the system at hand writes it. False when links cannot be made here.
    static bool MakeSymlink(const std::wstring& link, const std::wstring& target, bool toFolder) {
        if (IsWine()) {
            std::wstring unixLink = UnixPath(link);
            return !unixLink.empty() && RunProgram(L"Z:\\bin\\ln", L"ln -s " + target + L" " + unixLink, 5000) &&
                   WaitFor([&] { return Exists(link); });
        }
        std::wstring windowsTarget = target;
        std::replace(windowsTarget.begin(), windowsTarget.end(), L'/', L'\\');
        DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (toFolder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
        return ::CreateSymbolicLinkW(link.c_str(), windowsTarget.c_str(), flags) && Exists(link);
    }

    // Removes a link made by MakeSymlink, never what it points to; true when it is gone.
    static bool RemoveLink(const std::wstring& link) {
        if (IsWine()) {
            std::wstring unixLink = UnixPath(link);
            return !unixLink.empty() && RunProgram(L"Z:\\bin\\rm", L"rm -f " + unixLink, 5000) &&
                   WaitFor([&] { return !Exists(link); });
        }
        return ::RemoveDirectoryW(link.c_str()) || ::DeleteFileW(link.c_str());
    }

    // Unix paths are plain ASCII in these tests, so a byte-wise widening suffices.
    static std::wstring UnixPath(const std::wstring& path) {
        std::string unixName = WineUnixPath(path);
        return std::wstring(unixName.begin(), unixName.end());
    }

    static bool Exists(const std::wstring& path) {
        return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    static bool WriteFileText(const std::wstring& path, const std::string& bytes) {
        std::ofstream out(path.c_str(), std::ios::binary);
        return out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
    }

    // Read the way another program would while the writer may still hold the file.
    static std::string ReadFileText(const std::wstring& path) {
        std::ifstream in(path.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    template <class Done> static bool WaitFor(Done done) {
        for (int i = 0; i < 100 && !done(); ++i) {
            ::Sleep(50);
        }
        return done();
    }

    void RemoveAll() {
        if (!m_created) {
            return;
        }
        // Under Wine only Unix can remove a Unix link without touching its target.
        if (IsWine()) {
            std::wstring unixPath = UnixPath(m_path);
            if (!unixPath.empty() && unixPath.find(L"deskling-") != std::wstring::npos &&
                RunProgram(L"Z:\\bin\\rm", L"rm -rf " + unixPath, 5000) && WaitFor([&] { return !Exists(m_path); })) {
                return;
            }
        }
        // Elsewhere links are seen as links and removed as such.
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::wstring m_path;
    bool m_created = false;
};
