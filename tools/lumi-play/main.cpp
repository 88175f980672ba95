// lumi-play: plays a WAV or MP3 file through the engine's sound classes, so
// a person can check by ear that the click and the voices sound here.
//
//   lumi-play [--buffer] [--loop] FILE
//
// By default the memory sound plays it (as the clock and the daily calendar
// do); --buffer starts the sound device with its silent stream and plays a
// buffer sound (as the monthly calendar does). --loop plays three rounds.
#include "base/text16.h"
#include "data/mg_file.h"
#include "platform/platform.h"
#include "platform/platform_registry.h"
#include "sound/buffer_sound.h"
#include "sound/memory_sound.h"
#include "sound/sound_device.h"
#include "sound/wave_source.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <thread>

namespace {

struct Options {
    bool buffer = false;
    bool loop = false;
    const char* file = nullptr;
};

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--buffer") {
            options->buffer = true;
        } else if (arg == "--loop") {
            options->loop = true;
        } else if (options->file == nullptr && !arg.starts_with("--")) {
            options->file = argv[i];
        } else {
            return false;
        }
    }
    return options->file != nullptr;
}

// The desktop backend when this build has it: it owns the real output.
const char* ChooseBackend() {
    for (const PlatformBackend& backend : PlatformBackends()) {
        if (std::string_view(backend.name) == "desktop") {
            return backend.name;
        }
    }
    return "headless";
}

// Plays the sound and waits while it sounds; returns the play result.
int PlayAndWait(CSoundBase& sound, const Options& options, double seconds) {
    int result = sound.Play(0, options.loop ? 1 : 0);
    double rounds = options.loop ? 3.0 : 1.0;
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds * rounds + 0.2));
    return result;
}

} // namespace

int main(int argc, char** argv) {
    // Line by line, so the report survives whatever happens at exit.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fputs("usage: lumi-play [--buffer] [--loop] FILE\n", stderr);
        return 2;
    }
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(options.file, error);
    if (error || !std::filesystem::is_regular_file(path)) {
        std::fprintf(stderr, "lumi-play: %s: no such file\n", options.file);
        return 1;
    }

    const char* backend = ChooseBackend();
    SelectPlatform(backend);
    CMGFile files;
    files.absolutePathMode = true;
    const std::u16string name = Utf8ToUtf16(path.string());

    WaveSource probe;
    if (!probe.Open(name.c_str(), WaveSource::kModeLoad)) {
        std::fprintf(stderr, "lumi-play: %s does not decode to PCM (%s)\n", options.file,
                     probe.Kind() == WaveSource::kKindOgg ? "Ogg" : "not RIFF WAVE or MPEG audio");
        return 1;
    }
    const WaveFormat& format = probe.PcmFormat();
    const double seconds = static_cast<double>(probe.PcmSize()) / format.avgBytesPerSec;
    std::printf("%s: %u Hz, %u channel(s), %u bits, %u PCM bytes (%.2f s)%s\n", options.file,
                format.samplesPerSec, format.channels, format.bitsPerSample, probe.PcmSize(),
                seconds, probe.IsPcm() ? "" : ", decoded from MPEG audio");
    std::printf("backend %s, output %s\n", backend,
                Sys().Audio().Open() ? "open" : "absent (plays succeed silently)");

    int result = 0;
    if (options.buffer) {
        SoundDevice device;
        device.Start(nullptr);
        std::unique_ptr<CBufferSound> sound(CBufferSound::Create(device, name.c_str()));
        if (sound == nullptr) {
            std::puts(SoundDevice::NoDevice() ? "no device: no buffer sound is made"
                                              : "the buffer sound could not be made");
            return SoundDevice::NoDevice() ? 0 : 1;
        }
        result = PlayAndWait(*sound, options, seconds);
        sound->Stop();
    } else {
        std::unique_ptr<CMemorySound> sound(CMemorySound::Create(name.c_str()));
        if (sound == nullptr) {
            std::puts("the memory sound could not be made");
            return 1;
        }
        result = PlayAndWait(*sound, options, seconds);
        sound->Stop();
    }
    std::printf("play %s\n", result ? "succeeded" : "failed");
    return result ? 0 : 1;
}
