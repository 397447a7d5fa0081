#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

// Writes zip files in tests, as common tools lay them out, so that tests can damage chosen fields.
namespace zip_writer {

using Bytes = std::vector<uint8_t>;

struct Member {
    std::string name;
    std::string content;
    bool deflate;
};

inline void Put16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline void Set32(Bytes& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}
inline uint32_t Get32(const Bytes& in, size_t at) {
    return in[at] | in[at + 1] << 8 | in[at + 2] << 16 | static_cast<uint32_t>(in[at + 3]) << 24;
}

inline std::string RawDeflate(const std::string& text) {
    z_stream s{};
    deflateInit2(&s, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&s, text.size()), '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    s.avail_in = static_cast<uInt>(text.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

// A zip file: local headers and data, the central directory, the end record.
inline Bytes MakeZip(const std::vector<Member>& members, const std::string& comment = "") {
    Bytes out, directory;
    for (const Member& m : members) {
        const std::string packed = m.deflate ? RawDeflate(m.content) : m.content;
        const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(m.content.data()), m.content.size());
        const uint32_t offset = static_cast<uint32_t>(out.size());
        for (Bytes* header : {&out, &directory}) {
            const bool central = header == &directory;
            Put32(*header, central ? 0x02014b50 : 0x04034b50);
            if (central) {
                Put16(*header, 20);
            }
            Put16(*header, 20);
            Put16(*header, 0);
            Put16(*header, m.deflate ? 8 : 0);
            Put32(*header, 0);
            Put32(*header, crc);
            Put32(*header, static_cast<uint32_t>(packed.size()));
            Put32(*header, static_cast<uint32_t>(m.content.size()));
            Put16(*header, static_cast<uint32_t>(m.name.size()));
            Put16(*header, 0);
            if (central) {
                Put16(*header, 0), Put16(*header, 0), Put16(*header, 0), Put32(*header, 0), Put32(*header, offset);
            }
            header->insert(header->end(), m.name.begin(), m.name.end());
        }
        out.insert(out.end(), packed.begin(), packed.end());
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    Put32(out, 0x06054b50);
    Put32(out, 0);
    Put16(out, static_cast<uint32_t>(members.size()));
    Put16(out, static_cast<uint32_t>(members.size()));
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, static_cast<uint32_t>(comment.size()));
    out.insert(out.end(), comment.begin(), comment.end());
    return out;
}

} // namespace zip_writer
