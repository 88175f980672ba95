#include "imaging/surface.h"
#include "mg01_builder.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>
#include <string>

namespace {

using Pixels = std::vector<std::uint32_t>;

// Storage order: memory row 0 (the bottom row) first.
Pixels StoragePixels(const CSurface& s) {
    return Pixels(s.bits, s.bits + std::size_t(s.width) * s.height);
}

struct ColourCase {
    const char* name;
    EntryFields entry;
    Pixels pixels;
};

// Test names and failures show the case by its name.
void PrintTo(const ColourCase& c, std::ostream* os) {
    *os << c.name;
}

class Mg01Colour : public testing::TestWithParam<ColourCase> {};

TEST_P(Mg01Colour, DecodesInStorageOrder) {
    const ColourCase& c = GetParam();
    Bytes file = BuildMg01({c.entry});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(surface.width, c.entry.width);
    EXPECT_EQ(surface.height, c.entry.height);
    EXPECT_EQ(StoragePixels(surface), c.pixels);
    EXPECT_EQ(surface.hasAlpha, 0);
}

constexpr std::uint8_t E = 0xE0; // escape byte of most cases

INSTANTIATE_TEST_SUITE_P(
    Methods, Mg01Colour,
    testing::Values(
        ColourCase{"RawRowsPaddedToFour",
                   {0x00, 1, 2, 24, 0, 0, {1, 2, 3, 9, 4, 5, 6, 9}},
                   {0x030201, 0x060504}},
        ColourCase{"RunLengthEscapedLiteral",
                   {0x04, 1, 1, 24, 0, 0x0B, {0x0B, 0xFF, 0x10, 0x20}},
                   {0x0020100B}},
        ColourCase{"RunLengthRunCrossesRows",
                   {0x04, 3, 2, 24, 0, E, {1, 2, 3, E, 5, 0xAA, 0xBB, 0xCC, E, 0}},
                   {0x030201, 0xCCBBAA, 0xCCBBAA, 0xCCBBAA, 0xCCBBAA, 0xCCBBAA}},
        ColourCase{"RunLengthEndCodeLeavesTheRestZero",
                   {0x04, 3, 1, 24, 0, E, {1, 2, 3, E, 0, 4, 5, 6}},
                   {0x030201, 0, 0}},
        ColourCase{"PaletteOfOneUsesTwoByteRuns",
                   {0x08, 2, 2, 24, 1, E, {10, 20, 30, 0, E, 3, 1, 2, 3, E, 0}},
                   {0x1E140A, 0x1E140A, 0x1E140A, 0x030201}},
        ColourCase{
            "PaletteOfTwoUsesThreeByteRuns",
            {0x08, 2, 2, 24, 2, E, {10, 20, 30, 0, 40, 50, 60, 0, E, 1, 2, E, 0, 1, E, 0xFF, 7, 8}},
            {0x3C3228, 0x3C3228, 0x1E140A, 0x0807E0}},
        ColourCase{"Grey",
                   {0x0C, 2, 2, 24, 0, 0xF0, {0x40, 0xF0, 0xFF, 0xF0, 2, 0x80}},
                   {0x404040, 0xF0F0F0, 0x808080, 0x808080}},
        ColourCase{
            "GreyRunOfOne", {0x0C, 2, 1, 24, 0, 0xF0, {0xF0, 1, 0x22, 0x33}}, {0x222222, 0x333333}},
        // Mixed: grey, switch to colour (no pixel), literal, run, escaped
        // literal, switch back, grey.
        ColourCase{"MixedModeSwitches",
                   {0x0D, 7, 1, 24, 0, 0xF0, {0x40, 0xF0, 1,    1,    1, 2, 3,    0xF0, 2, 4,
                                              5,    6,    0xF0, 0xFF, 7, 8, 0xF0, 1,    0, 0x11}},
                   {0x404040, 0x030201, 0x060504, 0x060504, 0x0807F0, 0x111111, 0}},
        ColourCase{"LzDirectKeepsItsAlphaBytes",
                   {0x20, 2, 1, 24, 0, 0, {1, 7, 1, 2, 3, 0x80, 4, 5, 6, 0xFF}},
                   {0x80030201, 0xFF060504}},
        ColourCase{
            "LzPlanar", {0x24, 2, 1, 24, 0, 0, {3, 5, 1, 2, 3, 4, 5, 6}}, {0x050301, 0x060402}},
        ColourCase{
            "LzPlanarUnknownMethodLeavesZero", {0x24, 2, 1, 24, 0, 0, {7, 5, 1, 2, 3, 4}}, {0, 0}},
        ColourCase{"HorizontalDelta",
                   {0x05, 3, 1, 24, 0, E, {1, 0, 0, 3, 0, 0, 0, 1, 0}},
                   {0x000001, 0x000002, 0x000102}},
        ColourCase{"VerticalDelta",
                   {0x06, 1, 3, 24, 0, E, {1, 0, 0, 3, 0, 0, 0, 1, 0}},
                   {0x000001, 0x000002, 0x000102}},
        ColourCase{"BothDeltas",
                   {0x07, 2, 2, 24, 0, E, {1, 0, 0, 2, 0, 0, 4, 0, 0, 8, 0, 0}},
                   {1, 3, 5, 15}},
        ColourCase{"DeltaClearsTheAlphaItRewrites",
                   {0x21, 2, 1, 24, 0, 0, {1, 7, 1, 0, 0, 0x80, 2, 0, 0, 0xFF}},
                   {0x80000001, 0x000003}},
        ColourCase{"GreyIgnoresTheVerticalDeltaFlag",
                   {0x0E, 1, 2, 24, 0, 0xF0, {0x10, 0x20}},
                   {0x101010, 0x202020}},
        ColourCase{"Method28DecodesNothing", {0x28, 2, 1, 24, 0, 0, {1, 2, 3, 4, 5, 6}}, {0, 0}}),
    [](const testing::TestParamInfo<ColourCase>& info) { return std::string(info.param.name); });

// A 2 x 2 picture of colour 0x030201 whose alpha comes from a plane entry.
EntryFields ColourWithPlane() {
    return EntryFields{0x84, 2, 2, 24, 0, E, {E, 4, 1, 2, 3, E, 0}};
}

struct PlaneCase {
    const char* name;
    EntryFields plane;
    Bytes alpha;
};

// Test names and failures show the case by its name.
void PrintTo(const PlaneCase& c, std::ostream* os) {
    *os << c.name;
}

class Mg01Plane : public testing::TestWithParam<PlaneCase> {};

TEST_P(Mg01Plane, BecomesTheAlphaInStorageOrder) {
    const PlaneCase& c = GetParam();
    Bytes file = BuildMg01({ColourWithPlane(), c.plane});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(surface.hasAlpha, 1);
    Bytes alpha;
    for (std::uint32_t p : StoragePixels(surface)) {
        EXPECT_EQ(p & 0xFFFFFF, 0x030201u);
        alpha.push_back(std::uint8_t(p >> 24));
    }
    EXPECT_EQ(alpha, c.alpha);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, Mg01Plane,
    testing::Values(
        PlaneCase{"Raw", {0x10, 2, 2, 8, 0, 0, {10, 20, 30, 40}}, {10, 20, 30, 40}},
        PlaneCase{"Pairs", {0x11, 2, 2, 8, 0, 0, {50, 3, 60, 1}}, {50, 50, 50, 60}},
        PlaneCase{"PairsEndCode", {0x11, 2, 2, 8, 0, 0, {50, 1, 60, 0, 70, 2}}, {50, 0, 0, 0}},
        PlaneCase{
            "NibblesShortAndLong", {0x11, 2, 2, 4, 0, 0, {0x3A, 0x05, 1}}, {170, 170, 170, 85}},
        PlaneCase{"NibblesU16Length", {0x11, 2, 2, 4, 0, 0, {0x02, 0, 4, 0}}, {34, 34, 34, 34}},
        PlaneCase{
            "NibblesEndCode", {0x11, 2, 2, 4, 0, 0, {0x1F, 0x01, 0, 0, 0, 0x3F}}, {255, 0, 0, 0}},
        PlaneCase{"TwoMarkersRunCutAtTheEnd",
                  {0x12, 2, 2, 8, 2, 0, {0xFF, 0xF6, 0x10, 0xFF, 2, 0xF6, 5}},
                  {0x10, 0xFF, 0xFF, 0xF6}},
        PlaneCase{"MarkerU16Length",
                  {0x12, 2, 2, 8, 1, 0, {0xFF, 0xFF, 0, 3, 0, 7}},
                  {0xFF, 0xFF, 0xFF, 7}},
        PlaneCase{"UnknownEncodingLeavesZero", {0x13, 2, 2, 8, 0, 0, {1, 2, 3, 4}}, {0, 0, 0, 0}},
        PlaneCase{
            "RunLengthWithOtherDepthLeavesZero", {0x11, 2, 2, 2, 0, 0, {50, 4}}, {0, 0, 0, 0}},
        PlaneCase{"LargerPlaneIsCutToThePicture",
                  {0x10, 3, 3, 8, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                  {1, 2, 3, 4}}),
    [](const testing::TestParamInfo<PlaneCase>& info) { return std::string(info.param.name); });

TEST(Mg01File, FlagWithoutPlaneLoadsWithoutAlpha) {
    Bytes file = BuildMg01({ColourWithPlane()});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(surface.hasAlpha, 0);
    EXPECT_EQ(StoragePixels(surface), Pixels(4, 0x030201));
}

TEST(Mg01File, PlaneIsIgnoredWithoutTheFlag) {
    EntryFields colour = ColourWithPlane();
    colour.flags = 0x04;
    Bytes file = BuildMg01({colour, {0x10, 2, 2, 8, 0, 0, {1, 2, 3, 4}}});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(surface.hasAlpha, 0);
    EXPECT_EQ(StoragePixels(surface), Pixels(4, 0x030201));
}

TEST(Mg01File, FirstPlaneEntryInTableOrderWins) {
    Bytes file = BuildMg01({ColourWithPlane(),
                            {0x04, 2, 2, 24, 0, E, {E, 0}},
                            {0x10, 2, 2, 8, 0, 0, {9, 9, 9, 9}},
                            {0x10, 2, 2, 8, 0, 0, {1, 1, 1, 1}}});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(StoragePixels(surface), Pixels(4, 0x09030201));
}

TEST(Mg01File, LaterVersionHeaderPlacesTheTableByItsOffset) {
    Bytes file = BuildMg01({ColourWithPlane(), {0x10, 2, 2, 8, 0, 0, {5, 6, 7, 8}}}, 257);
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(StoragePixels(surface), (Pixels{0x05030201, 0x06030201, 0x07030201, 0x08030201}));
}

TEST(Mg01File, ReloadReplacesThePicture) {
    CSurface surface;
    Bytes big = BuildMg01({{0x04, 3, 3, 24, 0, E, {E, 9, 1, 1, 1}}});
    Bytes small = BuildMg01({{0x04, 1, 1, 24, 0, E, {2, 2, 2}}});
    ASSERT_EQ(surface.LoadFromMemory(big.data(), big.size()), 1);
    surface.opacity = 7;
    ASSERT_EQ(surface.LoadFromMemory(small.data(), small.size()), 1);
    EXPECT_EQ(surface.width, 1);
    EXPECT_EQ(surface.opacity, 255);
    EXPECT_EQ(StoragePixels(surface), Pixels{0x020202});
}

TEST(Mg01File, UnusableHeadersFailAndLeaveTheSurfaceEmpty) {
    Bytes good = BuildMg01({{0x04, 1, 1, 24, 0, E, {2, 2, 2}}});
    Bytes noEntries = good;
    noEntries[8] = 0;
    Bytes entryOutside = good;
    entryOutside[16] = 0xF0; // first table value
    Bytes zeroWidth = BuildMg01({{0x04, 0, 1, 24, 0, E, {2, 2, 2}}});
    Bytes tooLarge = BuildMg01({{0x04, 0xFFFF, 0xFFFF, 24, 0, E, {E, 0}}});
    for (const Bytes& file :
         {noEntries, entryOutside, zeroWidth, tooLarge, Bytes{'M', 'G', '0', '1'}}) {
        CSurface surface;
        EXPECT_EQ(surface.LoadFromMemory(file.data(), file.size()), 0);
        EXPECT_EQ(surface.bits, nullptr);
        EXPECT_EQ(surface.width, 0);
    }
}

TEST(Mg01File, PaletteIndexPastThePaletteStopsTheDecoder) {
    Bytes file = BuildMg01(
        {{0x08, 3, 1, 24, 2, E, {10, 20, 30, 0, 40, 50, 60, 0, E, 1, 1, E, 9, 1, 7, 7, 7}}});
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    EXPECT_EQ(StoragePixels(surface), (Pixels{0x3C3228, 0, 0}));
}

// Every shorter copy of a file is cut inside its entries: the loader keeps
// to the bytes it has, and what it decodes is a prefix of the full picture.
TEST(Mg01File, TruncatedFilesGiveTruncatedPictures) {
    const std::vector<Bytes> files = {
        BuildMg01({ColourWithPlane(), {0x12, 2, 2, 8, 1, 0, {0xFF, 7, 0xFF, 3}}}),
        BuildMg01({{0x08, 2, 2, 24, 2, E, {10, 20, 30, 0, 40, 50, 60, 0, E, 1, 3, 1, 2, 3}}}),
        BuildMg01({{0x0D, 3, 1, 24, 0, E, {0x40, E, 1, 1, 1, 2, 3, E, 0xFF, 7, 8}}}),
        BuildMg01({{0x24, 2, 1, 24, 0, 0, {2, 8, 4, 6, 0, 1, 2, 3, 4, 5, 6, 0, 1, 0, 0, 0}}}),
        BuildMg01({{0x20, 2, 1, 24, 0, 0, {3, 0x03, 1, 2, 3, 4, 0x81, 4}}}),
    };
    for (const Bytes& file : files) {
        CSurface full;
        ASSERT_EQ(full.LoadFromMemory(file.data(), file.size()), 1);
        Pixels complete = StoragePixels(full);
        for (std::size_t size = 0; size < file.size(); ++size) {
            Bytes cut(file.begin(), file.begin() + std::ptrdiff_t(size));
            CSurface surface;
            if (surface.LoadFromMemory(cut.data(), cut.size()) == 0) {
                continue;
            }
            Pixels got = StoragePixels(surface);
            ASSERT_EQ(got.size(), complete.size());
            // Byte by byte: planar pictures fill their channels one by one.
            for (std::size_t k = 0; k < got.size(); ++k) {
                for (int shift = 0; shift < 32; shift += 8) {
                    std::uint32_t byte = got[k] >> shift & 0xFF;
                    EXPECT_TRUE(byte == 0 || byte == (complete[k] >> shift & 0xFF))
                        << "size " << size << " pixel " << k;
                }
            }
        }
    }
}

// Random damage to the header and the streams: the sanitizers watch every
// read and write, and whatever loads keeps the size its header declares.
TEST(Mg01File, DamagedFilesStayInBounds) {
    Bytes base = BuildMg01({ColourWithPlane(),
                            {0x12, 2, 2, 8, 1, 0, {0xFF, 7, 0xFF, 3}},
                            {0x24, 3, 3, 24, 0, 0, {1, 7, 1, 2, 3, 4, 5, 6, 7, 8, 0x10, 4}}});
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        Bytes file = base;
        int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i) {
            file[random() % file.size()] = std::uint8_t(random());
        }
        CSurface surface;
        if (surface.LoadFromMemory(file.data(), file.size()) == 1) {
            EXPECT_GT(surface.width, 0);
            EXPECT_GT(surface.height, 0);
            EXPECT_NE(surface.bits, nullptr);
        }
    }
}

} // namespace
