#include "bench/win/BareLayeredWindow.h"

#include "e2e/E2eHarness.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace e2e;

constexpr wchar_t kBareSwitch[] = L"--bare-layered-window ";

// The bare process: a layered window with one pushed frame, then an idle message loop, which a timer of
// `timerMs` wakes when it is not 0.
[[noreturn]] void RunBareWindow(int width, int height, unsigned timerMs, const std::wstring& reportFile) {
    const auto start = Clock::now();
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DesklingBenchBareLayered";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 100, 100, width,
                                  height, nullptr, nullptr, wc.hInstance, nullptr);
    CWindowDC screen(nullptr);
    CMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    CBitmapHandle bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits) {
        std::fill_n(static_cast<uint32_t*>(bits), width * height, 0x80402010u); // half-transparent, as a widget is
    }
    CSelectObject select(memory.Get(), bitmap.Get());
    POINT dest{100, 100}, origin{0, 0};
    SIZE size{width, height};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateLayeredWindow(hwnd, screen.Get(), &dest, &size, memory.Get(), &origin, 0, &blend, ULW_ALPHA);
    std::ofstream(std::filesystem::path(reportFile)) << MillisecondsSince(start);
    if (timerMs != 0) {
        ::SetTimer(hwnd, 1, timerMs, nullptr);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&msg);
    }
    ::ExitProcess(0);
}

// Runs before main when this program was started as the bare process:
// "<switch><width> <height> <timer ms> <report file>".
[[maybe_unused]] const bool g_bareChecked = [] {
    const std::wstring commandLine = ::GetCommandLineW();
    const size_t at = commandLine.find(kBareSwitch);
    if (at != std::wstring::npos) {
        const wchar_t* rest = commandLine.c_str() + at + std::size(kBareSwitch) - 1;
        wchar_t* end = nullptr;
        const int width = static_cast<int>(std::wcstol(rest, &end, 10));
        const int height = static_cast<int>(std::wcstol(end, &end, 10));
        const auto timerMs = static_cast<unsigned>(std::wcstoul(end, &end, 10));
        RunBareWindow(width, height, timerMs, end + std::wcsspn(end, L" "));
    }
    return true;
}();

} // namespace

double bench::StartBareWindow(CChildProcess& bare, int width, int height, unsigned timerMs) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring report = MakeTempFolder(timerMs ? L"bench-ticking" : L"bench-bare") + L"\\latency.txt";
    double latencyMs = -1;
    if (bare.Start(Quoted(self) + L" " + kBareSwitch + std::to_wstring(width) + L" " + std::to_wstring(height) + L" " +
                   std::to_wstring(timerMs) + L" " + report)) {
        // The file may show before its figure does.
        WaitUntil([&] { return static_cast<bool>(std::ifstream(std::filesystem::path(report)) >> latencyMs); }, 10s);
    }
    DeleteTree(FolderOf(report));
    return latencyMs;
}
