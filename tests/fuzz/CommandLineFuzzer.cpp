// Command-line splitting and switch parsing over arbitrary UTF-16 text: no element holds a NUL or outgrows the
// text, no switch keeps blanks around it or an "=" in its key, and the elements after the program path, quoted
// back as a sender quotes them, split into themselves again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/base/CommandLineText.h"
#include "app/CommandParser.h"

namespace {

bool Blank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    }
    const std::vector<std::wstring> elements = SplitCommandLine(text);
    std::wstring again = L"p";
    for (size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].find(L'\0') != std::wstring::npos || elements[i].size() > text.size()) {
            std::abort();
        }
        if (i > 0) {
            again += L" " + QuoteCommandLineElement(elements[i]);
        }
    }
    const std::vector<std::wstring> split = SplitCommandLine(again);
    if (split.size() != elements.size() || !std::equal(split.begin() + 1, split.end(), elements.begin() + 1)) {
        std::abort();
    }

    CCommandParser parser;
    if (parser.Parse(text) != !text.empty() || parser.Switches().size() > elements.size()) {
        std::abort();
    }
    for (const auto& [key, value] : parser.Switches()) {
        for (const std::wstring* part : {&key, &value}) {
            if (!part->empty() && (Blank(part->front()) || Blank(part->back()))) {
                std::abort();
            }
        }
        if (key.find(L'=') != std::wstring::npos || parser.Value(key) != value) {
            std::abort();
        }
    }
    return 0;
}
