#include "net/DownloadToFile.h"

#include "app/base/ScopedHandle.h"

#include <wininet.h>

#include <vector>

namespace {

constexpr DWORD kReadChunk = 40960;

struct InternetHandleTraits : CHandleTraitsBase<HINTERNET, nullptr> {
    static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
using CInternetHandle = CScopedHandle<InternetHandleTraits>;

} // namespace

std::wstring DownloadToFile(const std::wstring& url, const std::wstring& savePath, uint64_t maxBytes) {
    CInternetHandle root(::InternetOpenW(L"Download From HTTP", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!root) {
        return {};
    }
    static const wchar_t kHeaders[] = L"Accept: */*\r\n\r\n";
    CInternetHandle request(
        ::InternetOpenUrlW(root.Get(), url.c_str(), kHeaders, ARRAYSIZE(kHeaders) - 1, INTERNET_FLAG_RELOAD, 0));
    if (!request) {
        return {};
    }
    CFileHandle file(::CreateFileW(savePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    std::vector<char> buffer(kReadChunk);
    uint64_t received = 0;
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request.Get(), buffer.data(), kReadChunk, &read)) {
            return {};
        }
        if (read == 0) {
            break;
        }
        received += read;
        if (received > maxBytes) {
            return {};
        }
        DWORD written = 0;
        if (!::WriteFile(file.Get(), buffer.data(), read, &written, nullptr) || written != read) {
            return {};
        }
        // Yields between chunks: picture downloads run beside the UI thread on small machines.
        ::Sleep(1);
    }
    return savePath;
}
