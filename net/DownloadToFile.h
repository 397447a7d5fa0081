#pragma once

#include <string>

// Downloads url into the file savePath with WinInet, synchronously on the calling thread (never the UI
// thread), always from the server, never from the cache. Returns savePath on success and an empty
// string on any failure. The status is not examined: an error page is saved and counts as success. A
// failed or interrupted download may leave a partial file behind.
std::wstring DownloadToFile(const std::wstring& url, const std::wstring& savePath);
