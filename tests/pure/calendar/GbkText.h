#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "LunarGolden.h"

// GBK bytes of a UTF-8 text made of ASCII and the characters of the engine's texts, from the generated map.
// A character outside the map comes out as "?", which no expected text contains.
inline std::string Gbk(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += utf8[i++];
            continue;
        }
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::string_view ch = utf8.substr(i, length);
        i += length;
        bool found = false;
        for (const GoldenGlyph& glyph : kGoldenGbk) {
            if (ch == glyph.utf8) {
                out += static_cast<char>(glyph.lead);
                out += static_cast<char>(glyph.trail);
                found = true;
                break;
            }
        }
        if (!found) {
            out += '?';
        }
    }
    return out;
}
