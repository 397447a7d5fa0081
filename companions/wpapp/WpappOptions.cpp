#include "companions/wpapp/WpappOptions.h"

#include "app/base/CommandLineText.h"

namespace {

const std::wstring kChannelPrefix = L"/channel=";

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
        text += QuoteCommandLineElement(arg);
    }
    return text;
}
