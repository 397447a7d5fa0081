#include "integrity/DerReader.h"

bool CDerReader::Next(DerElement& out) {
    if (m_failed || m_rest.size() < 2) {
        return Fail();
    }
    const uint8_t tag = m_rest[0];
    if ((tag & 0x1F) == 0x1F) {
        return Fail();
    }
    size_t length = m_rest[1];
    size_t header = 2;
    if (length & 0x80) {
        const size_t count = length & 0x7F;
        // 0x80 is the indefinite length of BER, which DER forbids.
        if (count == 0 || count > 4 || m_rest.size() < 2 + count) {
            return Fail();
        }
        length = 0;
        for (size_t i = 0; i < count; ++i) {
            length = (length << 8) | m_rest[2 + i];
        }
        header += count;
    }
    if (length > m_rest.size() - header) {
        return Fail();
    }
    out.tag = tag;
    out.value = m_rest.subspan(header, length);
    out.whole = m_rest.first(header + length);
    m_rest = m_rest.subspan(header + length);
    return true;
}

bool CDerReader::Expect(uint8_t tag, DerElement& out) {
    return Next(out) && (out.tag == tag || Fail());
}

bool CDerReader::TakeIf(uint8_t tag, DerElement& out) {
    if (m_failed || m_rest.empty() || m_rest[0] != tag) {
        return false;
    }
    return Next(out);
}

bool CDerReader::ExpectOid(const char* dotted) {
    DerElement oid;
    return Expect(der::kOid, oid) && (DerOidText(oid.value) == dotted || Fail());
}

std::string DerOidText(std::span<const uint8_t> value) {
    if (value.empty() || (value.back() & 0x80)) {
        return {};
    }
    std::string text;
    uint64_t arc = 0;
    bool first = true;
    for (const uint8_t byte : value) {
        if (arc > (UINT64_MAX >> 7)) {
            return {};
        }
        arc = (arc << 7) | (byte & 0x7F);
        if (byte & 0x80) {
            continue;
        }
        if (first) {
            // The first encoded number packs the first two arcs as 40 * x + y.
            const uint64_t top = arc < 80 ? arc / 40 : 2;
            text = std::to_string(top) + "." + std::to_string(arc - top * 40);
            first = false;
        } else {
            text += "." + std::to_string(arc);
        }
        arc = 0;
    }
    return text;
}
