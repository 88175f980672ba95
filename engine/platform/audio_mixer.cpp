#include "audio_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// A block of PCM frames as the mixer reads it.
struct PcmView {
    const std::uint8_t* bytes = nullptr;
    std::uint64_t frames = 0;
    WaveFormat format;
};

float SampleAt(const PcmView& pcm, std::uint64_t frame, int channel) {
    const std::uint8_t* at = pcm.bytes + frame * pcm.format.blockAlign;
    if (pcm.format.bitsPerSample == 8) {
        return (static_cast<int>(at[channel]) - 128) / 128.0f;
    }
    auto value = static_cast<std::int16_t>(at[2 * channel] | (at[2 * channel + 1] << 8));
    return value / 32768.0f;
}

// The source's frame as heard on one output channel: mono feeds every
// channel, stereo folds to mono by averaging.
float OutputSample(const PcmView& pcm, std::uint64_t frame, int channel, int outputChannels) {
    if (pcm.format.channels == outputChannels) {
        return SampleAt(pcm, frame, channel);
    }
    if (pcm.format.channels == 1) {
        return SampleAt(pcm, frame, 0);
    }
    return (SampleAt(pcm, frame, 0) + SampleAt(pcm, frame, 1)) * 0.5f;
}

float GainOf(LONG volume) {
    if (volume <= DSBVOLUME_MIN) {
        return 0.0f;
    }
    return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

// Source frames per output frame in 32.32 fixed point, so a cursor never
// drifts against the output clock.
std::uint64_t StepOf(DWORD sourceRate, DWORD outputRate) {
    return (static_cast<std::uint64_t>(sourceRate) << 32) / outputRate;
}

struct MixResult {
    std::uint64_t consumed = 0; // whole source frames the cursor moved over
    bool ended = false;         // a one-shot block ran out
};

// Adds frames of output to mix, reading the source from position (frames,
// 32.32 fixed point) with linear interpolation and advancing position.
MixResult MixPcm(const PcmView& pcm, bool looping, float gain, std::uint64_t step,
                 std::uint64_t& position, float* mix, std::size_t frames, int outputChannels) {
    MixResult result;
    const std::uint64_t length = pcm.frames;
    const std::uint64_t wrap = length << 32;
    for (std::size_t i = 0; i < frames; ++i) {
        const std::uint64_t index = position >> 32;
        if (gain > 0.0f) {
            const std::uint64_t next = index + 1 < length ? index + 1 : (looping ? 0 : index);
            const float fraction = static_cast<float>(position & 0xFFFFFFFFu) / 4294967296.0f;
            for (int c = 0; c < outputChannels; ++c) {
                float a = OutputSample(pcm, index, c, outputChannels);
                float b = OutputSample(pcm, next, c, outputChannels);
                mix[i * outputChannels + c] += gain * (a + (b - a) * fraction);
            }
        }
        position += step;
        if (position >= wrap) {
            if (!looping) {
                result.consumed += length - index;
                result.ended = true;
                position = 0;
                return result;
            }
            result.consumed += (position >> 32) - index;
            position %= wrap;
        } else {
            result.consumed += (position >> 32) - index;
        }
    }
    return result;
}

} // namespace

class MixerBuffer;

struct MixerState {
    struct Voice {
        std::vector<std::uint8_t> pcm;
        WaveFormat format;
        std::uint64_t position = 0;
        bool looping = false;
        bool playing = false;
    };

    DWORD outputRate = 0;
    WORD outputChannels = 0;
    mutable std::mutex mutex;
    std::vector<MixerBuffer*> buffers;
    Voice voice;
    std::function<void()> lockGate;
    std::vector<float> mix;
};

class MixerBuffer final : public AudioBuffer {
public:
    MixerBuffer(std::shared_ptr<MixerState> state, const AudioBufferDesc& desc)
        : state_(std::move(state)), desc_(desc),
          memory_(desc.bytes, desc.format.bitsPerSample == 8 ? 0x80 : 0),
          step_(StepOf(desc.format.samplesPerSec, state_->outputRate)) {
        std::lock_guard lock(state_->mutex);
        state_->buffers.push_back(this);
    }
    ~MixerBuffer() override {
        std::lock_guard lock(state_->mutex);
        std::erase(state_->buffers, this);
    }

