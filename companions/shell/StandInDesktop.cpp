// A desktop as the shell builds it, for tests that read icons out of another process: a top-level
// "Progman" window titled "Program Manager", its "SHELLDLL_DefView" child and that one's icon list
// view, covering the primary screen as the shell's does. Usage: StandInDesktop <ready file> <icon>...
// An icon is a caption, placed where the list view arranges it, or "caption@x,y", placed with its
// top-left corner at (x, y). Once the icons are in, the bounds of the last icon's item (left top right
// bottom, as the list view itself reports them) are written to the ready file. WM_CLOSE to Progman ends
// the program. With "--workerw" before the icons the view lives under a top-level "WorkerW" instead, as
// after a slideshow wallpaper started, and Progman stays empty.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "companions/shell/WriteThrough.h"

static LRESULT CALLBACK ProgmanProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count < 3) {
        return 2;
    }
    const bool workerw = std::wstring(arguments[2]) == L"--workerw";
    const int firstIcon = workerw ? 3 : 2;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    WNDCLASSW progmanClass = {};
    progmanClass.lpfnWndProc = ProgmanProc;
    progmanClass.hInstance = instance;
    progmanClass.lpszClassName = L"Progman";
    WNDCLASSW viewClass = progmanClass;
    viewClass.lpfnWndProc = ::DefWindowProcW;
    viewClass.lpszClassName = L"SHELLDLL_DefView";
    WNDCLASSW workerClass = viewClass;
    workerClass.lpszClassName = L"WorkerW";
    if (!::RegisterClassW(&progmanClass) || !::RegisterClassW(&viewClass) || !::RegisterClassW(&workerClass)) {
        return 1;
    }
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    HWND progman = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP | WS_VISIBLE, 0, 0,
                                     width, height, nullptr, nullptr, instance, nullptr);
    HWND holder = workerw ? ::CreateWindowExW(WS_EX_TOOLWINDOW, L"WorkerW", L"", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                              height, nullptr, nullptr, instance, nullptr)
                          : progman;
    HWND view = ::CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, holder,
                                  nullptr, instance, nullptr);
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE | LVS_ICON, 0, 0, width, height,
                                  view, nullptr, instance, nullptr);
    int last = -1;
    std::vector<std::pair<int, POINT>> places;
    for (int i = firstIcon; list && i < count; ++i) {
        std::wstring caption = arguments[i];
        const size_t at = caption.rfind(L'@');
        POINT place = {};
        if (at != std::wstring::npos && swscanf(caption.c_str() + at + 1, L"%ld,%ld", &place.x, &place.y) == 2) {
            caption.resize(at);
            places.emplace_back(i - firstIcon, place);
        }
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i - firstIcon;
        item.pszText = caption.data();
        last = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    // The list view arranges every icon at its first paint, so it paints before any icon is placed.
    ::UpdateWindow(holder);
    for (auto& [index, place] : places) {
        ::SendMessageW(list, LVM_SETITEMPOSITION32, index, reinterpret_cast<LPARAM>(&place));
    }
    // Placing leaves the label painted where the icon was arranged.
    ::InvalidateRect(list, nullptr, TRUE);
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    if (last < 0 || !::SendMessageW(list, LVM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&bounds)) ||
        !WriteThrough(arguments[1], std::to_string(bounds.left) + " " + std::to_string(bounds.top) + " " +
                                        std::to_string(bounds.right) + " " + std::to_string(bounds.bottom))) {
        return 1;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
