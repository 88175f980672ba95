#include "sound_test_fixture.h"

#include "sound/buffer_fill.h"
#include "sound/buffer_sound.h"
#include "sound/sound_device.h"
#include "sound/wave_source.h"

#include <memory>

namespace {

class BufferSoundTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_EQ(device_.Start(nullptr), 1);
    }
    void TearDown() override {
        device_.Stop();
        SoundTest::TearDown();
    }

    std::unique_ptr<CBufferSound> Load(const char16_t* name, const Bytes& file) {
        PutFile(name, file);
        return std::unique_ptr<CBufferSound>(CBufferSound::Create(device_, name));
    }

    static DWORD Cursor(AudioBuffer* buffer) {
        DWORD cursor = 0;
        buffer->GetCurrentPosition(&cursor, nullptr);
        return cursor;
    }
    static DWORD Status(AudioBuffer* buffer) {
        DWORD status = 0;
        buffer->GetStatus(&status);
        return status;
    }

    SoundDevice device_;
};

std::vector<std::int16_t> Ramp(int count) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < count; ++i) {
        samples.push_back(static_cast<std::int16_t>(i * 10));
    }
    return samples;
}

TEST_F(BufferSoundTest, PlayingWhilePlayingRestartsTheSameBuffer) {
    auto click = Load(u"snd_se001.wav", MakeWave({.rate = 22050}, Samples16(Ramp(2205))));
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->Count(), 1);
    EXPECT_EQ(click->Size(), 4410u);
    AudioBuffer* buffer = click->Buffer(0);

    ASSERT_EQ(click->Play(0, 0), 1);
    Audio().Advance(50);
    EXPECT_EQ(Cursor(buffer), 2204u);
    ASSERT_EQ(click->Play(0, 0), 1);
    EXPECT_EQ(click->Buffer(0), buffer);
    EXPECT_EQ(Cursor(buffer), 0u);
    EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);

    // Heard from its first sample again: 0, 10, 20 ... at half speed.
    Audio().ClearOutput();
    Audio().AdvanceFrames(5);
    const auto& out = Audio().Output();
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[4], 10);
    EXPECT_EQ(out[8], 20);
}

TEST_F(BufferSoundTest, ShortSourcePadsWithTheSilenceOfItsSampleSize) {
    struct Case {
        WORD bits;
        std::uint8_t silence;
    };
    for (const Case& c : {Case{8, 0x80}, Case{16, 0x00}}) {
        const Bytes pcm = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        const Bytes image = MakeWave({.bits = c.bits}, pcm);
        WaveSource source;
        source.SetMemoryImage(image.data(), static_cast<DWORD>(image.size()));
        ASSERT_EQ(source.Open(nullptr, WaveSource::kModeMemory), 1);
        auto buffer = Audio().CreateBuffer({0, 64, source.PcmFormat()});
        ASSERT_NE(buffer, nullptr);
        ASSERT_TRUE(FillWholeBuffer(*buffer, 64, &source, false));

        LockedRegion region;
        ASSERT_EQ(buffer->Lock(0, 64, &region), AudioResult::Ok);
        Bytes expected = pcm;
        expected.resize(64, c.silence);
        EXPECT_EQ(Bytes(region.first, region.first + 64), expected) << c.bits << " bits";
        buffer->Unlock(region);
    }
}

TEST_F(BufferSoundTest, VolumeIsClampedAndTurnedIntoDecibels) {
    auto click = Load(u"click.wav", MakeWave({}, Constant16(100, 1)));
    ASSERT_NE(click, nullptr);
    struct Case {
        int volume, stored;
        LONG attenuation;
    };
    const Case cases[] = {{0, 0, -10000},  {50, 50, -600},  {100, 100, 0}, {150, 100, 0},
                          {-5, 0, -10000}, {10, 10, -2000}, {1, 1, -4000}, {99, 99, 0}};
    for (const Case& c : cases) {
        click->SetVolume(c.volume);
        EXPECT_EQ(click->Volume(), c.stored) << c.volume;
        LONG applied = 1;
        click->Buffer(0)->GetVolume(&applied);
        EXPECT_EQ(applied, c.attenuation) << c.volume;
    }
}

TEST_F(BufferSoundTest, LostBufferIsRestoredAndRefilledBeforeItPlays) {
    auto click = Load(u"click.wav", MakeWave({}, Constant16(2205, 1000)));
    ASSERT_NE(click, nullptr);
    Audio().LoseAllBuffers();
    EXPECT_EQ(Status(click->Buffer(0)) & DSBSTATUS_BUFFERLOST, DSBSTATUS_BUFFERLOST);
    ASSERT_EQ(click->Play(0, 0), 1);
    EXPECT_EQ(Status(click->Buffer(0)), DSBSTATUS_PLAYING);
    Audio().AdvanceFrames(100);
    for (std::int16_t sample : Audio().Output()) {
        ASSERT_EQ(sample, 1000);
    }
}

TEST_F(BufferSoundTest, LoopsUntilStopped) {
    auto click = Load(u"click.wav", MakeWave({}, Constant16(100, 1000)));
    ASSERT_NE(click, nullptr);
    ASSERT_EQ(click->Play(0, 1), 1);
    EXPECT_EQ(click->Looping(), 1);
    Audio().Advance(100);
    EXPECT_EQ(Status(click->Buffer(0)), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    click->Stop();
    EXPECT_EQ(Status(click->Buffer(0)), 0u);
    EXPECT_EQ(click->Looping(), 0);
}

TEST_F(BufferSoundTest, NoSoundObjectForFilesWithoutPcm) {
    EXPECT_EQ(Load(u"voice.ogg", {'O', 'g', 'g', 'S', 0, 2, 0, 0}), nullptr);
    EXPECT_EQ(Load(u"empty.wav", MakeWave({}, {})), nullptr);
    EXPECT_EQ(CBufferSound::Create(device_, u"missing.wav"), nullptr);
}

TEST_F(BufferSoundTest, WithoutADevicePlaysSucceedSilentlyAndNothingIsCreated) {
    auto click = Load(u"click.wav", MakeWave({}, Constant16(100, 1000)));
    ASSERT_NE(click, nullptr);
    device_.Stop();
    EXPECT_TRUE(SoundDevice::NoDevice());
    EXPECT_EQ(click->Play(0, 0), 1);
    EXPECT_EQ(Status(click->Buffer(0)), 0u);
    EXPECT_EQ(CBufferSound::Create(device_, u"click.wav"), nullptr);
}

TEST(SoundDeviceTest, MachineWithoutSoundHardwareKeepsTheNoDeviceFlag) {
    HeadlessPlatform platform;
    platform.Audio().SetPresent(false);
    InstallPlatform(&platform);
    SoundDevice device;
    EXPECT_EQ(device.Start(nullptr), 0);
    EXPECT_TRUE(SoundDevice::NoDevice());
    EXPECT_EQ(device.Device(), nullptr);
    EXPECT_EQ(device.Stream(), nullptr);
    InstallPlatform(nullptr);
}

} // namespace
