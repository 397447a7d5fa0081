#pragma once

#include <cstdint>
#include <string>

// Downloads url into the file savePath with WinInet, synchronously on the calling thread (never the UI
// thread), always from the server, never from the cache. Returns savePath on success and an empty
// string on any failure. The status is not examined: an error page is saved and counts as success. A
// failed or interrupted download may leave a partial file behind. A body longer than maxBytes, the
// largest file the caller can use, fails the download once that many bytes have been written.
std::wstring DownloadToFile(const std::wstring& url, const std::wstring& savePath, uint64_t maxBytes);
