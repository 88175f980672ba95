// The headless backend with a file service whose program folder tests can
// put sound files into, and a wait for conditions other threads bring about.
#pragma once

#include "sound_fixtures.h"

#include "base/text16.h"
#include "data/mg_file.h"
#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallPlatform(&platform_);
        files_ = std::make_unique<CMGFile>();
    }
    void TearDown() override {
        files_.reset();
        InstallPlatform(nullptr);
    }

    void PutFile(const char16_t* name, const Bytes& bytes) {
        std::ofstream out(Utf16ToUtf8(files_->ProgramFolder()) + Utf16ToUtf8(name),
                          std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    HeadlessAudioDevice& Audio() { return platform_.Audio(); }

    // Frames of the recorded output whose left sample is not zero.
    std::size_t SoundingFrames() {
        std::size_t count = 0;
        for (std::size_t i = 0; i < Audio().Output().size(); i += 2) {
            count += Audio().Output()[i] != 0;
        }
        return count;
    }

    HeadlessPlatform platform_;
    std::unique_ptr<CMGFile> files_;
};

// Polls until the condition holds; false if it has not after a generous
// deadline (a loaded machine must never fail a correct program).
inline bool WaitUntil(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
