#include "buffer_sound.h"

#include "buffer_fill.h"
#include "sound_device.h"
#include "wave_source.h"

#include "base/process_random.h"

#include <algorithm>
#include <cmath>

CBufferSound::CBufferSound(std::shared_ptr<AudioBuffer> buffer, DWORD size,
                           std::shared_ptr<WaveSource> source, int streamed)
    : size_(size), source_(std::move(source)), count_(1), streamed_(streamed) {
    buffers_.push_back(std::move(buffer));
}

CBufferSound::~CBufferSound() = default;

CBufferSound* CBufferSound::Create(SoundDevice& device, const char16_t* name) {
    if (device.Device() == nullptr) {
        return nullptr;
    }
    auto source = std::make_shared<WaveSource>();
    if (!source->Open(name, WaveSource::kModeLoad) || source->PcmSize() == 0) {
        return nullptr;
    }
    AudioBufferDesc desc;
    desc.flags = DSBCAPS_CTRLVOLUME | DSBCAPS_LOCSOFTWARE;
    desc.bytes = source->PcmSize();
    desc.format = source->PcmFormat();
    std::shared_ptr<AudioBuffer> buffer = device.Device()->CreateBuffer(desc);
    if (buffer == nullptr) {
        return nullptr;
    }
    FillWholeBuffer(*buffer, desc.bytes, source.get(), false);
    buffer->SetCurrentPosition(0);
    return new CBufferSound(std::move(buffer), desc.bytes, std::move(source), 0);
}

int CBufferSound::Play(int priority, DWORD flags) {
    if (SoundDevice::NoDevice()) {
        return 1;
    }
    if (buffers_.empty()) {
        return 0;
    }
    AudioBuffer* chosen = nullptr;
    for (const std::shared_ptr<AudioBuffer>& buffer : buffers_) {
        DWORD status = 0;
        if (buffer->GetStatus(&status) == AudioResult::Ok && (status & DSBSTATUS_PLAYING) == 0) {
            chosen = buffer.get();
            break;
        }
    }
    if (chosen == nullptr) {
        chosen = buffers_[NextRandom() % count_].get();
    }
    DWORD status = 0;
    if (chosen->GetStatus(&status) == AudioResult::Ok && (status & DSBSTATUS_BUFFERLOST) != 0) {
        FillWholeBuffer(*chosen, size_, source_.get(), false);
    }
    chosen->SetCurrentPosition(0);
    looping_ = flags == 1 ? 1 : 0;
    return chosen->Play(static_cast<DWORD>(priority), flags) == AudioResult::Ok ? 1 : 0;
}

void CBufferSound::Stop() {
    for (const std::shared_ptr<AudioBuffer>& buffer : buffers_) {
        buffer->Stop();
    }
    looping_ = 0;
}

LONG CBufferSound::AttenuationOf(int volume) {
    if (volume <= 0) {
        return DSBVOLUME_MIN;
    }
    // log10(v) - 2 rather than log10(v / 100): exact at 10 and 100, so the
    // truncation cannot slip a whole decibel.
    double decibels = 20.0 * (std::log10(static_cast<double>(volume)) - 2.0);
    return static_cast<LONG>(std::trunc(decibels)) * 100;
}

void CBufferSound::SetVolume(int volume) {
    volume_ = std::clamp(volume, 0, 100);
    LONG attenuation = AttenuationOf(volume_);
    for (const std::shared_ptr<AudioBuffer>& buffer : buffers_) {
        buffer->SetVolume(attenuation);
    }
}
