// A desktop as the shell builds it, for tests that read icons out of another process: a top-level
// "Progman" window titled "Program Manager", its "SHELLDLL_DefView" child and that one's icon list
// view. Usage: FakeDesktop <ready file> <caption>...
// Once the icons are in, the bounds of the last caption's item (left top right bottom, as the list
// view itself reports them) are written to the ready file. WM_CLOSE to Progman ends the program.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

LRESULT CALLBACK ProgmanProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool WriteReady(const std::wstring& path, const RECT& bounds) {
    char text[96];
    const int length =
        std::snprintf(text, sizeof(text), "%ld %ld %ld %ld", bounds.left, bounds.top, bounds.right, bounds.bottom);
    const std::wstring temporary = path + L".part";
    HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
    ::CloseHandle(file);
    return ok && ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count < 3) {
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    WNDCLASSW progmanClass = {};
    progmanClass.lpfnWndProc = ProgmanProc;
    progmanClass.hInstance = instance;
    progmanClass.lpszClassName = L"Progman";
    WNDCLASSW viewClass = progmanClass;
    viewClass.lpfnWndProc = ::DefWindowProcW;
    viewClass.lpszClassName = L"SHELLDLL_DefView";
    if (!::RegisterClassW(&progmanClass) || !::RegisterClassW(&viewClass)) {
        return 1;
    }
    HWND progman = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                                     480, nullptr, nullptr, instance, nullptr);
    HWND view = ::CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, progman, nullptr,
                                  instance, nullptr);
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE | LVS_ICON, 0, 0, 640, 480,
                                  view, nullptr, instance, nullptr);
    if (!list) {
        return 1;
    }
    int last = -1;
    for (int i = 2; i < count; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i - 2;
        item.pszText = arguments[i];
        last = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    if (last < 0 || !::SendMessageW(list, LVM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&bounds)) ||
        !WriteReady(arguments[1], bounds)) {
        return 1;
    }
    ::LocalFree(arguments);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
