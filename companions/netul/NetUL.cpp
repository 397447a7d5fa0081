// "VexaNetUL.dll": the HTTP task library. One manager per process, alive as long as the library.
#include "companions/netul/HttpManager.h"

namespace {

// Shutdown closes the requests of running transfers, which on Windows fails a call blocked on one at once;
// Wine 8 lets such a call block on until its own time-out, so the wait for transfers to end is bounded
// short. A transfer left running keeps the library mapped until its thread leaves it.
constexpr DWORD kShutdownWaitMs = 500;

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
