// The monthly calendar's sound device: the platform's audio output, the
// window it plays for, and the silent stream that keeps the output running.
// While no usable output exists a process-wide flag is set, and every
// buffer-sound play then succeeds without sounding.
#pragma once

#include "platform/audio_device.h"

#include <memory>

class CStreamingSound;

class SoundDevice {
public:
    SoundDevice();
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Opens the output and starts the silent stream looped. 0 when there is
    // no output (the no-device flag stays set).
    int Start(HWND window);
    // Destroys the stream (ending its worker) and lets go of the output.
    void Stop();

    static bool NoDevice();
    AudioDevice* Device() const { return device_; }
    HWND Window() const { return window_; }
    // nullptr when the stream could not be made.
    CStreamingSound* Stream() const { return stream_.get(); }

private:
    AudioDevice* device_ = nullptr;
    HWND window_ = nullptr;
    std::unique_ptr<CStreamingSound> stream_;
};
