#include "sound_fixtures.h"

#include "platform/mpeg_audio_decoder.h"
#include "sound/mpeg_audio_start.h"
#include "sound/wave_source.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

namespace {

struct HeaderCase {
    std::array<std::uint8_t, 4> bytes;
    int version, layer, bitrate, rate, padding;
    bool mono;
    int frameLength;
};

TEST(MpegAudioTest, FrameHeadersFollowTheIsoTables) {
    const HeaderCase cases[] = {
        // MPEG-1 Layer III 128 kbit/s 44100 Hz, mono / padded joint stereo.
        {{0xFF, 0xFB, 0x90, 0xC0}, 1, 3, 128, 44100, 0, true, 417},
        {{0xFF, 0xFB, 0x92, 0x40}, 1, 3, 128, 44100, 1, false, 418},
        // MPEG-1 Layer II 192 kbit/s 48000 Hz; Layer I 32 kbit/s 32000 Hz.
        {{0xFF, 0xFD, 0xA4, 0x00}, 1, 2, 192, 48000, 0, false, 576},
        {{0xFF, 0xFF, 0x18, 0x00}, 1, 1, 32, 32000, 0, false, 48},
        // MPEG-2 Layer III 64 kbit/s 22050 Hz; MPEG-2.5 8 kbit/s 8000 Hz.
        {{0xFF, 0xF3, 0x80, 0xC0}, 2, 3, 64, 22050, 0, true, 417},
        {{0xFF, 0xE3, 0x18, 0xC0}, 25, 3, 8, 8000, 0, true, 144},
    };
    for (const HeaderCase& c : cases) {
        auto header = ParseMpegFrameHeader(c.bytes);
        ASSERT_TRUE(header) << int(c.bytes[1]) << ' ' << int(c.bytes[2]);
        EXPECT_EQ(header->version, c.version);
        EXPECT_EQ(header->layer, c.layer);
        EXPECT_EQ(header->bitrateKbps, c.bitrate);
        EXPECT_EQ(header->sampleRate, c.rate);
        EXPECT_EQ(header->padding, c.padding);
        EXPECT_EQ(header->mono, c.mono);
        EXPECT_EQ(header->FrameLength(), c.frameLength);
    }
    const std::array<std::uint8_t, 4> refused[] = {
        {0xFE, 0xFB, 0x90, 0xC0}, // no sync
        {0xFF, 0xDB, 0x90, 0xC0}, // sync cut short
        {0xFF, 0xEB, 0x90, 0xC0}, // reserved version
        {0xFF, 0xF9, 0x90, 0xC0}, // reserved layer
        {0xFF, 0xFB, 0x00, 0xC0}, // free bitrate
        {0xFF, 0xFB, 0xF0, 0xC0}, // invalid bitrate
        {0xFF, 0xFB, 0x9C, 0xC0}, // reserved sample rate
    };
    for (const auto& bytes : refused) {
        EXPECT_FALSE(ParseMpegFrameHeader(bytes)) << int(bytes[1]) << ' ' << int(bytes[2]);
    }
}

Bytes Id3v2(std::uint8_t version, std::uint8_t flags, std::uint32_t size) {
    Bytes tag = {'I', 'D', '3', version, 0, flags};
    for (int shift = 21; shift >= 0; shift -= 7) {
        tag.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
    }
    tag.resize(10 + size, 0);
    return tag;
}

Bytes Id3v1() {
    Bytes tag = {'T', 'A', 'G'};
    tag.resize(128, ' ');
    return tag;
}

TEST(MpegAudioTest, TagsAroundTheFramesAreLeftOut) {
    const Bytes frames = Mp3Frames(3);
    struct Case {
        const char* name;
        Bytes image;
        std::size_t rawStart;
    };
    Bytes v24Footer = Id3v2(4, 0x10, 300);
    v24Footer.resize(v24Footer.size() + 10, 0);
    const Case cases[] = {
        {"bare", frames, 4},
        {"ID3v2.3 of 300 bytes", Concat(Id3v2(3, 0x10, 300), frames), 314},
        {"ID3v2.4 with footer", Concat(v24Footer, frames), 324},
        {"ID3v1 at the end", Concat(frames, Id3v1()), 4},
        {"both", Concat(Concat(Id3v2(3, 0, 200), frames), Id3v1()), 214},
    };
    for (const Case& c : cases) {
        auto start = FindMpegAudio(c.image);
        ASSERT_TRUE(start) << c.name;
        EXPECT_EQ(start->rawStart, c.rawStart) << c.name;
        EXPECT_EQ(start->rawLength, frames.size() - 4) << c.name;
    }
    Bytes longTag = Id3v2(3, 0, 5000);
    longTag.resize(110);
    EXPECT_FALSE(FindMpegAudio(Concat(longTag, frames))) << "tag past the end";
    EXPECT_FALSE(FindMpegAudio(Concat(Concat(Id3v2(3, 0, 10), Bytes(10, 0)), frames)))
        << "tag size short of the frames";
    EXPECT_FALSE(FindMpegAudio(Bytes{'I', 'D', '3', 3})) << "tag header cut short";
}

TEST(MpegAudioTest, FormatRecordDescribesTheFirstFrame) {
    Bytes frames = Mp3Frames(2);
    frames[2] |= 0x02; // padded
    auto start = FindMpegAudio(frames);
    ASSERT_TRUE(start);
    const WaveFormatRecord& record = start->format;
    EXPECT_EQ(record.format.formatTag, 85);
    EXPECT_EQ(record.format.channels, 1);
    EXPECT_EQ(record.format.samplesPerSec, 44100u);
    EXPECT_EQ(record.format.avgBytesPerSec, 16000u);
    EXPECT_EQ(record.format.blockAlign, 1);
    EXPECT_EQ(record.format.bitsPerSample, 0);
    EXPECT_EQ(record.extraSize, 12);
    // ID 1, flags 1 (padding), block size 418, one frame a block, delay 1393.
    EXPECT_EQ(record.extra, (Bytes{1, 0, 1, 0, 0, 0, 0xA2, 0x01, 1, 0, 0x71, 0x05}));
}

TEST(MpegAudioTest, MemoryImageOfFramesDecodesToPcm) {
    constexpr int kFrames = 12;
    const Bytes image = Concat(Id3v2(3, 0, 40), Concat(Mp3Frames(kFrames), Id3v1()));
    WaveSource source;
    source.SetMemoryImage(image.data(), static_cast<DWORD>(image.size()));
    ASSERT_EQ(source.Open(nullptr, WaveSource::kModeMemory), 1);
    EXPECT_TRUE(source.RawMode());
    EXPECT_FALSE(source.IsPcm());
    EXPECT_EQ(source.EncodedFormat().format.formatTag, WAVE_FORMAT_MPEGLAYER3);
    EXPECT_EQ(source.PcmFormat(), MakePcmFormat(1, 44100, 16));
    // The estimate: encoded bytes scaled by the two byte rates.
    const std::uint64_t rawLength = kFrames * kMp3FrameBytes - 4;
    EXPECT_EQ(source.PcmSize(), rawLength * 88200 / kMp3BytesPerSecond);

    // The delivered bytes start after the first frame's header, so the
    // decoder finds its first whole frame one frame in.
    const std::size_t expected = (kFrames - 1) * kMp3FrameSamples * 2;
    for (int pass = 0; pass < 2; ++pass) {
        std::size_t total = 0;
        bool silent = true;
        std::uint8_t chunk[4410];
        for (DWORD got; (got = source.Read(chunk, sizeof chunk)) > 0;) {
            total += got;
            for (DWORD i = 0; i < got; ++i) {
                silent = silent && chunk[i] == 0;
            }
        }
        EXPECT_EQ(total, expected) << "pass " << pass;
        EXPECT_TRUE(silent);
        source.Rewind();
    }
}

TEST(MpegAudioTest, MpegFallbackIsForMemoryImagesOnly) {
    const Bytes image = Mp3Frames(4);
    const std::string path = ::testing::TempDir() + "lumi_frames.mp3";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(image.data(), 1, image.size(), file);
    std::fclose(file);
    WaveSource source;
    std::u16string path16(path.begin(), path.end());
    EXPECT_EQ(source.Open(path16.c_str(), WaveSource::kModeFile), 0);
    std::remove(path.c_str());
}

} // namespace
