// One open sound file delivering PCM bytes in order: a RIFF WAVE file read
// by our own chunk reader, or, for images in memory, raw MPEG audio frames;
// anything that is not PCM already is decoded on the way out.
#pragma once

#include "wave_format_record.h"

#include "platform/win32_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class MpegAudioDecoder;

class WaveSource {
public:
    // Open modes.
    static constexpr int kModeLoad = 0;   // whole file through the file service
    static constexpr int kModeFile = 1;   // the path read directly
    static constexpr int kModeMemory = 4; // the image given to SetMemoryImage
    // Kinds.
    static constexpr int kKindRiff = 1; // RIFF or any other content
    static constexpr int kKindOgg = 2;

    WaveSource();
    ~WaveSource();
    WaveSource(const WaveSource&) = delete;
    WaveSource& operator=(const WaveSource&) = delete;

    // The image memory mode reads; borrowed, so it must outlive the source.
    void SetMemoryImage(const std::uint8_t* image, DWORD length);

    // 1 when the source delivers PCM, 0 when it cannot: Ogg, neither RIFF
    // WAVE nor MPEG audio (MPEG only from memory images), or a format that
    // cannot be turned into playable PCM. name is unused in memory mode.
    int Open(const char16_t* name, int mode);
    // Back to the first PCM byte.
    void Rewind();
    // Copies up to n bytes of PCM; fewer only at the end.
    DWORD Read(std::uint8_t* out, DWORD n);
    void Close();

    const WaveFormat& PcmFormat() const { return pcmFormat_; }
    DWORD PcmSize() const { return pcmSize_; }
    int Kind() const { return kind_; }
    bool IsPcm() const { return isPcm_; }
    bool RawMode() const { return rawMode_; }
    // The file's own format when it is decoded.
    const WaveFormatRecord& EncodedFormat() const { return encodedFormat_; }

private:
    bool TakeImage(const char16_t* name, int mode);
    bool ParseWave();
    bool UseMpegFallback();
    bool PrepareConversion();
    DWORD ReadEncoded(std::uint8_t* out, DWORD n);
    DWORD ReadConverted(std::uint8_t* out, DWORD n);
    std::span<const std::uint8_t> Image() const { return {image_, imageLength_}; }

    WaveFormat pcmFormat_;
    WaveFormatRecord encodedFormat_;
    DWORD pcmSize_ = 0;
    int kind_ = kKindRiff;
    bool isPcm_ = false;

    // The image; ownedImage_ holds it unless it is borrowed.
    const std::uint8_t* image_ = nullptr;
    std::size_t imageLength_ = 0;
    std::unique_ptr<std::uint8_t[]> ownedImage_;

    // RIFF: where the form's chunks start and end, and the "data" chunk
    // with the bytes of it still to deliver.
    std::size_t formBegin_ = 0;
    std::size_t formEnd_ = 0;
    std::size_t dataBegin_ = 0;
    std::size_t dataLength_ = 0;
    std::size_t dataLeft_ = 0;

    // Raw mode: the image read directly from rawStart_ for rawLength_ bytes.
    bool rawMode_ = false;
    std::size_t rawStart_ = 0;
    std::size_t rawCurrent_ = 0;
    std::size_t rawLength_ = 0;

    // Decoding: the converter, the encoded bytes read per step, and PCM
    // converted but not yet handed out.
    std::unique_ptr<MpegAudioDecoder> decoder_;
    std::vector<std::uint8_t> sourceBuffer_;
    std::vector<std::uint8_t> output_;
};
