#pragma once

#include <string>
#include <string_view>
#include <vector>

// The elements of a command line, split as the system splits one for a program: the program path
// first (up to the closing quote when it starts with one, else up to the first blank, with no escapes),
// then blank-separated elements where quotes group, 2n backslashes before a quote make n and open or
// close the group, 2n+1 make n and a literal quote, and a quote doubled inside a group is a literal one.
// The text ends at its first NUL. Outside text, so kept free of the system and fuzzed.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

// One element as it must be written into a command line for SplitCommandLine to give it back: as it is when it
// has no blank or quote, else quoted, with backslashes doubled where a quote follows them. Not for the program
// path, which has no escapes.
std::wstring QuoteCommandLineElement(const std::wstring& element);
