#include "sound_fixtures.h"

#include "platform/desktop/desktop_audio_sdl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// Selects SDL's audio driver for one test.
class AudioDriver {
public:
    explicit AudioDriver(const char* name) { setenv("SDL_AUDIODRIVER", name, 1); }
    ~AudioDriver() { unsetenv("SDL_AUDIODRIVER"); }
};

TEST(SdlAudioTest, DummyOutputPullsTheMixInRealTime) {
    AudioDriver driver("dummy");
    SdlAudioDevice device;
    ASSERT_TRUE(device.Open());
    auto buffer = device.CreateBuffer({0, 4410, MakePcmFormat(1, 22050, 16)});
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, DSBPLAY_LOOPING), AudioResult::Ok);
    // The callback thread moves the cursor; wait for it, with a deadline.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    DWORD cursor = 0;
    while (cursor == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        buffer->GetCurrentPosition(&cursor, nullptr);
    }
    EXPECT_NE(cursor, 0u);
}

TEST(SdlAudioTest, NoOutputDeviceMeansAbsentAndSilentSuccess) {
    AudioDriver driver("no-such-driver");
    SdlAudioDevice device;
    EXPECT_FALSE(device.Open());
    EXPECT_EQ(device.CreateBuffer({0, 4410, MakePcmFormat(1, 22050, 16)}), nullptr);
    EXPECT_TRUE(device.PlaySound(MakePcmFormat(1, 22050, 16), Constant16(100, 1), SND_ASYNC));
}

} // namespace
