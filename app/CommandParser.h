#pragma once

#include <map>
#include <string>

// The switches of one command line: "/key" or "/key=value" elements, matched whole and
// case-sensitively. The program path counts as an element like any other. Later instances hand their
// command lines over, so the text is outside input: it is split without the system (SplitCommandLine).
class CCommandParser {
public:
    virtual ~CCommandParser() = default;

    // Replaces the switches with those of text; false (and no switches) for an empty text.
    bool Parse(const std::wstring& text);
    bool Has(const std::wstring& key) const { return m_switches.count(key) != 0; }
    std::wstring Value(const std::wstring& key) const;
    const std::wstring& Text() const { return m_text; }
    const std::map<std::wstring, std::wstring>& Switches() const { return m_switches; }

private:
    std::wstring m_text;
    std::map<std::wstring, std::wstring> m_switches;
};
