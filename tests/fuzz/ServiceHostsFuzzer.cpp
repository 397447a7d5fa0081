// services.ini parsing over arbitrary bytes: every host stays a usable base URL.
#include "net/ServiceHosts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CServiceHosts hosts;
    hosts.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::wstring* host : {&hosts.WeatherCdn(), &hosts.WeatherOrigin(), &hosts.StaticCdn(),
                                     &hosts.Wallpaper(), &hosts.Stats(), &hosts.ToolDownload()}) {
        if (host->rfind(L"http", 0) != 0 || host->back() == L'/' || host->find(L' ') != std::wstring::npos) {
            std::abort();
        }
    }
    return 0;
}
