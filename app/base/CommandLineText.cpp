#include "app/base/CommandLineText.h"

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

} // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    line = line.substr(0, line.find(L'\0'));
    std::vector<std::wstring> elements(1);
    size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        const size_t close = line.find(L'"', 1);
        elements[0] = line.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
        i = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && !IsBlank(line[i])) {
            elements[0].push_back(line[i++]);
        }
    }

    // quotes: 0 outside a group, 1 inside; it reaches 2 or 3 only within a run of quotes.
    int quotes = 0;
    size_t backslashes = 0;
    bool between = true;
    while (i < line.size()) {
        const wchar_t c = line[i];
        if (IsBlank(c) && quotes == 0) {
            between = true;
            backslashes = 0;
            ++i;
            continue;
        }
        if (between) {
            elements.emplace_back();
            between = false;
        }
        std::wstring& element = elements.back();
        if (c == L'\\') {
            element.push_back(c);
            ++backslashes;
            ++i;
            continue;
        }
        if (c != L'"') {
            element.push_back(c);
            backslashes = 0;
            ++i;
            continue;
        }
        if (backslashes % 2 == 0) {
            element.resize(element.size() - backslashes / 2);
            ++quotes;
        } else {
            element.resize(element.size() - backslashes / 2 - 1);
            element.push_back(L'"');
        }
        backslashes = 0;
        // Further quotes of the run: every third one counting the group's opening quote is a literal.
        for (++i; i < line.size() && line[i] == L'"'; ++i) {
            if (++quotes == 3) {
                element.push_back(L'"');
                quotes = 0;
            }
        }
        if (quotes == 2) {
            quotes = 0;
        }
    }
    return elements;
}

std::wstring QuoteCommandLineElement(const std::wstring& element) {
    if (!element.empty() && element.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return element;
    }
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : element) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    // The closing quote follows, so trailing backslashes are doubled too.
    quoted.append(2 * backslashes, L'\\');
    quoted.push_back(L'"');
    return quoted;
}
