/* A library planted under the names of system libraries: loaded anywhere, it adds the path it was loaded from to
   the file that DESKLING_PLANT_MARKER names. It uses only kernel32, as it may stand in for any other library. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char marker[MAX_PATH], own[MAX_PATH + 1];
    DWORD length, written;
    HANDLE file;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    length = GetEnvironmentVariableA("DESKLING_PLANT_MARKER", marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return TRUE;
    }
    length = GetModuleFileNameA(instance, own, MAX_PATH);
    own[length] = '\n';
    file = CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, own, length + 1, &written, NULL);
        CloseHandle(file);
    }
    return TRUE;
}
