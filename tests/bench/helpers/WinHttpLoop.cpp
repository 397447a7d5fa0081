// The platform's floor for the HTTP benchmark: GETs of one URL through WinHTTP, one after another, each on a
// connection of its own ("Connection: close"), with nothing else around them. Prints "<requests/s> <median ms>"
// over the counted requests, after a few uncounted ones that load WinHTTP's parts.
// Usage: deskling_bench_winhttp URL COUNT
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct CInternet {
    explicit CInternet(HINTERNET handle) : handle(handle) {}
    ~CInternet() {
        if (handle) {
            ::WinHttpCloseHandle(handle);
        }
    }
    CInternet(const CInternet&) = delete;
    CInternet& operator=(const CInternet&) = delete;
    HINTERNET handle;
};

bool Get(HINTERNET session, const URL_COMPONENTS& url) {
    CInternet connection(
        ::WinHttpConnect(session, std::wstring(url.lpszHostName, url.dwHostNameLength).c_str(), url.nPort, 0));
    CInternet request(connection.handle ? ::WinHttpOpenRequest(connection.handle, L"GET", url.lpszUrlPath, nullptr,
                                                               WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                        : nullptr);
    // The server drops the connection after its answer, so none may go back to the pool for the next request.
    DWORD feature = WINHTTP_DISABLE_KEEP_ALIVE, status = 0, size = sizeof(status);
    if (!request.handle ||
        !::WinHttpSetOption(request.handle, WINHTTP_OPTION_DISABLE_FEATURE, &feature, sizeof(feature)) ||
        !::WinHttpSendRequest(request.handle, L"Connection: close", static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0,
                              0, 0) ||
        !::WinHttpReceiveResponse(request.handle, nullptr) ||
        !::WinHttpQueryHeaders(request.handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &status,
                               &size, nullptr) ||
        status != 200) {
        return false;
    }
    char buffer[4096];
    for (DWORD read = 0; ::WinHttpReadData(request.handle, buffer, sizeof(buffer), &read) && read > 0;) {
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: deskling_bench_winhttp URL COUNT\n");
        return 2;
    }
    std::wstring text = argv[1];
    URL_COMPONENTS url = {};
    url.dwStructSize = sizeof(url);
    url.dwHostNameLength = url.dwUrlPathLength = static_cast<DWORD>(-1);
    const int count = _wtoi(argv[2]);
    CInternet session(::WinHttpOpen(L"deskling-bench", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session.handle || !::WinHttpCrackUrl(text.c_str(), 0, 0, &url) || count <= 0) {
        std::fprintf(stderr, "deskling_bench_winhttp: bad URL or count\n");
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 20; ++i) {
        Get(session.handle, url);
    }
    std::vector<double> times;
    const auto begin = Clock::now();
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        if (!Get(session.handle, url)) {
            std::fprintf(stderr, "deskling_bench_winhttp: request %d failed\n", i);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    std::sort(times.begin(), times.end());
    std::printf("%.2f %.3f\n", count / seconds, (times[(count - 1) / 2] + times[count / 2]) / 2);
    return 0;
}
