// A sound played through one small looping buffer used as a ring: the
// buffer is split into segments, the device signals each time a segment has
// been played, and a worker thread refills that segment from the source or
// with silence. Without a source it plays silence for as long as it runs,
// which keeps the output open.
#pragma once

#include "buffer_sound.h"
#include "wave_source.h"

#include <memory>
#include <thread>

struct StreamRing;

class CStreamingSound final : public CBufferSound {
public:
    // The monthly calendar's stream: 0.1 s segments, four of them.
    static constexpr DWORD kSegmentSize = 4410;
    static constexpr DWORD kSegmentCount = 4;
    // PCM, mono, 22050 samples a second, 16 bits.
    static WaveFormat StreamFormat();

    // A ring of segmentSize x segmentCount bytes in the stream format (or
    // the source's), notified at the last byte of each segment, with its
    // worker running. nullptr when the buffer or its notifications cannot
    // be set up.
    static CStreamingSound* Create(AudioDevice& device, DWORD segmentSize, DWORD segmentCount,
                                   DWORD extraFlags, std::unique_ptr<WaveSource> source = nullptr);
    // Ends the worker, waiting for it at most two seconds, then the buffer.
    ~CStreamingSound() override;

    // Fills the whole ring from the start and runs the buffer looped; flags
    // 1 makes the source loop too.
    int Play(int priority, DWORD flags) override;
    // What the worker does on a notification: refills the segment at the
    // write position once the cursor has left it; an early call does nothing.
    void Refill();

    DWORD SegmentSize() const;
    DWORD WritePosition() const;
    DWORD PlayedTotal() const;
    int Ended() const;

private:
    CStreamingSound(std::shared_ptr<StreamRing> ring);
    void StopWorker();

    std::shared_ptr<StreamRing> ring_;
    std::thread worker_;
};
