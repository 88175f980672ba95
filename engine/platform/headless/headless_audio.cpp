#include "headless_audio.h"

#include <condition_variable>
#include <mutex>

namespace {
constexpr DWORD kOutputRate = 44100;
constexpr WORD kOutputChannels = 2;
} // namespace

struct HeadlessAudioDevice::LockHold {
    std::mutex mutex;
    std::condition_variable released;
    bool held = false;
    std::size_t waiting = 0;

    void Pass() {
        std::unique_lock lock(mutex);
        ++waiting;
        released.wait(lock, [this] { return !held; });
        --waiting;
    }
};

HeadlessAudioDevice::HeadlessAudioDevice()
    : AudioMixer(kOutputRate, kOutputChannels), hold_(std::make_shared<LockHold>()) {
    // The gate shares the hold, so a thread still parked in it when the
    // device goes away touches nothing freed.
    SetLockGate([hold = hold_] { hold->Pass(); });
}

HeadlessAudioDevice::~HeadlessAudioDevice() {
    ReleaseLocks();
}

bool HeadlessAudioDevice::PlaySound(const WaveFormat& format, std::span<const std::uint8_t> pcm,
                                    DWORD flags) {
    voiceCalls_.push_back({false, format, pcm.size(), flags});
    return AudioMixer::PlaySound(format, pcm, flags);
}

bool HeadlessAudioDevice::StopSounds() {
    voiceCalls_.push_back({true, {}, 0, 0});
    return AudioMixer::StopSounds();
}

void HeadlessAudioDevice::Advance(DWORD milliseconds) {
    std::uint64_t before = elapsedMs_ * OutputRate() / 1000;
    elapsedMs_ += milliseconds;
    AdvanceFrames(static_cast<std::size_t>(elapsedMs_ * OutputRate() / 1000 - before));
}

void HeadlessAudioDevice::AdvanceFrames(std::size_t frames) {
    if (!Open() || frames == 0) {
        return;
    }
    std::size_t start = output_.size();
    output_.resize(start + frames * OutputChannels());
    Render(output_.data() + start, frames);
}

void HeadlessAudioDevice::HoldLocks() {
    std::lock_guard lock(hold_->mutex);
    hold_->held = true;
}

void HeadlessAudioDevice::ReleaseLocks() {
    {
        std::lock_guard lock(hold_->mutex);
        hold_->held = false;
    }
    hold_->released.notify_all();
}

std::size_t HeadlessAudioDevice::LocksWaiting() const {
    std::lock_guard lock(hold_->mutex);
    return hold_->waiting;
}
