#pragma once

#include <windows.h>

#include "app/base/ScopedHandle.h"

#include <string>
#include <vector>

// Shell and kernel helpers shared by the widgets. None keeps state beyond the cached system facts.

// Lets a message through the user-interface privilege filter, so that a process at a lower
// integrity level can still send it. Does nothing where the system has no such filter.
void AllowWindowMessage(UINT message);

// The desktop's top-level window that holds the icon view (SHELLDLL_DefView): one of the "WorkerW" windows
// when a slideshow moved the view there, otherwise "Progman", which also holds it in the newer layout that
// keeps its "WorkerW" as a child. Null without a shell.
HWND FindDesktopWindow();

// The desktop's icon list view (SysListView32 under SHELLDLL_DefView), or null.
HWND FindDesktopListView();

// The bounds of the desktop icon whose caption matches (ignoring case), in list-view client
// coordinates. False when there is no desktop list view, no such icon, or the shell's process
// cannot be read.
bool GetDesktopIconRect(const wchar_t* caption, RECT* rect);

// The wallpaper application's visible bar window the widgets stay beneath, or null.
HWND FindWallpaperBar();

// The file's version as "a.b.c.d"; false (and text empty) when the file has no version resource.
bool GetFileVersionText(const wchar_t* path, std::wstring* text);

// The same with the source chosen by the caller: the string table's FileVersion (falling back to the
// fixed numbers when absent) or the fixed numbers only. GetFileVersionText picks by system.
bool GetFileVersionTextFrom(const wchar_t* path, bool preferStringTable, std::wstring* text);

// Starts path with arguments. relative: a relative path is taken from the folder of baseModule (this
// program when null). verify: the file must pass IsTrustedFile. waitForIdle: waits up to waitMs for
// the new process to be idle for input. True when the process started.
bool LaunchProcess(HMODULE baseModule, const wchar_t* path, const wchar_t* arguments, int showCommand, bool waitForIdle,
                   DWORD waitMs, bool verify, bool relative);

// Starts a process at medium integrity, so an elevated caller does not hand its elevation on.
// executable may be null (the command text then names the program). The caller closes the handles
// in process on success.
bool RunAtMediumIntegrity(const wchar_t* executable, const wchar_t* commandText, const wchar_t* currentFolder,
                          STARTUPINFOW* startup, PROCESS_INFORMATION* process);

// Loads a system library by its file name from the system folder, never from beside the program or the
// current folder, with its own imports restricted the same way where the system can; null when it fails.
CModule LoadSystemLibrary(const wchar_t* fileName);

// Opens the address in the user's browser; an empty address is a success that does nothing.
bool OpenUrl(const wchar_t* address);

// The hardware tool's folder from its setup record "Setup Path" in the given registry view (its installer
// writes both), with a trailing separator; empty when absent.
std::wstring HardwareToolFolder(REGSAM view);

// True when the hardware tool is installed with a trusted hardware-data library, found through the setup record
// of the given view (64-bit for the program's own utilities, 32-bit for the monitor); logs a missing or untrusted
// library.
bool IsHardwareLibraryReady(REGSAM view = KEY_WOW64_64KEY);

// Starts the hardware tool's service program with the arguments, when it is installed.
void StartHardwareService(const wchar_t* arguments);

// System facts, computed once.
bool Is64BitSystem();
bool IsVistaOrLater();
bool IsWindows10OrLater();
