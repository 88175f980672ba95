#include "mpeg_audio_start.h"

#include "platform/mpeg_audio_decoder.h"

#include <array>
#include <cstring>

namespace {

constexpr std::size_t kId3v1Size = 128;
constexpr std::size_t kId3v2HeaderSize = 10;
constexpr WORD kMpegLayer3Id = 1;
constexpr DWORD kPaddingOn = 1;
constexpr DWORD kPaddingOff = 2;
constexpr WORD kCodecDelay = 1393;

// Bitrates in kbit/s by index 1..14 (ISO/IEC 11172-3 and 13818-3); index 0
// is free format and 15 is invalid.
constexpr std::array<std::array<int, 14>, 3> kMpeg1Bitrates = {{
    {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // Layer I
    {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // Layer II
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // Layer III
}};
constexpr std::array<std::array<int, 14>, 2> kMpeg2Bitrates = {{
    {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256}, // Layer I
    {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},      // Layers II, III
}};
constexpr std::array<int, 3> kMpeg1Rates = {44100, 48000, 32000};

void PutLe16(std::vector<std::uint8_t>& out, WORD value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLe32(std::vector<std::uint8_t>& out, DWORD value) {
    PutLe16(out, static_cast<WORD>(value));
    PutLe16(out, static_cast<WORD>(value >> 16));
}

WaveFormatRecord Layer3FormatRecord(const MpegFrameHeader& header) {
    WaveFormatRecord record;
    record.format.formatTag = WAVE_FORMAT_MPEGLAYER3;
    record.format.channels = header.mono ? 1 : 2;
    record.format.samplesPerSec = static_cast<DWORD>(header.sampleRate);
    record.format.avgBytesPerSec = static_cast<DWORD>(header.bitrateKbps * 1000 / 8);
    record.format.blockAlign = 1;
    record.format.bitsPerSample = 0;
    record.extraSize = 12;
    PutLe16(record.extra, kMpegLayer3Id);
    PutLe32(record.extra, header.padding ? kPaddingOn : kPaddingOff);
    PutLe16(record.extra, static_cast<WORD>(header.FrameLength()));
    PutLe16(record.extra, 1); // frames per block
    PutLe16(record.extra, kCodecDelay);
    return record;
}

} // namespace

int MpegFrameHeader::FrameLength() const {
    if (layer == 1) {
        return (12000 * bitrateKbps / sampleRate + padding) * 4;
    }
    return 144000 * bitrateKbps / sampleRate + padding;
}

std::optional<MpegFrameHeader> ParseMpegFrameHeader(std::span<const std::uint8_t, 4> header) {
    if (header[0] != 0xFF || header[1] < 0xE0) {
        return std::nullopt;
    }
    const int versionBits = (header[1] >> 3) & 3;
    const int layerBits = (header[1] >> 1) & 3;
    const int bitrateIndex = header[2] >> 4;
    const int rateIndex = (header[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3) {
        return std::nullopt;
    }
    MpegFrameHeader result;
    result.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    result.layer = 4 - layerBits;
    if (result.version == 1) {
        result.bitrateKbps = kMpeg1Bitrates[result.layer - 1][bitrateIndex - 1];
    } else {
        result.bitrateKbps = kMpeg2Bitrates[result.layer == 1 ? 0 : 1][bitrateIndex - 1];
    }
    const int divisor = result.version == 1 ? 1 : result.version == 2 ? 2 : 4;
    result.sampleRate = kMpeg1Rates[rateIndex] / divisor;
    result.padding = (header[2] >> 1) & 1;
    result.mono = (header[3] >> 6) == 3;
    return result;
}

std::optional<MpegAudioStart> FindMpegAudio(std::span<const std::uint8_t> image) {
    std::size_t end = image.size();
    if (end >= kId3v1Size && std::memcmp(image.data() + end - kId3v1Size, "TAG", 3) == 0) {
        end -= kId3v1Size;
    }
    std::size_t at = 0;
    if (image.size() >= 3 && std::memcmp(image.data(), "ID3", 3) == 0) {
        if (image.size() < kId3v2HeaderSize) {
            return std::nullopt;
        }
        // Four 7-bit groups, most significant first.
        std::size_t tagSize = 0;
        for (std::size_t i = 6; i < 10; ++i) {
            tagSize = tagSize << 7 | (image[i] & 0x7F);
        }
        at = kId3v2HeaderSize + tagSize;
        const bool hasFooter = image[3] > 3 && (image[5] & 0x10) != 0;
        if (hasFooter) {
            at += kId3v2HeaderSize;
        }
    }
    if (at > end || end - at < 4) {
        return std::nullopt;
    }
    auto header = ParseMpegFrameHeader(image.subspan(at).first<4>());
    if (!header) {
        return std::nullopt;
    }
    MpegAudioStart start;
    start.format = Layer3FormatRecord(*header);
    start.rawStart = at + 4;
    start.rawLength = end - at - 4;
    return start;
}
