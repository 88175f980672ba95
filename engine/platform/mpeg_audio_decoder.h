// MPEG audio (Layers I-III) to 16-bit PCM. The engine's sound code reaches
// the decoding library only through this class.
#pragma once

#include "audio_device.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

inline constexpr WORD WAVE_FORMAT_MPEG = 0x0050;
inline constexpr WORD WAVE_FORMAT_MPEGLAYER3 = 0x0055;

class MpegAudioDecoder {
public:
    // The PCM an encoded format decodes to: 16 bits at the stream's rate and
    // channel count. Nothing when the format is not MPEG audio.
    static std::optional<WaveFormat> SuggestPcmFormat(const WaveFormat& encoded);

    MpegAudioDecoder();
    ~MpegAudioDecoder();
    MpegAudioDecoder(const MpegAudioDecoder&) = delete;
    MpegAudioDecoder& operator=(const MpegAudioDecoder&) = delete;

    // Starts a stream whose output is pcm (a suggested format).
    bool Open(const WaveFormat& pcm);
    // Takes the next encoded bytes (frames may be split anywhere) and appends
    // the PCM of every frame they complete. Bytes that are not frames are
    // skipped. False when the decoder fails.
    bool Convert(std::span<const std::uint8_t> encoded, std::vector<std::uint8_t>& pcm);
    void Close();

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
};
