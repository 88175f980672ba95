// Small sound images built in memory: RIFF WAVE files with any format
// fields, and MPEG-1 Layer III frames of silence (zero side information,
// so every frame decodes on its own).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct WaveLayout {
    std::uint16_t tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 16;
    std::uint32_t fmtSize = 16; // bytes of "fmt " written (extra bytes are zero)
    bool withData = true;
    std::uint32_t declaredDataSize = 0xFFFFFFFF; // default: the real size
};

inline void PutLe16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void PutLe32(Bytes& out, std::uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}
inline void PutId(Bytes& out, const char* id) {
    out.insert(out.end(), id, id + 4);
}

inline Bytes MakeWave(const WaveLayout& layout, const Bytes& data) {
    Bytes body;
    PutId(body, "WAVE");
    PutId(body, "fmt ");
    PutLe32(body, layout.fmtSize);
    Bytes fmt;
    std::uint16_t block = static_cast<std::uint16_t>(layout.channels * layout.bits / 8);
    PutLe16(fmt, layout.tag);
    PutLe16(fmt, layout.channels);
    PutLe32(fmt, layout.rate);
    PutLe32(fmt, layout.rate * block);
    PutLe16(fmt, block);
    PutLe16(fmt, layout.bits);
    fmt.resize(layout.fmtSize, 0);
    body.insert(body.end(), fmt.begin(), fmt.end());
    if (layout.withData) {
        PutId(body, "data");
        PutLe32(body, layout.declaredDataSize == 0xFFFFFFFF
                          ? static_cast<std::uint32_t>(data.size())
                          : layout.declaredDataSize);
        body.insert(body.end(), data.begin(), data.end());
    }
    Bytes out;
    PutId(out, "RIFF");
    PutLe32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// 16-bit little-endian samples.
inline Bytes Samples16(const std::vector<std::int16_t>& samples) {
    Bytes out;
    for (std::int16_t s : samples) {
        PutLe16(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

inline Bytes Constant16(std::size_t count, std::int16_t value) {
    return Samples16(std::vector<std::int16_t>(count, value));
}

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, mono, no CRC: 417 bytes a frame
// (418 with padding), 1152 samples each.
inline constexpr std::size_t kMp3FrameBytes = 417;
inline constexpr std::size_t kMp3FrameSamples = 1152;
inline constexpr std::uint32_t kMp3BytesPerSecond = 128000 / 8;

inline Bytes Mp3Frames(int count) {
    Bytes out;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t header[4] = {0xFF, 0xFB, 0x90, 0xC0};
        out.insert(out.end(), header, header + 4);
        out.resize(out.size() + kMp3FrameBytes - 4, 0);
    }
    return out;
}

inline Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
