#include "companions/wpapp/CommandLineArgs.h"

#include <windows.h>
#include <shellapi.h>

std::vector<std::wstring> ArgumentsOf(const wchar_t* commandLine) {
    std::vector<std::wstring> args;
    // CommandLineToArgvW reads an empty text as "this program's own command line"; an empty text has no arguments.
    if (!commandLine || !*commandLine) {
        return args;
    }
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(commandLine, &count);
    if (!argv) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        args.emplace_back(argv[i]);
    }
    ::LocalFree(argv);
    return args;
}
