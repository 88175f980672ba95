// A headless desktop with a clock program's folder: synthetic face images
// whose pixels tell where they came from, and the 65 voices as tiny WAVE
// files whose lengths tell them apart.
#pragma once

#include "clock/chime_scheduler.h"
#include "clock/clock_app.h"
#include "clock/clock_menu.h"
#include "clock/face_table.h"
#include "data/profile.h"
#include "platform/headless/headless_platform.h"
#include "shell/dialog_resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace clock_test {

namespace fs = std::filesystem;
using PixelFunction = std::function<std::uint32_t(int x, int y)>;

// Uncompressed 32-bit TGA, bottom row first.
inline void WriteTga(const fs::path& path, int w, int h, const PixelFunction& pixel) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = static_cast<std::uint8_t>(w);
    bytes[13] = static_cast<std::uint8_t>(w >> 8);
    bytes[14] = static_cast<std::uint8_t>(h);
    bytes[15] = static_cast<std::uint8_t>(h >> 8);
    bytes[16] = 32;
    bytes[17] = 8;
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t p = pixel(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<std::uint8_t>(p >> shift));
            }
        }
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A parts image whose opaque pixels carry their own source position:
// red = x mod 256, green = y, blue = x div 256. Copies and opaque blends
// then show which tile landed where.
inline std::uint32_t SourceCoded(int x, int y) {
    return 0xFF000000u | std::uint32_t(x & 0xFF) << 16 | std::uint32_t(y & 0xFF) << 8 |
           std::uint32_t(x >> 8);
}

// Where a source-coded pixel came from.
inline POINT SourceOf(std::uint32_t pixel) {
    return POINT{LONG((pixel >> 16 & 0xFF) | (pixel & 0xFF) << 8), LONG(pixel >> 8 & 0xFF)};
}

inline constexpr std::uint32_t kMinuteColour = 0xFFFF0000u;
inline constexpr std::uint32_t kHourColour = 0xFF00FF00u;
inline constexpr std::uint32_t kShadowColour = 0xFF000040u;

// Hands image: minute, hour, minute shadow, hour shadow strips of 32 px,
// each one flat colour.
inline std::uint32_t HandStrips(int x, int /*y*/) {
    switch (x / 32) {
    case 0:
        return kMinuteColour;
    case 1:
        return kHourColour;
    default:
        return kShadowColour;
    }
}

// A black, opaque face with a transparent top-left corner (8 x 8).
inline std::uint32_t FacePixel(int x, int y) {
    return x < 8 && y < 8 ? 0u : 0xFF000000u;
}

// All voice file names, each given its own length.
inline std::vector<std::u16string> VoiceNames() {
    std::vector<std::u16string> names;
    for (int voice = 0; voice < kVoiceCount; ++voice) {
        for (int k = 0; k < 12; ++k) {
            names.push_back(ChimeFileName(voice, k));
        }
        names.push_back(AlarmFileName(voice));
    }
    return names;
}

