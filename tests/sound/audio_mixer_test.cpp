#include "sound_fixtures.h"

#include "platform/headless/headless_audio.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

std::shared_ptr<AudioBuffer> FilledBuffer(HeadlessAudioDevice& device, const WaveFormat& format,
                                          const Bytes& pcm) {
    auto buffer = device.CreateBuffer({DSBCAPS_CTRLVOLUME, static_cast<DWORD>(pcm.size()), format});
    if (buffer == nullptr) {
        return nullptr;
    }
    LockedRegion region;
    EXPECT_EQ(buffer->Lock(0, static_cast<DWORD>(pcm.size()), &region), AudioResult::Ok);
    std::copy(pcm.begin(), pcm.end(), region.first);
    buffer->Unlock(region);
    return buffer;
}

struct CountingSignal final : AudioSignal {
    std::atomic<int> count{0};
    void Signal() override { ++count; }
};

TEST(AudioMixerTest, ConvertsEveryLayoutToTheOutput) {
    struct Case {
        const char* name;
        WaveFormat format;
        Bytes frame;
        LONG volume;
        std::int16_t left, right;
    };
    const Case cases[] = {
        {"mono 16-bit 22050", MakePcmFormat(1, 22050, 16), Samples16({16384}), 0, 16384, 16384},
        {"mono 8-bit 11025", MakePcmFormat(1, 11025, 8), {0xC0}, 0, 16384, 16384},
        {"stereo 16-bit 44100", MakePcmFormat(2, 44100, 16), Samples16({8192, -8192}), 0, 8192,
         -8192},
        {"stereo 8-bit 48000", MakePcmFormat(2, 48000, 8), {0xA0, 0x60}, 0, 8192, -8192},
        {"-6 dB", MakePcmFormat(1, 44100, 16), Samples16({16384}), -600, 8211, 8211},
        {"floor", MakePcmFormat(1, 44100, 16), Samples16({16384}), DSBVOLUME_MIN, 0, 0},
    };
    for (const Case& c : cases) {
        HeadlessAudioDevice device;
        Bytes pcm;
        for (int i = 0; i < 64; ++i) {
            pcm.insert(pcm.end(), c.frame.begin(), c.frame.end());
        }
        auto buffer = FilledBuffer(device, c.format, pcm);
        ASSERT_NE(buffer, nullptr) << c.name;
        ASSERT_EQ(buffer->SetVolume(c.volume), AudioResult::Ok);
        ASSERT_EQ(buffer->Play(0, DSBPLAY_LOOPING), AudioResult::Ok);
        device.AdvanceFrames(300);
        const auto& out = device.Output();
        ASSERT_EQ(out.size(), 600u);
        for (std::size_t i = 0; i < out.size(); i += 2) {
            ASSERT_NEAR(out[i], c.left, 1) << c.name << " frame " << i / 2;
            ASSERT_NEAR(out[i + 1], c.right, 1) << c.name << " frame " << i / 2;
        }
    }
}

TEST(AudioMixerTest, OneShotPlaysItsLengthAtItsOwnRateThenStops) {
    HeadlessAudioDevice device;
    auto buffer = FilledBuffer(device, MakePcmFormat(1, 22050, 16), Constant16(1000, 2000));
    ASSERT_EQ(buffer->Play(0, 0), AudioResult::Ok);
    device.AdvanceFrames(1500);
    DWORD status = 0, cursor = 0;
    buffer->GetStatus(&status);
    buffer->GetCurrentPosition(&cursor, nullptr);
    EXPECT_EQ(status & DSBSTATUS_PLAYING, DSBSTATUS_PLAYING);
    EXPECT_EQ(cursor, 1500u); // 750 frames of 2 bytes

    device.AdvanceFrames(1000);
    buffer->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    std::size_t sounding = 0;
    for (std::size_t i = 0; i < device.Output().size(); i += 2) {
        sounding += device.Output()[i] != 0;
    }
    EXPECT_EQ(sounding, 2000u); // 1000 frames at half the output rate
}

