// The software mixer both audio backends share: it keeps the buffers and
// the memory-sound voice, converts each to the output's rate and channel
// layout, applies volume, moves the play cursors and signals notification
// positions. A backend supplies the output (OpenOutput) and pulls mixed
// frames with Render, from whatever thread drives it.
#pragma once

#include "audio_device.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

struct MixerState;

class AudioMixer : public AudioDevice {
public:
    // Output: interleaved signed 16-bit frames of outputChannels (1 or 2).
    AudioMixer(DWORD outputRate, WORD outputChannels);
    ~AudioMixer() override;
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    bool Open() override;
    std::shared_ptr<AudioBuffer> CreateBuffer(const AudioBufferDesc& desc) override;
    bool PlaySound(const WaveFormat& format, std::span<const std::uint8_t> pcm,
                   DWORD flags) override;
    bool StopSounds() override;

    DWORD OutputRate() const { return outputRate_; }
    WORD OutputChannels() const { return outputChannels_; }

    // Mixes the next frames into out (frames x channels samples) and moves
    // every playing cursor by the same stretch of time.
    void Render(std::int16_t* out, std::size_t frames);

    // Buffers not yet released.
    std::size_t LiveBuffers() const;
    // Whether the memory-sound voice is sounding.
    bool VoicePlaying() const;

protected:
    // Opens the backend's output once; false when there is none.
    virtual bool OpenOutput() = 0;
    // Takes every buffer's memory away, as when another program seizes the
    // output; Restore gives it back.
    void LoseAllBuffers();
    // Runs at the start of every Lock, outside the mixer's lock.
    void SetLockGate(std::function<void()> gate);

private:
    DWORD outputRate_;
    WORD outputChannels_;
    int opened_ = -1; // -1 not tried, then 0 or 1
    std::shared_ptr<MixerState> state_;
};
