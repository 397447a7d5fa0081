#pragma once

#include <string>
#include <vector>

// The arguments of a full command line split by the shell's rules, without the program path.
std::vector<std::wstring> ArgumentsOf(const wchar_t* commandLine);
