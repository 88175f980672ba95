#include "wave_source.h"

#include "mpeg_audio_start.h"
#include "riff_chunks.h"

#include "base/text16.h"
#include "data/mg_file.h"
#include "platform/mpeg_audio_decoder.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>

namespace {

constexpr std::size_t kFmtFixedSize = 16;

// A path opened directly, as the multimedia file I/O would; nothing when it
// cannot be read.
std::unique_ptr<std::uint8_t[]> ReadWholeFile(const char16_t* path, std::size_t* length) {
    std::ifstream file(Utf16ToUtf8(path), std::ios::binary | std::ios::ate);
    if (!file) {
        return nullptr;
    }
    std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > std::numeric_limits<DWORD>::max()) {
        return nullptr;
    }
    auto bytes = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.get()), size)) {
        return nullptr;
    }
    *length = static_cast<std::size_t>(size);
    return bytes;
}

DWORD ClampToDword(std::uint64_t value) {
    return static_cast<DWORD>(std::min<std::uint64_t>(value, std::numeric_limits<DWORD>::max()));
}

} // namespace

WaveSource::WaveSource() = default;

WaveSource::~WaveSource() {
    Close();
}

void WaveSource::SetMemoryImage(const std::uint8_t* image, DWORD length) {
    image_ = image;
    imageLength_ = length;
}

int WaveSource::Open(const char16_t* name, int mode) {
    kind_ = kKindRiff;
    if (!TakeImage(name, mode)) {
        Close();
        return 0;
    }
    if (imageLength_ >= 4 && std::memcmp(image_, "OggS", 4) == 0) {
        // Recognised, but there is no Ogg decoder.
        kind_ = kKindOgg;
        Close();
        return 0;
    }
    if (!ParseWave() && (mode == kModeFile || !UseMpegFallback())) {
        Close();
        return 0;
    }
    Rewind();
    pcmSize_ = ClampToDword(rawMode_ ? rawLength_ : dataLength_);
    if (encodedFormat_.format.formatTag == WAVE_FORMAT_PCM) {
        // PCM the mixer cannot play (24-bit, many channels, a block size that
        // does not match) is as undecodable as an unknown compression.
        if (!IsPlayablePcm(encodedFormat_.format)) {
            Close();
            return 0;
        }
        pcmFormat_ = encodedFormat_.format;
        isPcm_ = true;
        return 1;
    }
    if (!PrepareConversion()) {
        Close();
        return 0;
    }
    return 1;
}

bool WaveSource::TakeImage(const char16_t* name, int mode) {
    if (mode == kModeMemory) {
        return image_ != nullptr;
    }
    if (mode == kModeFile) {
        ownedImage_ = ReadWholeFile(name, &imageLength_);
    } else {
        CMGFile* files = CMGFile::Service();
        DWORD size = 0;
        ownedImage_.reset(files != nullptr ? files->LoadFile(name, &size) : nullptr);
        imageLength_ = size;
    }
    image_ = ownedImage_.get();
    return image_ != nullptr;
}

bool WaveSource::ParseWave() {
    std::span<const std::uint8_t> image = Image();
    auto form = FindRiffForm(image, FourCC("WAVE"));
    if (!form) {
        return false;
    }
    formBegin_ = form->dataOffset + 4;
    formEnd_ = form->DataEnd();
    auto fmt = FindChunk(image, formBegin_, formEnd_, FourCC("fmt "));
    if (!fmt || fmt->size < kFmtFixedSize || fmt->available < kFmtFixedSize) {
        return false;
    }
    WaveFormatRecord record;
    const std::size_t at = fmt->dataOffset;
    record.format.formatTag = ReadLe16(image, at);
    record.format.channels = ReadLe16(image, at + 2);
    record.format.samplesPerSec = ReadLe32(image, at + 4);
    record.format.avgBytesPerSec = ReadLe32(image, at + 8);
    record.format.blockAlign = ReadLe16(image, at + 12);
    record.format.bitsPerSample = ReadLe16(image, at + 14);
    if (record.format.formatTag != WAVE_FORMAT_PCM && fmt->available >= kFmtFixedSize + 2) {
        // Extra bytes the chunk does not hold are not invented.
        std::size_t stored = fmt->available - kFmtFixedSize - 2;
        std::size_t extra = std::min<std::size_t>(ReadLe16(image, at + kFmtFixedSize), stored);
        record.extraSize = static_cast<WORD>(extra);
        const std::uint8_t* first = image.data() + at + kFmtFixedSize + 2;
        record.extra.assign(first, first + extra);
    }
    auto data = FindChunk(image, formBegin_, formEnd_, FourCC("data"));
    if (!data) {
        return false;
    }
    dataBegin_ = data->dataOffset;
    dataLength_ = data->available;
    encodedFormat_ = std::move(record);
    return true;
}

