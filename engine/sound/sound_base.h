// The engine's sound object. Two builds share this interface: the memory
// sound (the whole file played by the platform's memory-sound voice, used
// by the clock and the daily calendar) and the buffer sound (decoded PCM in
// a mixer buffer, used by the monthly calendar), which the streaming sound
// extends. Owners create them with new and delete them.
#pragma once

#include "platform/win32_types.h"

class CSoundBase {
public:
    virtual ~CSoundBase() = default;
    // flags 1 asks for looping; priority matters only to buffer sounds.
    // Nonzero on success.
    virtual int Play(int priority, DWORD flags) = 0;

    CSoundBase(const CSoundBase&) = delete;
    CSoundBase& operator=(const CSoundBase&) = delete;

protected:
    CSoundBase() = default;
};