// A mono 16-bit PCM WAVE file of frames samples.
inline void WriteWave(const fs::path& path, int frames) {
    auto u32 = [](std::vector<std::uint8_t>& b, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    auto u16 = [](std::vector<std::uint8_t>& b, std::uint16_t v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    std::vector<std::uint8_t> b{'R', 'I', 'F', 'F'};
    u32(b, 36 + 2 * frames);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    u32(b, 16);
    u16(b, 1);
    u16(b, 1);
    u32(b, 22050);
    u32(b, 44100);
    u16(b, 2);
    u16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    u32(b, 2 * frames);
    b.resize(b.size() + 2 * frames, 0x10);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

inline LocalTime At(int year, int month, int day, int hour, int minute, int second) {
    LocalTime t;
    t.year = WORD(year);
    t.month = WORD(month);
    t.day = WORD(day);
    t.hour = WORD(hour);
    t.minute = WORD(minute);
    t.second = WORD(second);
    return t;
}

// A clock program in a folder of its own, started on a fresh headless
// desktop each time (as a new process would be).
class ClockFixture : public ::testing::Test {
protected:
    ClockFixture() {
        root_ = fs::temp_directory_path() /
                ("lumi_clock_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "program");
        NewDesktop();
    }
    ~ClockFixture() override {
        app.reset();
        ClearDialogResources();
        InstallPlatform(nullptr);
        platform.reset();
        fs::remove_all(root_);
    }

    // Another process: a new headless system over the same folders.
    void NewDesktop() {
        app.reset();
        platform = std::make_unique<HeadlessPlatform>();
        InstallPlatform(platform.get());
        platform->SetScreen(1920, 1080, 1920, 1040);
        platform->SetLocalTime(At(2009, 6, 15, 10, 7, 31)); // a Monday
    }

    fs::path Program() const { return root_ / "program"; }
    fs::path DataHome() const { return root_ / "data"; }

    // Loose images for the face and the voices, beside the program.
    void WriteFaceFiles(const ClockFace& face) {
        WriteTga(Program() / Utf16ToUtf8(face.faceImage), face.width, face.height, FacePixel);
        for (const char16_t* name : face.partsImages) {
            if (name == nullptr) {
                continue;
            }
            std::string file = Utf16ToUtf8(name);
            bool hands = file == "parts_03.mg" || file == "parts_02.mg";
            int w = hands ? 128 : 440;
            int h = file == "parts_02.mg" ? 128 : 200;
            WriteTga(Program() / file, w, h,
                     hands ? PixelFunction(HandStrips) : PixelFunction(SourceCoded));
        }
    }
    void WriteVoices() {
        std::vector<std::u16string> names = VoiceNames();
        for (std::size_t i = 0; i < names.size(); ++i) {
            WriteWave(Program() / Utf16ToUtf8(names[i]), FramesOf(i));
        }
    }
    static int FramesOf(std::size_t voiceIndex) { return 10 + int(voiceIndex); }

    // Starts the program named programName showing face number.
    CApp& Start(int face, const std::string& programName = "") {
        std::string name = programName.empty()
                               ? (face == 1 ? "LumiClock" : "LumiClock" + std::to_string(face))
                               : programName;
        platform->SetPaths(
            Utf8ToUtf16((Program() / name).string()), Utf8ToUtf16(DataHome().string()),
            Utf8ToUtf16((root_ / "config").string()), Utf8ToUtf16((root_ / "run").string()));
        app.reset(static_cast<CApp*>(CreateClockApp(face)));
        EXPECT_EQ(app->Init(nullptr, SW_SHOW), 1);
        return *app;
    }

    // The frame hook at the given wall-clock time.
    void FrameAt(const LocalTime& time) {
        platform->SetLocalTime(time);
        app->OnFrame();
    }

    // Delivers what is queued (menu commands, close requests).
    void Pump() {
        MSG message;
        while (platform->PeekMessage(&message, PM_REMOVE) && message.message != WM_QUIT) {
            platform->DispatchMessage(message);
        }
    }

    // Names of the voices started so far, in order.
    std::vector<std::string> Played() const {
        std::vector<std::u16string> names = VoiceNames();
        std::map<std::size_t, std::string> byBytes;
        for (std::size_t i = 0; i < names.size(); ++i) {
            byBytes[2 * std::size_t(FramesOf(i))] = Utf16ToUtf8(names[i]);
        }
        std::vector<std::string> played;
        for (const auto& call : platform->Audio().VoiceCalls()) {
            if (!call.stop) {
                auto found = byBytes.find(call.bytes);
                played.push_back(found != byBytes.end() ? found->second
                                                        : std::to_string(call.bytes) + " bytes");
            }
        }
        return played;
    }

    // The settings ini of the running program.
    int SavedInt(const char16_t* key, int fallback = -12345) const {
        return GetPrivateProfileInt(app->file.AppName(), key, fallback, app->file.SettingsIni());
    }
    fs::path SaveFolder(const std::string& programName) const { return DataHome() / programName; }
    static std::string ReadText(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteText(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<CApp> app;

private:
    fs::path root_;
};

} // namespace clock_test
