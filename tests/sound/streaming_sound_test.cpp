#include "sound_test_fixture.h"

#include "sound/sound_device.h"
#include "sound/streaming_sound.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

constexpr DWORD kSegment = CStreamingSound::kSegmentSize;
constexpr DWORD kRing = kSegment * CStreamingSound::kSegmentCount;

class StreamingSoundTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_EQ(device_.Start(nullptr), 1);
    }
    void TearDown() override {
        device_.Stop();
        SoundTest::TearDown();
    }

    // A stream over a memory image in the stream's own format; the image
    // must outlive it.
    std::unique_ptr<CStreamingSound> StreamOf(const Bytes& image) {
        auto source = std::make_unique<WaveSource>();
        source->SetMemoryImage(image.data(), static_cast<DWORD>(image.size()));
        EXPECT_EQ(source->Open(nullptr, WaveSource::kModeMemory), 1);
        return std::unique_ptr<CStreamingSound>(
            CStreamingSound::Create(*device_.Device(), kSegment, CStreamingSound::kSegmentCount,
                                    DSBCAPS_GLOBALFOCUS, std::move(source)));
    }

    static Bytes Contents(AudioBuffer* buffer, DWORD offset, DWORD bytes) {
        LockedRegion region;
        EXPECT_EQ(buffer->Lock(offset, bytes, &region), AudioResult::Ok);
        Bytes out(region.first, region.first + region.firstBytes);
        buffer->Unlock(region);
        return out;
    }
    static DWORD Status(AudioBuffer* buffer) {
        DWORD status = 0;
        buffer->GetStatus(&status);
        return status;
    }

    // Plays one more segment and waits for the worker's refill of it.
    void PlaySegment(CStreamingSound& stream, int segmentsPlayed) {
        Audio().Advance(100);
        DWORD expected = (segmentsPlayed * kSegment) % kRing;
        ASSERT_TRUE(WaitUntil([&] { return stream.WritePosition() == expected; }))
            << "segment " << segmentsPlayed;
    }

    SoundDevice device_;
};

Bytes Cycle(const Bytes& pcm, std::size_t from, std::size_t count) {
    Bytes out;
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(pcm[(from + i) % pcm.size()]);
    }
    return out;
}

std::vector<std::int16_t> Ramp(int count) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < count; ++i) {
        samples.push_back(static_cast<std::int16_t>(1 + i * 7));
    }
    return samples;
}

TEST_F(StreamingSoundTest, SilentStreamOfTheDeviceRunsForEver) {
    CStreamingSound* stream = device_.Stream();
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), kRing);
    EXPECT_EQ(stream->Streamed(), 1);
    EXPECT_EQ(stream->Source(), nullptr);
    EXPECT_EQ(stream->Looping(), 1);
    for (int i = 0; i < 30; ++i) {
        Audio().Advance(100);
    }
    EXPECT_EQ(Status(stream->Buffer(0)), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(Audio().Output().size(), 3u * 44100 * 2);
    EXPECT_EQ(SoundingFrames(), 0u);
}

TEST_F(StreamingSoundTest, RefillWaitsUntilTheCursorHasLeftTheSegment) {
    const Bytes pcm = Samples16(Ramp(15000));
    const Bytes image = MakeWave({}, pcm);
    auto stream = StreamOf(image);
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(stream->Play(0, 0), 1);
    AudioBuffer* buffer = stream->Buffer(0);
    EXPECT_EQ(Contents(buffer, 0, kRing), Cycle(pcm, 0, kRing));

    Audio().Advance(50); // the cursor is in the middle of the first segment
    stream->Refill();
    EXPECT_EQ(stream->WritePosition(), 0u);
    EXPECT_EQ(stream->PlayedTotal(), 0u);
    EXPECT_EQ(Contents(buffer, 0, kRing), Cycle(pcm, 0, kRing));

    Audio().Advance(50); // now past its last byte: the device notifies the worker
    ASSERT_TRUE(WaitUntil([&] { return stream->WritePosition() == kSegment; }));
    EXPECT_EQ(stream->PlayedTotal(), kSegment);
    EXPECT_EQ(Contents(buffer, 0, kSegment), Cycle(pcm, kRing, kSegment));
}

TEST_F(StreamingSoundTest, WithoutLoopingStopsOnceTheSourceHasPlayed) {
    const Bytes image = MakeWave({}, Constant16(4000, 1000)); // 8000 bytes
    auto stream = StreamOf(image);
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(stream->Play(0, 0), 1);
    AudioBuffer* buffer = stream->Buffer(0);

    PlaySegment(*stream, 1);
    EXPECT_EQ(stream->Ended(), 1);
    EXPECT_NE(Status(buffer) & DSBSTATUS_PLAYING, 0u); // 4410 of 8000 bytes played
    PlaySegment(*stream, 2);
    EXPECT_EQ(Status(buffer), 0u);
    EXPECT_EQ(stream->PlayedTotal(), 2 * kSegment);
    EXPECT_EQ(SoundingFrames(), 8000u); // 4000 frames at twice the rate
}

TEST_F(StreamingSoundTest, LoopingSourceWrapsIntoTheNextSegmentAndNeverEnds) {
    const Bytes pcm = Samples16(Ramp(3000)); // 6000 bytes, shorter than the ring
    const Bytes image = MakeWave({}, pcm);
    auto stream = StreamOf(image);
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(stream->Play(0, 1), 1);
    AudioBuffer* buffer = stream->Buffer(0);
    EXPECT_EQ(Contents(buffer, 0, kRing), Cycle(pcm, 0, kRing));
    for (int played = 1; played <= 6; ++played) {
        PlaySegment(*stream, played);
    }
    EXPECT_EQ(stream->Ended(), 0);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    // The fifth and sixth refills put the source's bytes from two rings on
    // into segments 0 and 1.
    EXPECT_EQ(Contents(buffer, 0, 2 * kSegment), Cycle(pcm, 2 * kRing, 2 * kSegment));
}

TEST_F(StreamingSoundTest, DestroyingAStreamWhoseWorkerIsBlockedReturns) {
    const Bytes image = MakeWave({}, Constant16(20000, 500));
    auto stream = StreamOf(image);
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(stream->Play(0, 1), 1);
    const std::size_t buffersBefore = Audio().LiveBuffers();

    Audio().HoldLocks();
    Audio().Advance(100); // the worker's refill now hangs in Lock
    ASSERT_TRUE(WaitUntil([&] { return Audio().LocksWaiting() == 1; }));

    // Should destroying wait for the worker, this lets it go after 10 s so
    // the test fails instead of hanging.
    std::atomic<bool> done{false};
    std::thread rescue([&] {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        Audio().ReleaseLocks();
    });
    auto start = std::chrono::steady_clock::now();
    stream.reset();
    auto waited = std::chrono::steady_clock::now() - start;
    done = true;
    rescue.join();

    EXPECT_GE(waited, std::chrono::milliseconds(2000)); // the grace was given
    EXPECT_LT(waited, std::chrono::seconds(10));
    // The abandoned worker ends on its own once unblocked, releasing the buffer.
    EXPECT_TRUE(WaitUntil([&] { return Audio().LiveBuffers() == buffersBefore - 1; }));
}

} // namespace
