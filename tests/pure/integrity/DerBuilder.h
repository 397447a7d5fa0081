#pragma once

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

// Builds DER by hand for the parser tests, independently of the parser.
using Bytes = std::vector<uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline Bytes Tlv(uint8_t tag, const Bytes& value) {
    Bytes out{tag};
    const size_t n = value.size();
    if (n < 0x80) {
        out.push_back(static_cast<uint8_t>(n));
    } else if (n < 0x100) {
        out.insert(out.end(), {0x81, static_cast<uint8_t>(n)});
    } else {
        out.insert(out.end(), {0x82, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
    }
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

inline Bytes Seq(std::initializer_list<Bytes> parts) {
    return Tlv(0x30, Cat(parts));
}

inline Bytes Set(std::initializer_list<Bytes> parts) {
    return Tlv(0x31, Cat(parts));
}

inline Bytes Ctx0(std::initializer_list<Bytes> parts) {
    return Tlv(0xA0, Cat(parts));
}

inline Bytes Octets(size_t count, uint8_t value) {
    return Tlv(0x04, Bytes(count, value));
}

inline Bytes Int(uint8_t value) {
    return Tlv(0x02, {value});
}

inline Bytes Null() {
    return {0x05, 0x00};
}

// OBJECT IDENTIFIER from dotted text: 40 * first + second, then base-128 arcs.
inline Bytes Oid(const std::string& dotted) {
    std::vector<uint64_t> arcs;
    for (size_t start = 0; start <= dotted.size();) {
        const size_t dot = dotted.find('.', start);
        const size_t end = dot == std::string::npos ? dotted.size() : dot;
        arcs.push_back(std::strtoull(dotted.substr(start, end - start).c_str(), nullptr, 10));
        start = end + 1;
    }
    std::vector<uint64_t> encoded{arcs[0] * 40 + arcs[1]};
    encoded.insert(encoded.end(), arcs.begin() + 2, arcs.end());
    Bytes value;
    for (const uint64_t arc : encoded) {
        Bytes groups{static_cast<uint8_t>(arc & 0x7F)};
        for (uint64_t rest = arc >> 7; rest != 0; rest >>= 7) {
            groups.insert(groups.begin(), static_cast<uint8_t>(0x80 | (rest & 0x7F)));
        }
        value.insert(value.end(), groups.begin(), groups.end());
    }
    return Tlv(0x06, value);
}
