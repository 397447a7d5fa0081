#pragma once

#include <string>

// The text handling of the system utilities, kept apart from Win32 so it is tested natively.

// A version string as shown: every "," becomes "." and blanks go ("1, 2, 3, 4" -> "1.2.3.4").
std::wstring NormaliseVersionText(const std::wstring& text);

// The browser's registered open command made to open address: its "%1" replaced by the address, or,
// when it has none, the address appended after one blank.
std::wstring BrowserCommandLine(const std::wstring& command, const std::wstring& address);

// The command line of a started program: the quoted path, a blank, then the arguments.
std::wstring LaunchCommandLine(const std::wstring& path, const std::wstring& arguments);

// path taken relative to the folder of moduleFile unless it names a drive or starts at a root.
std::wstring ResolveBesideModule(const std::wstring& moduleFile, const std::wstring& path);
