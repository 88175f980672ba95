// The headless audio device: the shared mixer over a virtual output whose
// clock moves only when a test advances it. Everything mixed is kept, and
// the memory-sound voice's calls are recorded.
#pragma once

#include "platform/audio_mixer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class HeadlessAudioDevice final : public AudioMixer {
public:
    struct VoiceCall {
        bool stop = false; // StopSounds rather than PlaySound
        WaveFormat format;
        std::size_t bytes = 0;
        DWORD flags = 0;
    };

    // 44100 frames a second, stereo.
    HeadlessAudioDevice();
    ~HeadlessAudioDevice() override;

    bool PlaySound(const WaveFormat& format, std::span<const std::uint8_t> pcm,
                   DWORD flags) override;
    bool StopSounds() override;

    // --- Scripting ---------------------------------------------------------
    // As a machine without sound hardware; decided before the first Open.
    void SetPresent(bool present) { present_ = present; }
    // Mixes that much output time (the fractions of a frame carry over).
    void Advance(DWORD milliseconds);
    void AdvanceFrames(std::size_t frames);
    // Every Lock blocks until ReleaseLocks, like an output that hangs.
    void HoldLocks();
    void ReleaseLocks();
    std::size_t LocksWaiting() const;
    using AudioMixer::LoseAllBuffers;

    // --- Records -----------------------------------------------------------
    // Interleaved output frames mixed so far.
    const std::vector<std::int16_t>& Output() const { return output_; }
    void ClearOutput() { output_.clear(); }
    const std::vector<VoiceCall>& VoiceCalls() const { return voiceCalls_; }

protected:
    bool OpenOutput() override { return present_; }

private:
    struct LockHold;

    bool present_ = true;
    std::uint64_t elapsedMs_ = 0;
    std::vector<std::int16_t> output_;
    std::vector<VoiceCall> voiceCalls_;
    std::shared_ptr<LockHold> hold_;
};
