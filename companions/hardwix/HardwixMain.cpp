// HardwixService.exe: measures the machine's temperatures every two seconds and publishes each complete
// set in the session's sensor block, where DataMgr.dll in every interested program picks it up. It ends
// when a newer service or the installer claims its place, or when no reader has looked for a while.
#include <windows.h>

#include <algorithm>
#include <string>

#include "companions/hardwix/SensorBlock.h"
#include "companions/hardwix/SensorReader.h"
#include "companions/hardwix/ServiceInstance.h"

namespace {
constexpr DWORD kCycleMs = 2000;
constexpr DWORD kClaimWaitMs = 5000;
// The library is loaded first and this service started after it; without a reader for this long the
// program that wanted readings has gone.
constexpr uint64_t kIdleExitMs = 30000;

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

struct ComApartment {
    ComApartment() : entered(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComApartment() {
        if (entered) {
            ::CoUninitialize();
        }
    }
    bool entered;
};
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    // The starter waits until this process is idle for input; having a message queue that is empty
    // ends that wait at once instead of after its full timeout.
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);

    CServiceInstance instance;
    if (!instance.Claim(kClaimWaitMs)) {
        ::OutputDebugStringW(L"HardwixService: the running service did not hand over\n");
        return 1;
    }
    CSensorBlock block;
    if (!block.Create()) {
        ::OutputDebugStringW(L"HardwixService: no sensor block\n");
        return 2;
    }
    ComApartment com;
    CSensorReader reader(ModuleFolder());
    const uint64_t started = ::GetTickCount64();
    do {
        block.Publish(reader.ReadAll());
        const uint64_t lastSeen = std::max(started, block.LastReaderTick());
        if (::GetTickCount64() - lastSeen > kIdleExitMs) {
            break;
        }
    } while (::WaitForSingleObject(instance.QuitEvent(), kCycleMs) == WAIT_TIMEOUT);
    return 0;
}
