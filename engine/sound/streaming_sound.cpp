#include "streaming_sound.h"

#include "buffer_fill.h"
#include "sound_device.h"
#include "wave_source.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {
constexpr auto kQuitGrace = std::chrono::milliseconds(2000);
constexpr DWORD kRingFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLPOSITIONNOTIFY |
                             DSBCAPS_GETCURRENTPOSITION2;
} // namespace

// The part of a stream its worker touches, shared by the stream and the
// worker: a worker that does not end within the quit grace is left to run
// out on its own and must still find everything it uses.
struct StreamRing final : AudioSignal {
    enum class Wake { Notify, Quit };

    ~StreamRing() override {
        // The device must not signal this object once it is gone.
        buffer->Stop();
        buffer->SetNotificationPositions({});
    }

    // The notify event, set by the device's mixing thread.
    void Signal() override {
        {
            std::lock_guard lock(eventMutex);
            notifySet = true;
        }
        eventChanged.notify_all();
    }
    void SignalQuit() {
        {
            std::lock_guard lock(eventMutex);
            quitSet = true;
        }
        eventChanged.notify_all();
    }
    // Both events reset as they are taken; a notification wins a tie.
    Wake WaitForEvent() {
        std::unique_lock lock(eventMutex);
        eventChanged.wait(lock, [this] { return notifySet || quitSet; });
        if (notifySet) {
            notifySet = false;
            return Wake::Notify;
        }
        quitSet = false;
        return Wake::Quit;
    }
    void MarkFinished() {
        {
            std::lock_guard lock(eventMutex);
            finished = true;
        }
        eventChanged.notify_all();
    }
    bool WaitFinished() {
        std::unique_lock lock(eventMutex);
        return eventChanged.wait_for(lock, kQuitGrace, [this] { return finished; });
    }

    void Start(bool loop);
    void Refill();

    std::mutex eventMutex;
    std::condition_variable eventChanged;
    bool notifySet = false;
    bool quitSet = false;
    bool finished = false;

    // Guards the ring between the UI thread and the worker.
    mutable std::mutex mutex;
    DWORD size = 0;
    DWORD segmentSize = 0;
    DWORD lastCursor = 0;
    DWORD playedTotal = 0;
    DWORD writePosition = 0;
    int ended = 0;
    bool looping = false;
    std::vector<AudioNotifyPosition> positions;
    std::shared_ptr<WaveSource> source;
    // Declared last so it is released first, before the events it signals.
    std::shared_ptr<AudioBuffer> buffer;
};

void StreamRing::Start(bool loop) {
    std::lock_guard lock(mutex);
    looping = loop;
    if (source != nullptr) {
        lastCursor = 0;
        playedTotal = 0;
        writePosition = 0;
        ended = 0;
        if (RestoreIfLost(*buffer) > 0) {
            FillWholeBuffer(*buffer, size, source.get(), looping);
        }
        source->Rewind();
        buffer->SetCurrentPosition(0);
    }
    FillWholeBuffer(*buffer, size, source.get(), looping);
}

void StreamRing::Refill() {
    std::lock_guard lock(mutex);
    if (source == nullptr) {
        return;
    }
    if (int restored = RestoreIfLost(*buffer); restored != 0) {
        if (restored > 0) {
            FillWholeBuffer(*buffer, size, source.get(), looping);
        }
        return;
    }
    DWORD cursor = 0;
    if (buffer->GetCurrentPosition(&cursor, nullptr) != AudioResult::Ok) {
        return;
    }
    // The segment at the write position is due once the cursor has left it:
    // the last one when the cursor has wrapped to before it, any other when
    // the cursor wrapped since the last refill or reached the segment's end.
    const DWORD end = writePosition + segmentSize;
    const bool due = end == size ? cursor < writePosition : (cursor < lastCursor || cursor >= end);
    if (!due) {
        return;
    }
    playedTotal += (cursor + size - lastCursor) % size;
    lastCursor = cursor;
    LockedRegion region;
    if (buffer->Lock(writePosition, segmentSize, &region) != AudioResult::Ok) {
        return; // the segment plays what it held; try it again next time
    }
    if (ended) {
        std::fill_n(region.first, region.firstBytes, SilenceOf(source.get()));
    } else if (FillFromSource(source.get(), looping, region.first, region.firstBytes)) {
        ended = 1;
    }
    buffer->Unlock(region);
    if (ended && playedTotal >= source->PcmSize()) {
        buffer->Stop();
    }
    writePosition = end % size;
}

