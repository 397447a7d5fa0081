#include "app/CommandParser.h"

#include "app/base/CommandLineText.h"

namespace {

std::wstring Trim(const std::wstring& s) {
    const wchar_t* blanks = L" \t\r\n\v\f";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::wstring::npos) {
        return std::wstring();
    }
    size_t last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

} // namespace

bool CCommandParser::Parse(const std::wstring& text) {
    m_switches.clear();
    m_text.clear();
    if (text.empty()) {
        return false;
    }
    m_text = text;

    for (const std::wstring& element : SplitCommandLine(text)) {
        size_t eq = element.find(L'=');
        std::wstring key = eq == std::wstring::npos ? element : element.substr(0, eq);
        std::wstring value = eq == std::wstring::npos ? std::wstring() : element.substr(eq + 1);
        m_switches[Trim(key)] = Trim(value);
    }
    return true;
}

std::wstring CCommandParser::Value(const std::wstring& key) const {
    auto it = m_switches.find(key);
    return it == m_switches.end() ? std::wstring() : it->second;
}