    AudioResult Lock(DWORD offset, DWORD bytes, LockedRegion* region) override {
        RunLockGate();
        std::lock_guard lock(state_->mutex);
        if (lost_) {
            return AudioResult::BufferLost;
        }
        if (region == nullptr || bytes == 0 || offset >= desc_.bytes || bytes > desc_.bytes) {
            return AudioResult::InvalidParam;
        }
        DWORD tail = desc_.bytes - offset;
        region->first = memory_.data() + offset;
        region->firstBytes = std::min(bytes, tail);
        region->second = bytes > tail ? memory_.data() : nullptr;
        region->secondBytes = bytes > tail ? bytes - tail : 0;
        return AudioResult::Ok;
    }

    AudioResult Unlock(const LockedRegion& region) override {
        std::lock_guard lock(state_->mutex);
        const std::uint8_t* begin = memory_.data();
        const std::uint8_t* end = begin + memory_.size();
        if (region.first < begin || region.first + region.firstBytes > end) {
            return AudioResult::InvalidParam;
        }
        return AudioResult::Ok;
    }

    AudioResult Play(DWORD /*priority*/, DWORD flags) override {
        std::lock_guard lock(state_->mutex);
        if (lost_) {
            return AudioResult::BufferLost;
        }
        playing_ = true;
        looping_ = (flags & DSBPLAY_LOOPING) != 0;
        return AudioResult::Ok;
    }

    AudioResult Stop() override {
        std::lock_guard lock(state_->mutex);
        playing_ = false;
        return AudioResult::Ok;
    }

    AudioResult GetStatus(DWORD* status) override {
        std::lock_guard lock(state_->mutex);
        DWORD value = 0;
        if (playing_) {
            value |= DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0);
        }
        if (lost_) {
            value |= DSBSTATUS_BUFFERLOST;
        }
        *status = value;
        return AudioResult::Ok;
    }

    AudioResult GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) override {
        std::lock_guard lock(state_->mutex);
        // Software mixing: what the mixer has read is gone, so the write
        // cursor is the play cursor.
        auto cursor = static_cast<DWORD>((position_ >> 32) * desc_.format.blockAlign);
        if (playCursor != nullptr) {
            *playCursor = cursor;
        }
        if (writeCursor != nullptr) {
            *writeCursor = cursor;
        }
        return AudioResult::Ok;
    }

    AudioResult SetCurrentPosition(DWORD offset) override {
        std::lock_guard lock(state_->mutex);
        if (offset >= desc_.bytes) {
            return AudioResult::InvalidParam;
        }
        position_ = static_cast<std::uint64_t>(offset / desc_.format.blockAlign) << 32;
        return AudioResult::Ok;
    }

    AudioResult SetVolume(LONG hundredthsOfDb) override {
        if (hundredthsOfDb < DSBVOLUME_MIN || hundredthsOfDb > DSBVOLUME_MAX) {
            return AudioResult::InvalidParam;
        }
        std::lock_guard lock(state_->mutex);
        volume_ = hundredthsOfDb;
        return AudioResult::Ok;
    }

    AudioResult GetVolume(LONG* hundredthsOfDb) override {
        std::lock_guard lock(state_->mutex);
        *hundredthsOfDb = volume_;
        return AudioResult::Ok;
    }

    AudioResult Restore() override {
        std::lock_guard lock(state_->mutex);
        lost_ = false;
        return AudioResult::Ok;
    }

    AudioResult SetNotificationPositions(std::span<const AudioNotifyPosition> positions) override {
        std::lock_guard lock(state_->mutex);
        if (playing_) {
            return AudioResult::Failed;
        }
        for (const AudioNotifyPosition& position : positions) {
            if (position.offset >= desc_.bytes || position.event == nullptr) {
                return AudioResult::InvalidParam;
            }
        }
        notifications_.assign(positions.begin(), positions.end());
        return AudioResult::Ok;
    }

    // The mixer's side; the state's lock is held.
    void MixInto(float* mix, std::size_t frames) {
        if (!playing_ || lost_) {
            return;
        }
        PcmView pcm{memory_.data(), desc_.bytes / desc_.format.blockAlign, desc_.format};
        const std::uint64_t start = position_ >> 32;
        MixResult result = MixPcm(pcm, looping_, GainOf(volume_), step_, position_, mix, frames,
                                  state_->outputChannels);
        if (result.ended) {
            playing_ = false;
        }
        SignalPassedPositions(pcm.frames, start, result.consumed);
    }

    void Lose() {
        lost_ = true;
        playing_ = false;
        // What the output device leaves behind is not our sound.
        std::fill(memory_.begin(), memory_.end(), 0xA5);
    }

