#include "sound_device.h"

#include "streaming_sound.h"

#include "platform/platform.h"

#include <atomic>

namespace {
// Set until a device has started, and again once it stops.
std::atomic<bool> g_noDevice{true};
} // namespace

SoundDevice::SoundDevice() = default;

SoundDevice::~SoundDevice() {
    Stop();
}

bool SoundDevice::NoDevice() {
    return g_noDevice;
}

int SoundDevice::Start(HWND window) {
    g_noDevice = true;
    window_ = window;
    AudioDevice& device = Sys().Audio();
    if (!device.Open()) {
        return 0;
    }
    device_ = &device;
    g_noDevice = false;
    stream_.reset(CStreamingSound::Create(device, CStreamingSound::kSegmentSize,
                                          CStreamingSound::kSegmentCount, DSBCAPS_GLOBALFOCUS));
    if (stream_ != nullptr) {
        stream_->Play(0, 1);
    }
    return 1;
}

void SoundDevice::Stop() {
    stream_.reset();
    device_ = nullptr;
    g_noDevice = true;
}
