// Recognising MPEG audio in a memory image: the tags around it, its first
// frame header, and the format record a Layer-3 converter is handed.
#pragma once

#include "wave_format_record.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct MpegFrameHeader {
    int version = 0; // 1 (MPEG-1), 2 (MPEG-2) or 25 (MPEG-2.5)
    int layer = 0;   // 1..3
    int bitrateKbps = 0;
    int sampleRate = 0;
    int padding = 0;
    bool mono = false;
    int FrameLength() const;
};

// The four bytes at header, or nothing for a missing sync, the reserved
// version or layer, or a free or invalid bitrate or sample-rate index.
std::optional<MpegFrameHeader> ParseMpegFrameHeader(std::span<const std::uint8_t, 4> header);

struct MpegAudioStart {
    WaveFormatRecord format; // tag 85, the first frame's rate and channels
    std::size_t rawStart = 0;
    std::size_t rawLength = 0;
};

// Skips an ID3v2 tag at the start and leaves out an ID3v1 block at the end,
// then reads the first frame header there. The delivered bytes begin four
// bytes after that header's start.
std::optional<MpegAudioStart> FindMpegAudio(std::span<const std::uint8_t> image);
