#pragma once

#include <string>
#include <vector>

// What one companion command asks for. The companion's own options are taken out; every other
// argument is kept, in order, for deskling.exe.
struct WpappOptions {
    bool quit = false;
    // "opensuperwp": the user asked to open the application (the first-run guide's button); shows both bars.
    bool open = false;
    bool hideBars = false;
    bool showSwitchBar = false;
    bool showFence = false;
    bool hasChannel = false;
    std::wstring channel;
    std::vector<std::wstring> passOn;
};

// Sorts the arguments of one command (program path already removed) into options and pass-on switches.
WpappOptions ParseWpappOptions(const std::vector<std::wstring>& args);

// Joins arguments into one command-line text that the shell's splitting rules take apart into the same
// arguments again: an argument with blanks or quotes is quoted, with backslashes before a quote doubled.
std::wstring JoinCommandLine(const std::vector<std::wstring>& args);