private:
    void RunLockGate() {
        std::function<void()> gate;
        {
            std::lock_guard lock(state_->mutex);
            gate = state_->lockGate;
        }
        if (gate) {
            gate();
        }
    }

    // A position is passed when the cursor moves onto the frame after it.
    // Signalling under the mixer's lock keeps the event alive: its owner
    // releases this buffer before it destroys the event.
    void SignalPassedPositions(std::uint64_t length, std::uint64_t start, std::uint64_t consumed) {
        if (consumed == 0) {
            return;
        }
        for (const AudioNotifyPosition& position : notifications_) {
            std::uint64_t after = (position.offset / desc_.format.blockAlign + 1) % length;
            std::uint64_t distance = (after + length - start) % length;
            if (distance == 0) {
                distance = length;
            }
            if (distance <= consumed) {
                position.event->Signal();
            }
        }
    }

    std::shared_ptr<MixerState> state_;
    AudioBufferDesc desc_;
    std::vector<std::uint8_t> memory_;
    std::uint64_t step_;
    std::uint64_t position_ = 0;
    bool playing_ = false;
    bool looping_ = false;
    bool lost_ = false;
    LONG volume_ = DSBVOLUME_MAX;
    std::vector<AudioNotifyPosition> notifications_;
};

AudioMixer::AudioMixer(DWORD outputRate, WORD outputChannels)
    : outputRate_(outputRate), outputChannels_(outputChannels),
      state_(std::make_shared<MixerState>()) {
    state_->outputRate = outputRate;
    state_->outputChannels = outputChannels;
}

AudioMixer::~AudioMixer() = default;

bool AudioMixer::Open() {
    if (opened_ < 0) {
        opened_ = OpenOutput() ? 1 : 0;
    }
    return opened_ == 1;
}

std::shared_ptr<AudioBuffer> AudioMixer::CreateBuffer(const AudioBufferDesc& desc) {
    if (!Open() || !IsPlayablePcm(desc.format) || desc.bytes < DSBSIZE_MIN ||
        desc.bytes > DSBSIZE_MAX || desc.bytes < desc.format.blockAlign) {
        return nullptr;
    }
    return std::make_shared<MixerBuffer>(state_, desc);
}

bool AudioMixer::PlaySound(const WaveFormat& format, std::span<const std::uint8_t> pcm,
                           DWORD flags) {
    if (!Open()) {
        return true;
    }
    if (!IsPlayablePcm(format)) {
        return false;
    }
    std::lock_guard lock(state_->mutex);
    MixerState::Voice& voice = state_->voice;
    voice.pcm.assign(pcm.begin(), pcm.end());
    voice.format = format;
    voice.position = 0;
    voice.looping = (flags & SND_LOOP) != 0;
    voice.playing = pcm.size() >= format.blockAlign;
    return true;
}

bool AudioMixer::StopSounds() {
    std::lock_guard lock(state_->mutex);
    state_->voice.playing = false;
    state_->voice.pcm.clear();
    return true;
}

void AudioMixer::Render(std::int16_t* out, std::size_t frames) {
    std::lock_guard lock(state_->mutex);
    std::vector<float>& mix = state_->mix;
    mix.assign(frames * outputChannels_, 0.0f);
    for (MixerBuffer* buffer : state_->buffers) {
        buffer->MixInto(mix.data(), frames);
    }
    MixerState::Voice& voice = state_->voice;
    if (voice.playing) {
        PcmView pcm{voice.pcm.data(), voice.pcm.size() / voice.format.blockAlign, voice.format};
        MixResult result =
            MixPcm(pcm, voice.looping, 1.0f, StepOf(voice.format.samplesPerSec, outputRate_),
                   voice.position, mix.data(), frames, outputChannels_);
        voice.playing = !result.ended;
    }
    for (std::size_t i = 0; i < mix.size(); ++i) {
        float scaled = std::clamp(mix[i] * 32768.0f, -32768.0f, 32767.0f);
        out[i] = static_cast<std::int16_t>(std::lround(scaled));
    }
}

std::size_t AudioMixer::LiveBuffers() const {
    std::lock_guard lock(state_->mutex);
    return state_->buffers.size();
}

bool AudioMixer::VoicePlaying() const {
    std::lock_guard lock(state_->mutex);
    return state_->voice.playing;
}

void AudioMixer::LoseAllBuffers() {
    std::lock_guard lock(state_->mutex);
    for (MixerBuffer* buffer : state_->buffers) {
        buffer->Lose();
    }
}

void AudioMixer::SetLockGate(std::function<void()> gate) {
    std::lock_guard lock(state_->mutex);
    state_->lockGate = std::move(gate);
}
