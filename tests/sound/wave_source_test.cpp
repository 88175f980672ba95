#include "sound_fixtures.h"

#include "sound/riff_chunks.h"
#include "sound/wave_source.h"

#include <gtest/gtest.h>

namespace {

struct Opened {
    int result;
    int kind;
};

Opened OpenImage(WaveSource& source, const Bytes& image) {
    source.SetMemoryImage(image.data(), static_cast<DWORD>(image.size()));
    int result = source.Open(nullptr, WaveSource::kModeMemory);
    return {result, source.Kind()};
}

Bytes ReadAll(WaveSource& source) {
    Bytes out;
    std::uint8_t chunk[1000];
    for (DWORD got; (got = source.Read(chunk, sizeof chunk)) > 0;) {
        out.insert(out.end(), chunk, chunk + got);
    }
    return out;
}

struct RefusedCase {
    const char* name;
    Bytes image;
    int kind;
};

TEST(WaveSourceTest, RefusesWhatItCannotTurnIntoPcm) {
    const Bytes pcm = Constant16(8, 100);
    const RefusedCase cases[] = {
        {"empty", {}, WaveSource::kKindRiff},
        {"ogg", {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0}, WaveSource::kKindOgg},
        {"fmt of 14 bytes", MakeWave({.fmtSize = 14}, pcm), WaveSource::kKindRiff},
        {"no data chunk", MakeWave({.withData = false}, pcm), WaveSource::kKindRiff},
        {"ADPCM", MakeWave({.tag = 2, .bits = 4, .fmtSize = 20}, pcm), WaveSource::kKindRiff},
        {"IEEE float", MakeWave({.tag = 3, .bits = 32, .fmtSize = 18}, pcm), WaveSource::kKindRiff},
        {"24-bit PCM", MakeWave({.bits = 24}, pcm), WaveSource::kKindRiff},
        {"six channels", MakeWave({.channels = 6}, pcm), WaveSource::kKindRiff},
        {"form other than WAVE",
         {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '},
         WaveSource::kKindRiff},
        {"RIFF header cut short", {'R', 'I', 'F', 'F', 0x40, 0, 0}, WaveSource::kKindRiff},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, WaveSource::kKindRiff},
    };
    for (const RefusedCase& c : cases) {
        WaveSource source;
        Opened opened = OpenImage(source, c.image);
        EXPECT_EQ(opened.result, 0) << c.name;
        EXPECT_EQ(opened.kind, c.kind) << c.name;
    }
}

TEST(WaveSourceTest, ReadsPcmPastOtherChunksAndRewinds) {
    // An odd-sized chunk before "fmt " (with its pad byte) must be skipped.
    Bytes pcm = Samples16({1, -2, 300, -400, 5000});
    Bytes wave = MakeWave({.channels = 1, .rate = 11025}, pcm);
    Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    wave.insert(wave.begin() + 12, list.begin(), list.end());
    wave[4] = static_cast<std::uint8_t>(wave.size() - 8);

    WaveSource source;
    ASSERT_EQ(OpenImage(source, wave).result, 1);
    EXPECT_TRUE(source.IsPcm());
    EXPECT_FALSE(source.RawMode());
    EXPECT_EQ(source.PcmSize(), pcm.size());
    EXPECT_EQ(source.PcmFormat(), MakePcmFormat(1, 11025, 16));
    EXPECT_EQ(ReadAll(source), pcm);
    source.Rewind();
    std::uint8_t first[4] = {};
    EXPECT_EQ(source.Read(first, 4), 4u);
    EXPECT_EQ(Bytes(first, first + 4), Bytes(pcm.begin(), pcm.begin() + 4));
}

TEST(WaveSourceTest, DataChunkLongerThanTheFileDeliversWhatIsThere) {
    Bytes pcm = Constant16(10, 7);
    const Bytes image = MakeWave({.declaredDataSize = 0x7FFFFFF0}, pcm);
    WaveSource source;
    ASSERT_EQ(OpenImage(source, image).result, 1);
    EXPECT_EQ(source.PcmSize(), pcm.size());
    EXPECT_EQ(ReadAll(source), pcm);
}

TEST(WaveSourceTest, DamagedImagesNeverReadOutsideThemselves) {
    // Seeded damage to a WAVE file and to tagged MPEG frames: every open and
    // read must stay inside the image (the sanitizers watch), whatever the
    // result.
    Bytes id3 = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0, 20};
    id3.resize(30, 0);
    const Bytes originals[] = {
        MakeWave({.tag = 85, .fmtSize = 30}, Constant16(300, 9)),
        MakeWave({.channels = 2, .bits = 8}, Bytes(200, 0x90)),
        Concat(id3, Mp3Frames(3)),
    };
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (const Bytes& original : originals) {
        for (int round = 0; round < 300; ++round) {
            Bytes image = original;
            image.resize(next() % (image.size() + 1));
            for (int hits = next() % 6; hits > 0 && !image.empty(); --hits) {
                image[next() % image.size()] = static_cast<std::uint8_t>(next());
            }
            WaveSource source;
            if (OpenImage(source, image).result == 1) {
                Bytes pcm = ReadAll(source);
                if (source.IsPcm()) {
                    EXPECT_EQ(pcm.size(), source.PcmSize());
                }
            }
        }
    }
}

TEST(RiffChunksTest, FindsChunksOnlyInsideTheImage) {
    // A chunk whose size runs past the end ends the search instead of a read.
    Bytes image = {'a', 'b', 'c', 'd', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2,
                   'd', 'a', 't', 'a', 2,    0,    0,    0,    9, 9};
    EXPECT_FALSE(FindChunk(image, 0, image.size(), FourCC("data")));
    auto chunk = FindChunk(image, 10, image.size(), FourCC("data"));
    ASSERT_TRUE(chunk);
    EXPECT_EQ(chunk->dataOffset, 18u);
    EXPECT_EQ(chunk->available, 2u);
    auto cut = FindChunk(image, 0, image.size(), FourCC("abcd"));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->available, 12u);
}

} // namespace
