#include "sound_test_fixture.h"

#include "sound/memory_sound.h"

#include <memory>

namespace {

using MemorySoundTest = SoundTest;

constexpr DWORD kVoiceOptions = SND_MEMORY | SND_NODEFAULT | SND_ASYNC;

TEST_F(MemorySoundTest, FilesThatDoNotDecodeAreNotLoaded) {
    PutFile(u"voice.ogg", {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0});
    PutFile(u"adpcm.wav", MakeWave({.tag = 2, .bits = 4, .fmtSize = 20}, Constant16(50, 1)));
    PutFile(u"notes.txt", {'n', 'o', 't', ' ', 'a', ' ', 's', 'o', 'u', 'n', 'd'});
    PutFile(u"short.wav", MakeWave({.fmtSize = 12}, Constant16(50, 1)));
    for (const char16_t* name : {u"voice.ogg", u"adpcm.wav", u"notes.txt", u"short.wav"}) {
        std::unique_ptr<CMemorySound> sound(CMemorySound::Create(name));
        EXPECT_EQ(sound, nullptr) << Utf16ToUtf8(name);
    }
    EXPECT_TRUE(platform_.MessageBoxes().empty());

    EXPECT_EQ(CMemorySound::Create(u"missing.wav"), nullptr);
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.MessageBoxes()[0].text, u"missing.wav无法找到。");
}

TEST_F(MemorySoundTest, PlaysOnceOrLoopsUntilStopped) {
    const Bytes wave = MakeWave({.rate = 22050}, Constant16(441, 1200));
    PutFile(u"chime.wav", wave);
    std::unique_ptr<CMemorySound> sound(CMemorySound::Create(u"chime.wav"));
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->Size(), wave.size());

    ASSERT_EQ(sound->Play(0, 0), 1);
    ASSERT_EQ(Audio().VoiceCalls().size(), 1u);
    EXPECT_EQ(Audio().VoiceCalls()[0].flags, kVoiceOptions);
    EXPECT_EQ(Audio().VoiceCalls()[0].bytes, 882u);
    EXPECT_EQ(Audio().VoiceCalls()[0].format, MakePcmFormat(1, 22050, 16));
    Audio().Advance(100);
    EXPECT_FALSE(Audio().VoicePlaying());
    EXPECT_EQ(SoundingFrames(), 882u); // 441 frames at twice the rate

    ASSERT_EQ(sound->Play(0, 1), 1);
    EXPECT_EQ(sound->Looping(), 1);
    EXPECT_EQ(Audio().VoiceCalls().back().flags, kVoiceOptions | SND_LOOP);
    Audio().ClearOutput();
    Audio().Advance(1000);
    EXPECT_TRUE(Audio().VoicePlaying());
    EXPECT_EQ(SoundingFrames(), 44100u);

    sound->Stop();
    EXPECT_TRUE(Audio().VoiceCalls().back().stop);
    EXPECT_EQ(sound->Looping(), 0);
    EXPECT_FALSE(Audio().VoicePlaying());
}

TEST_F(MemorySoundTest, MpegAudioFilePlaysItsDecodedPcm) {
    PutFile(u"alarm.mp3", Mp3Frames(6));
    std::unique_ptr<CMemorySound> sound(CMemorySound::Create(u"alarm.mp3"));
    ASSERT_NE(sound, nullptr);
    ASSERT_EQ(sound->Play(0, 0), 1);
    ASSERT_EQ(Audio().VoiceCalls().size(), 1u);
    EXPECT_EQ(Audio().VoiceCalls()[0].format, MakePcmFormat(1, 44100, 16));
    EXPECT_EQ(Audio().VoiceCalls()[0].bytes, 5 * kMp3FrameSamples * 2);
}

TEST_F(MemorySoundTest, WithoutSoundHardwarePlaysSucceedSilently) {
    Audio().SetPresent(false);
    PutFile(u"chime.wav", MakeWave({}, Constant16(441, 1200)));
    std::unique_ptr<CMemorySound> sound(CMemorySound::Create(u"chime.wav"));
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->Play(0, 1), 1);
    Audio().Advance(100);
    EXPECT_TRUE(Audio().Output().empty());
}

} // namespace
