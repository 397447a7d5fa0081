#include "app/SystemUtils.h"

void AllowWindowMessage(UINT message) {
    using ChangeFilterFn = BOOL(WINAPI*)(UINT, DWORD);
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32) {
        return;
    }
    auto change = reinterpret_cast<ChangeFilterFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(user32, "ChangeWindowMessageFilter")));
    if (change) {
        constexpr DWORD kMsgFltAdd = 1;
        change(message, kMsgFltAdd);
    }
}