namespace {

void RunWorker(std::shared_ptr<StreamRing> ring) {
    while (ring->WaitForEvent() == StreamRing::Wake::Notify) {
        ring->Refill();
    }
    ring->MarkFinished();
}

} // namespace

WaveFormat CStreamingSound::StreamFormat() {
    return MakePcmFormat(1, 22050, 16);
}

CStreamingSound::CStreamingSound(std::shared_ptr<StreamRing> ring)
    : CBufferSound(ring->buffer, ring->size, ring->source, 1), ring_(std::move(ring)) {}

CStreamingSound* CStreamingSound::Create(AudioDevice& device, DWORD segmentSize, DWORD segmentCount,
                                         DWORD extraFlags, std::unique_ptr<WaveSource> source) {
    if (segmentSize == 0 || segmentCount == 0 || segmentSize > DSBSIZE_MAX / segmentCount) {
        return nullptr;
    }
    AudioBufferDesc desc;
    desc.flags = kRingFlags | extraFlags;
    desc.bytes = segmentSize * segmentCount;
    desc.format = source != nullptr ? source->PcmFormat() : StreamFormat();
    std::shared_ptr<AudioBuffer> buffer = device.CreateBuffer(desc);
    if (buffer == nullptr) {
        return nullptr;
    }
    auto ring = std::make_shared<StreamRing>();
    ring->buffer = std::move(buffer);
    ring->source = std::move(source);
    ring->size = desc.bytes;
    ring->segmentSize = segmentSize;
    for (DWORD i = 1; i <= segmentCount; ++i) {
        ring->positions.push_back({segmentSize * i - 1, ring.get()});
    }
    if (ring->buffer->SetNotificationPositions(ring->positions) != AudioResult::Ok) {
        return nullptr;
    }
    auto* stream = new CStreamingSound(ring);
    stream->worker_ = std::thread(RunWorker, std::move(ring));
    return stream;
}

CStreamingSound::~CStreamingSound() {
    StopWorker();
    // A worker left running keeps the buffer alive; it must not be heard.
    buffers_.front()->Stop();
}

void CStreamingSound::StopWorker() {
    ring_->SignalQuit();
    if (ring_->WaitFinished()) {
        worker_.join();
    } else {
        // A thread cannot be ended from outside without leaking what it
        // holds: it keeps its share of the ring and ends once it unblocks.
        worker_.detach();
    }
}

int CStreamingSound::Play(int priority, DWORD flags) {
    if (SoundDevice::NoDevice()) {
        return 1;
    }
    looping_ = flags == 1 ? 1 : 0;
    ring_->Start(looping_ != 0);
    SetVolume(volume_);
    // The ring itself always loops, whether or not the sound does.
    int result = CBufferSound::Play(priority, 1);
    looping_ = flags == 1 ? 1 : 0;
    return result;
}

void CStreamingSound::Refill() {
    ring_->Refill();
}

DWORD CStreamingSound::SegmentSize() const {
    return ring_->segmentSize;
}

DWORD CStreamingSound::WritePosition() const {
    std::lock_guard lock(ring_->mutex);
    return ring_->writePosition;
}

DWORD CStreamingSound::PlayedTotal() const {
    std::lock_guard lock(ring_->mutex);
    return ring_->playedTotal;
}

int CStreamingSound::Ended() const {
    std::lock_guard lock(ring_->mutex);
    return ring_->ended;
}
