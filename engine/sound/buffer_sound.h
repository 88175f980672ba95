// The buffer build of the sound: the file decoded by a WaveSource into one
// mixer buffer per simultaneous copy, with its own volume. The streaming
// sound derives from it.
#pragma once

#include "sound_base.h"

#include "platform/audio_device.h"

#include <memory>
#include <vector>

class SoundDevice;
class WaveSource;

class CBufferSound : public CSoundBase {
public:
    // Loads the file through the file service and copies its PCM into one
    // buffer. Only with a device; nullptr when the file does not open, has
    // no PCM, or the buffer cannot be made.
    static CBufferSound* Create(SoundDevice& device, const char16_t* name);
    ~CBufferSound() override;

    // Restarts a buffer that is not playing (or, all playing, a random one)
    // from its beginning; flags 1 loops. Succeeds silently without a device.
    int Play(int priority, DWORD flags) override;
    void Stop();
    // 0..100; applied to every buffer.
    void SetVolume(int volume);

    // Hundredths of a decibel for a volume of 0..100: 20 log10(v / 100)
    // truncated to whole decibels; 0 is the floor.
    static LONG AttenuationOf(int volume);

    DWORD Size() const { return size_; }
    int Count() const { return count_; }
    int Looping() const { return looping_; }
    int Volume() const { return volume_; }
    int Streamed() const { return streamed_; }
    AudioBuffer* Buffer(int index) const { return buffers_[index].get(); }
    const WaveSource* Source() const { return source_.get(); }

protected:
    CBufferSound(std::shared_ptr<AudioBuffer> buffer, DWORD size,
                 std::shared_ptr<WaveSource> source, int streamed);

    std::vector<std::shared_ptr<AudioBuffer>> buffers_;
    DWORD size_;
    std::shared_ptr<WaveSource> source_;
    int count_;
    int looping_ = 0;
    int volume_ = 100;
    int streamed_;
};
