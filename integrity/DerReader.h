#pragma once

#include <cstdint>
#include <span>
#include <string>

// One DER element: its tag, its contents and the whole encoding (tag and length included).
struct DerElement {
    uint8_t tag = 0;
    std::span<const uint8_t> value;
    std::span<const uint8_t> whole;
};

namespace der {
constexpr uint8_t kInteger = 0x02;
constexpr uint8_t kOctetString = 0x04;
constexpr uint8_t kNull = 0x05;
constexpr uint8_t kOid = 0x06;
constexpr uint8_t kSequence = 0x30;
constexpr uint8_t kSet = 0x31;
// Context-specific constructed tags [0] and [1].
constexpr uint8_t kContext0 = 0xA0;
constexpr uint8_t kContext1 = 0xA1;
} // namespace der

// Reads consecutive DER elements from a byte range. Only what signed binaries use is accepted:
// single-byte tags and definite lengths of up to four bytes. Once a read fails the reader stays
// failed, so a chain of reads can be checked once at its end.
class CDerReader {
public:
    explicit CDerReader(std::span<const uint8_t> data) : m_rest(data) {}

    bool Next(DerElement& out);
    // Next element, which must carry the tag.
    bool Expect(uint8_t tag, DerElement& out);
    // Reads the next element only when it carries the tag; false (and no failure) otherwise.
    bool TakeIf(uint8_t tag, DerElement& out);
    // Reads the next element, which must be the OBJECT IDENTIFIER given in dotted form.
    bool ExpectOid(const char* dotted);

    bool AtEnd() const { return m_rest.empty(); }
    bool Failed() const { return m_failed; }

private:
    bool Fail() {
        m_failed = true;
        return false;
    }

    std::span<const uint8_t> m_rest;
    bool m_failed = false;
};

// Dotted text of an OBJECT IDENTIFIER's contents ("1.2.840.113549.1.7.2"); empty when malformed.
std::string DerOidText(std::span<const uint8_t> value);
