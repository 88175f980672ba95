#include "imaging/surface.h"
#include "mg01_builder.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

using Pixels = std::vector<std::uint32_t>;

Pixels StoragePixels(const CSurface& s) {
    return Pixels(s.bits, s.bits + std::size_t(s.width) * s.height);
}

Bytes Tga(std::uint16_t width, std::uint16_t height, std::uint8_t depth, const Bytes& pixels) {
    Bytes out{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PutLe(out, width, 2);
    PutLe(out, height, 2);
    out.push_back(depth);
    out.push_back(0x20); // top-left origin: ignored
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

TEST(TgaLoader, ThirtyTwoBitRowsBottomFirstWithAlpha) {
    Bytes file = Tga(2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(surface.hasAlpha, 1);
    EXPECT_EQ(StoragePixels(surface), (Pixels{0x04030201, 0x08070605}));
}

TEST(TgaLoader, OtherDepthsGiveABlankPicture) {
    Bytes file = Tga(2, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(surface.hasAlpha, 0);
    EXPECT_EQ(StoragePixels(surface), Pixels(4, 0));
}

TEST(TgaLoader, ShortFileGivesATruncatedPicture) {
    Bytes file = Tga(2, 2, 32, {1, 2, 3, 4, 5, 6});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(StoragePixels(surface), (Pixels{0x04030201, 0x00000605, 0, 0}));
}

struct BmpFields {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    Bytes masks;   // after a 40-byte header, for bit fields
    Bytes palette; // B, G, R, 0 records
    Bytes rows;    // padded rows as stored
};

Bytes Bmp(const BmpFields& b) {
    std::uint32_t offBits = 14 + 40 + std::uint32_t(b.masks.size() + b.palette.size());
    Bytes out{'B', 'M'};
    PutLe(out, offBits + std::uint32_t(b.rows.size()), 4);
    PutLe(out, 0, 4);
    PutLe(out, offBits, 4);
    PutLe(out, 40, 4);
    PutLe(out, std::uint32_t(b.width), 4);
    PutLe(out, std::uint32_t(b.height), 4);
    PutLe(out, 1, 2);
    PutLe(out, b.bitCount, 2);
    PutLe(out, b.compression, 4);
    PutLe(out, std::uint32_t(b.rows.size()), 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, b.colorsUsed, 4);
    PutLe(out, 0, 4);
    for (const Bytes* part : {&b.masks, &b.palette, &b.rows}) {
        out.insert(out.end(), part->begin(), part->end());
    }
    return out;
}

Bytes Masks(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    Bytes out;
    PutLe(out, r, 4);
    PutLe(out, g, 4);
    PutLe(out, b, 4);
    return out;
}

struct BmpCase {
    const char* name;
    BmpFields fields;
    Pixels pixels; // storage order
};

// Test names and failures show the case by its name.
void PrintTo(const BmpCase& c, std::ostream* os) {
    *os << c.name;
}

class BmpLoader : public testing::TestWithParam<BmpCase> {};

TEST_P(BmpLoader, DecodesWithoutAlpha) {
    const BmpCase& c = GetParam();
    Bytes file = Bmp(c.fields);
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(surface.hasAlpha, 0);
    EXPECT_EQ(StoragePixels(surface), c.pixels);
}

const Bytes kPalette{10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0};

INSTANTIATE_TEST_SUITE_P(
    Depths, BmpLoader,
    testing::Values(
        BmpCase{"TwentyFourBitPaddedRows",
                {1, 2, 24, 0, 0, {}, {}, {1, 2, 3, 0, 4, 5, 6, 0}},
                {0x030201, 0x060504}},
        BmpCase{"EightBitPalette",
                {3, 1, 8, 0, 3, {}, kPalette, {2, 0, 1, 0}},
                {0x5A5046, 0x1E140A, 0x3C3228}},
        BmpCase{"FourBitHighNibbleLeft",
                {3, 1, 4, 0, 3, {}, kPalette, {0x21, 0x00, 0, 0}},
                {0x5A5046, 0x3C3228, 0x1E140A}},
        BmpCase{"IndexPastThePaletteIsBlack",
                {2, 1, 8, 0, 3, {}, kPalette, {7, 1, 0, 0}},
                {0, 0x3C3228}},
        BmpCase{"SixteenBit555", {1, 1, 16, 0, 0, {}, {}, {0x1F | 0x20, 0x7C, 0, 0}}, {0xF808F8}},
        BmpCase{"SixteenBit565",
                {1, 1, 16, 3, 0, Masks(0xF800, 0x07E0, 0x1F), {}, {0x3F, 0xF8, 0, 0}},
                {0xF804F8}},
        BmpCase{
            "ThirtyTwoBitCopiesAllFourBytes", {1, 1, 32, 0, 0, {}, {}, {1, 2, 3, 4}}, {0x04030201}},
        BmpCase{"ThirtyTwoBitRedFirst",
                {1, 1, 32, 3, 0, Masks(0xFF, 0xFF00, 0xFF0000), {}, {1, 2, 3, 4}},
                {0x010203}},
        BmpCase{"TopDownIsTurnedUpright",
                {1, -2, 24, 0, 0, {}, {}, {1, 2, 3, 0, 4, 5, 6, 0}},
                {0x060504, 0x030201}},
        BmpCase{"OneBitStaysBlank",
                {2, 1, 1, 0, 0, {}, {0, 0, 0, 0, 255, 255, 255, 0}, {0xC0, 0, 0, 0}},
                {0, 0}},
        BmpCase{"ShortFileTruncates",
                {2, 2, 24, 0, 0, {}, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8}},
                {0x030201, 0x060504, 0, 0}}),
    [](const testing::TestParamInfo<BmpCase>& info) { return std::string(info.param.name); });

TEST(BmpLoader, UnusableFilesFail) {
    const std::vector<Bytes> files = {
        Bmp({1, 1, 2, 0, 0, {}, {}, {0, 0, 0, 0}}), // no such depth
        Bmp({0, 1, 24, 0, 0, {}, {}, {}}),          // no width
        Bmp({-4, 1, 24, 0, 0, {}, {}, {}}),         // negative width
        Bytes{'B', 'M', 0, 0},                      // no header
        {},
    };
    for (const Bytes& file : files) {
        CSurface surface;
        EXPECT_EQ(surface.LoadFromMemory(file.data(), file.size()), 0);
        EXPECT_EQ(surface.bits, nullptr);
    }
}

} // namespace
