// "VexaNetUL.dll": the HTTP task library. One manager per process, alive as long as the library.
#include "companions/netul/HttpManager.h"

namespace {

// Transfers still running at shutdown get this long to notice and end.
constexpr DWORD kShutdownWaitMs = 3000;

CHttpManager& Manager() {
    static CHttpManager manager;
    return manager;
}

} // namespace

extern "C" {

__declspec(dllexport) IHttpManager* WINAPI HttpInit() {
    return &Manager();
}

__declspec(dllexport) void WINAPI HttpUninit(IHttpManager* manager) {
    if (manager == &Manager()) {
        Manager().Shutdown(kShutdownWaitMs);
    }
}
}
