#include "companions/wpapp/WpappOptions.h"

namespace {

const std::wstring kChannelPrefix = L"/channel=";

std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows; then each one must be escaped, and so must the quote.
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    // The closing quote follows, so trailing backslashes are doubled too.
    quoted.append(2 * backslashes, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

} // namespace

WpappOptions ParseWpappOptions(const std::vector<std::wstring>& args) {
    WpappOptions options;
    for (const std::wstring& arg : args) {
        if (arg == L"/quit") {
            options.quit = true;
        } else if (arg == L"opensuperwp") {
            options.open = true;
            options.showSwitchBar = true;
            options.showFence = true;
        } else if (arg == L"/switchbar") {
            options.showSwitchBar = true;
        } else if (arg == L"/fence") {
            options.showFence = true;
        } else if (arg == L"/hidebars") {
            options.hideBars = true;
        } else if (arg.compare(0, kChannelPrefix.size(), kChannelPrefix) == 0) {
            options.hasChannel = true;
            options.channel = arg.substr(kChannelPrefix.size());
        } else {
            options.passOn.push_back(arg);
        }
    }
    return options;
}

std::wstring JoinCommandLine(const std::vector<std::wstring>& args) {
    std::wstring text;
    for (const std::wstring& arg : args) {
        if (!text.empty()) {
            text.push_back(L' ');
        }
        text += QuoteArgument(arg);
    }
    return text;
}
