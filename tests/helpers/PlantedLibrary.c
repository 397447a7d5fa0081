/* A library planted under the names of system libraries: loaded anywhere, it leaves a file named after the
   name it was loaded under in the folder that DESKLING_PLANT_MARKERS names. Nothing but kernel32 is used, as
   it may stand in for any other library. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    wchar_t marker[2 * MAX_PATH];
    wchar_t own[MAX_PATH];
    const wchar_t* name = own;
    const wchar_t* p;
    DWORD length;
    HANDLE file;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    length = GetEnvironmentVariableW(L"DESKLING_PLANT_MARKERS", marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !GetModuleFileNameW(instance, own, MAX_PATH)) {
        return TRUE;
    }
    for (p = own; *p; ++p) {
        if (*p == L'\\') {
            name = p + 1;
        }
    }
    lstrcatW(marker, L"\\");
    lstrcatW(marker, name);
    file = CreateFileW(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return TRUE;
}
