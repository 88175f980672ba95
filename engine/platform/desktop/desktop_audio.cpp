// The audio device: the SDL2 output, made on first use so that programs
// without sound never open one.
#include "desktop_platform.h"

#include "desktop_audio_sdl.h"

AudioDevice& DesktopPlatform::Audio() {
    if (state_.audio == nullptr) {
        state_.audio = std::make_unique<SdlAudioDevice>();
    }
    return *state_.audio;
}