TEST(AudioMixerTest, NotificationFiresWhenItsByteHasPlayed) {
    HeadlessAudioDevice device;
    auto buffer = FilledBuffer(device, MakePcmFormat(1, 44100, 16), Constant16(200, 0));
    CountingSignal first, last;
    const AudioNotifyPosition positions[] = {{99, &first}, {399, &last}};
    ASSERT_EQ(buffer->SetNotificationPositions(positions), AudioResult::Ok);
    ASSERT_EQ(buffer->Play(0, DSBPLAY_LOOPING), AudioResult::Ok);
    EXPECT_EQ(buffer->SetNotificationPositions(positions), AudioResult::Failed);

    device.AdvanceFrames(49); // cursor on byte 98: byte 99 still to play
    EXPECT_EQ(first.count, 0);
    device.AdvanceFrames(1);
    EXPECT_EQ(first.count, 1);
    device.AdvanceFrames(149);
    EXPECT_EQ(last.count, 0);
    device.AdvanceFrames(1); // the last byte: the cursor wraps to 0
    EXPECT_EQ(last.count, 1);
    DWORD cursor = 1;
    buffer->GetCurrentPosition(&cursor, nullptr);
    EXPECT_EQ(cursor, 0u);
    device.AdvanceFrames(100);
    EXPECT_EQ(first.count, 2);
    EXPECT_EQ(last.count, 1);
}

TEST(AudioMixerTest, LockedRegionWrapsAndStaysInside) {
    HeadlessAudioDevice device;
    auto buffer = device.CreateBuffer({0, 100, MakePcmFormat(1, 8000, 8)});
    ASSERT_NE(buffer, nullptr);
    LockedRegion region;
    ASSERT_EQ(buffer->Lock(90, 20, &region), AudioResult::Ok);
    EXPECT_EQ(region.firstBytes, 10u);
    EXPECT_EQ(region.secondBytes, 10u);
    EXPECT_EQ(region.second + 90, region.first);
    EXPECT_EQ(buffer->Lock(100, 1, &region), AudioResult::InvalidParam);
    EXPECT_EQ(buffer->Lock(0, 101, &region), AudioResult::InvalidParam);
    EXPECT_EQ(buffer->SetCurrentPosition(100), AudioResult::InvalidParam);
    EXPECT_EQ(device.CreateBuffer({0, 100, MakePcmFormat(1, 8000, 24)}), nullptr);
    EXPECT_EQ(device.CreateBuffer({0, 2, MakePcmFormat(1, 8000, 8)}), nullptr);
}

TEST(AudioMixerTest, VoiceReplacesWhatItPlaysAndStops) {
    HeadlessAudioDevice device;
    const WaveFormat format = MakePcmFormat(1, 44100, 16);
    ASSERT_TRUE(device.PlaySound(format, Constant16(100, 1000), SND_ASYNC));
    device.AdvanceFrames(10);
    ASSERT_TRUE(device.PlaySound(format, Constant16(100, -3000), SND_ASYNC | SND_LOOP));
    device.ClearOutput();
    device.AdvanceFrames(500);
    for (std::int16_t sample : device.Output()) {
        ASSERT_EQ(sample, -3000);
    }
    EXPECT_TRUE(device.VoicePlaying());
    device.StopSounds();
    EXPECT_FALSE(device.VoicePlaying());
    EXPECT_FALSE(device.PlaySound(MakePcmFormat(1, 44100, 24), Constant16(10, 1), SND_ASYNC));
}

TEST(AudioMixerTest, WithoutAnOutputPlaysSucceedSilently) {
    HeadlessAudioDevice device;
    device.SetPresent(false);
    EXPECT_FALSE(device.Open());
    EXPECT_EQ(device.CreateBuffer({0, 100, MakePcmFormat(1, 8000, 8)}), nullptr);
    EXPECT_TRUE(device.PlaySound(MakePcmFormat(1, 8000, 16), Constant16(10, 5), SND_ASYNC));
    device.Advance(100);
    EXPECT_TRUE(device.Output().empty());
    EXPECT_FALSE(device.VoicePlaying());
}

} // namespace
