// The memory build of the sound: the file's whole image kept in memory and
// played through the platform's one memory-sound voice, so a new play
// replaces whatever that voice was playing.
#pragma once

#include "sound_base.h"

#include <cstdint>
#include <memory>

class CMemorySound final : public CSoundBase {
public:
    // Reads the whole file through the file service. nullptr when nothing
    // can be read or the image does not decode to PCM (Ogg, neither RIFF
    // WAVE nor MPEG audio, a compression we cannot decode), so callers fall
    // back to another sound instead of playing silence.
    static CMemorySound* Create(const char16_t* name);

    // Asynchronous; flags 1 loops until Stop. Returns the platform's result.
    int Play(int priority, DWORD flags) override;
    // Silences every sound of the process, then forgets the loop request.
    void Stop();

    const std::uint8_t* Data() const { return data_.get(); }
    DWORD Size() const { return size_; }
    int Looping() const { return looping_; }

private:
    CMemorySound(std::unique_ptr<std::uint8_t[]> data, DWORD size);

    std::unique_ptr<std::uint8_t[]> data_;
    DWORD size_;
    int looping_ = 0;
};
