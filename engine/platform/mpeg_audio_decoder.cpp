#include "mpeg_audio_decoder.h"

#include <mpg123.h>

struct MpegAudioDecoder::Stream {
    mpg123_handle* handle = nullptr;
    ~Stream() { mpg123_delete(handle); }
};

std::optional<WaveFormat> MpegAudioDecoder::SuggestPcmFormat(const WaveFormat& encoded) {
    bool mpeg =
        encoded.formatTag == WAVE_FORMAT_MPEG || encoded.formatTag == WAVE_FORMAT_MPEGLAYER3;
    if (!mpeg || (encoded.channels != 1 && encoded.channels != 2) || encoded.samplesPerSec == 0) {
        return std::nullopt;
    }
    return MakePcmFormat(encoded.channels, encoded.samplesPerSec, 16);
}

MpegAudioDecoder::MpegAudioDecoder() = default;
MpegAudioDecoder::~MpegAudioDecoder() = default;

bool MpegAudioDecoder::Open(const WaveFormat& pcm) {
    Close();
    // Needed once per process by library versions before 1.27.
    static const bool initialised = mpg123_init() == MPG123_OK;
    if (!initialised || pcm.bitsPerSample != 16) {
        return false;
    }
    auto stream = std::make_unique<Stream>();
    stream->handle = mpg123_new(nullptr, nullptr);
    if (stream->handle == nullptr ||
        mpg123_param(stream->handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0) != MPG123_OK ||
        mpg123_format_none(stream->handle) != MPG123_OK ||
        mpg123_format(stream->handle, static_cast<long>(pcm.samplesPerSec), pcm.channels,
                      MPG123_ENC_SIGNED_16) != MPG123_OK ||
        mpg123_open_feed(stream->handle) != MPG123_OK) {
        return false;
    }
    stream_ = std::move(stream);
    return true;
}

bool MpegAudioDecoder::Convert(std::span<const std::uint8_t> encoded,
                               std::vector<std::uint8_t>& pcm) {
    if (!stream_) {
        return false;
    }
    if (!encoded.empty() &&
        mpg123_feed(stream_->handle, encoded.data(), encoded.size()) != MPG123_OK) {
        return false;
    }
    for (;;) {
        off_t frame = 0;
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        int result = mpg123_decode_frame(stream_->handle, &frame, &audio, &bytes);
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            pcm.insert(pcm.end(), audio, audio + bytes);
        } else {
            return result == MPG123_NEED_MORE || result == MPG123_DONE;
        }
    }
}

void MpegAudioDecoder::Close() {
    stream_.reset();
}
