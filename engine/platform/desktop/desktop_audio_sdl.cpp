#include "desktop_audio_sdl.h"

#include <SDL.h>

namespace {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
constexpr Uint16 kCallbackFrames = 512; // about 12 ms a callback

void MixCallback(void* userdata, Uint8* stream, int length) {
    auto* mixer = static_cast<AudioMixer*>(userdata);
    std::size_t frames =
        static_cast<std::size_t>(length) / (sizeof(std::int16_t) * kOutputChannels);
    mixer->Render(reinterpret_cast<std::int16_t*>(stream), frames);
}

} // namespace

SdlAudioDevice::SdlAudioDevice() : AudioMixer(kOutputRate, kOutputChannels) {}

SdlAudioDevice::~SdlAudioDevice() {
    if (output_ != 0) {
        SDL_CloseAudioDevice(output_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool SdlAudioDevice::OpenOutput() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kOutputChannels;
    wanted.samples = kCallbackFrames;
    wanted.callback = MixCallback;
    wanted.userdata = static_cast<AudioMixer*>(this);
    // No allowed changes: SDL converts our format to whatever the hardware
    // takes, so the mixer always renders one known layout.
    SDL_AudioSpec obtained{};
    output_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (output_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(output_, 0);
    return true;
}