bool WaveSource::UseMpegFallback() {
    auto start = FindMpegAudio(Image());
    if (!start) {
        return false;
    }
    encodedFormat_ = std::move(start->format);
    rawMode_ = true;
    rawStart_ = start->rawStart;
    rawLength_ = start->rawLength;
    return true;
}

bool WaveSource::PrepareConversion() {
    auto output = MpegAudioDecoder::SuggestPcmFormat(encodedFormat_.format);
    if (!output || encodedFormat_.format.avgBytesPerSec == 0) {
        return false;
    }
    decoder_ = std::make_unique<MpegAudioDecoder>();
    if (!decoder_->Open(*output)) {
        return false;
    }
    pcmFormat_ = *output;
    isPcm_ = false;
    // The decoded length is estimated from the byte rates, as the converter
    // would; 64-bit so a long file does not wrap.
    pcmSize_ = ClampToDword(static_cast<std::uint64_t>(pcmSize_) * pcmFormat_.avgBytesPerSec /
                            encodedFormat_.format.avgBytesPerSec);
    return true;
}

void WaveSource::Rewind() {
    if (rawMode_) {
        rawCurrent_ = rawStart_;
    } else {
        dataLeft_ = dataLength_;
    }
    if (decoder_) {
        // The decoder may hold half a frame: start it afresh with the bytes.
        output_.clear();
        decoder_->Open(pcmFormat_);
    }
}

DWORD WaveSource::Read(std::uint8_t* out, DWORD n) {
    if (image_ == nullptr) {
        return 0;
    }
    return isPcm_ ? ReadEncoded(out, n) : ReadConverted(out, n);
}

DWORD WaveSource::ReadEncoded(std::uint8_t* out, DWORD n) {
    std::size_t count;
    if (rawMode_) {
        count = std::min<std::size_t>(n, rawStart_ + rawLength_ - rawCurrent_);
        std::copy_n(image_ + rawCurrent_, count, out);
        rawCurrent_ += count;
    } else {
        count = std::min<std::size_t>(n, dataLeft_);
        std::copy_n(image_ + dataBegin_ + (dataLength_ - dataLeft_), count, out);
        dataLeft_ -= count;
    }
    return static_cast<DWORD>(count);
}

DWORD WaveSource::ReadConverted(std::uint8_t* out, DWORD n) {
    // The encoded bytes that should yield n bytes of PCM, rounded up.
    const std::uint64_t encodedRate = encodedFormat_.format.avgBytesPerSec;
    const std::uint64_t pcmRate = pcmFormat_.avgBytesPerSec;
    sourceBuffer_.resize(std::max<std::uint64_t>(1, (n * encodedRate + pcmRate - 1) / pcmRate));
    while (output_.size() < n) {
        DWORD got = ReadEncoded(sourceBuffer_.data(), static_cast<DWORD>(sourceBuffer_.size()));
        if (got == 0 || !decoder_->Convert({sourceBuffer_.data(), got}, output_)) {
            break;
        }
    }
    std::size_t count = std::min<std::size_t>(n, output_.size());
    std::copy_n(output_.data(), count, out);
    output_.erase(output_.begin(), output_.begin() + static_cast<std::ptrdiff_t>(count));
    return static_cast<DWORD>(count);
}

void WaveSource::Close() {
    decoder_.reset();
    sourceBuffer_ = {};
    output_ = {};
    ownedImage_.reset();
    image_ = nullptr;
    imageLength_ = 0;
    rawMode_ = false;
    isPcm_ = false;
    dataLeft_ = 0;
}
