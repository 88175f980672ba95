// Assembles MG01 files for the loader tests from entry headers and data.
#pragma once

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct EntryFields {
    std::uint8_t flags = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t bitsPerPixel = 24;
    std::uint8_t count = 0;
    std::uint8_t escape = 0;
    Bytes data;
};

inline void PutLe(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(std::uint8_t(value >> (8 * i)));
    }
}

// Version 256 puts the table at 16; a later version adds four unused values
// and the table at 32.
inline Bytes BuildMg01(const std::vector<EntryFields>& entries, std::uint32_t version = 256) {
    std::uint32_t table = version > 256 ? 32 : 16;
    std::uint32_t base = table + 4 * std::uint32_t(entries.size());
    Bytes out{'M', 'G', '0', '1'};
    PutLe(out, version, 4);
    PutLe(out, std::uint32_t(entries.size()), 2);
    PutLe(out, table, 2);
    PutLe(out, base, 2);
    PutLe(out, 0, 2);
    if (version > 256) {
        for (int i = 0; i < 4; ++i) {
            PutLe(out, 0xDEADBEEF, 4);
        }
    }
    std::uint32_t offset = 0;
    Bytes body;
    for (const EntryFields& e : entries) {
        PutLe(out, offset, 4);
        std::uint32_t length = (20 + std::uint32_t(e.data.size()) + 3) & ~3u;
        PutLe(body, 0, 2);
        body.push_back(e.flags);
        body.push_back(0);
        PutLe(body, 0, 4);
        PutLe(body, length, 4);
        PutLe(body, e.width, 2);
        PutLe(body, e.height, 2);
        body.push_back(e.bitsPerPixel);
        body.push_back(e.count);
        body.push_back(e.escape);
        body.push_back(0);
        body.insert(body.end(), e.data.begin(), e.data.end());
        body.resize(body.size() + (length - 20 - e.data.size()), 0);
        offset += length;
    }
    out.insert(out.end(), body.begin(), body.end());
    return out;
}
