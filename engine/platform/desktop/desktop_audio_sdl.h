// The desktop's audio output: the shared mixer pulled by SDL2's audio
// callback. The output is opened on first use; when SDL cannot open one (no
// sound hardware, no server) the device counts as absent and plays succeed
// without sounding. SDL_AUDIODRIVER selects the driver as usual ("dummy"
// runs the clock silently, "disk" writes the mix to a file).
#pragma once

#include "platform/audio_mixer.h"

#include <cstdint>

class SdlAudioDevice final : public AudioMixer {
public:
    // 44100 frames a second, stereo.
    SdlAudioDevice();
    // Closes the output first, so no callback runs into a dying mixer.
    ~SdlAudioDevice() override;

protected:
    bool OpenOutput() override;

private:
    std::uint32_t output_ = 0; // SDL_AudioDeviceID, 0 while closed
};
