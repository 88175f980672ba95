// The MG01 writer of lumitool against the engine's loader: every method,
// delta and plane encoding round-trips exactly.
#include "data/lz_decode.h"
#include "imaging/surface.h"
#include "lz_encode.h"
#include "mg01_encode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Flat areas, a gradient, noise and repeats, so that every token kind of
// the encoders is used; alpha has runs of 0 and 255 and ramps.
Picture Artwork(int width, int height, bool grey, bool nibbleAlpha, bool opaque) {
    std::mt19937 random(77);
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = 0;
            if (y < height / 3) {
                c = 0x203040;
            } else if (y < 2 * height / 3) {
                c = std::uint32_t(x * 3) | std::uint32_t(y * 5) << 8 | std::uint32_t(x + y) << 16;
            } else {
                c = random() & (x % 7 == 0 ? 0xFFFFFF : 0x0F0F0F);
            }
            if (grey) {
                c = (c & 0xFF) * 0x010101u;
            }
            std::uint32_t a = x < width / 4   ? 0
                              : x < width / 2 ? 255
                                              : std::uint32_t(x * 9 + y) & 0xFF;
            if (nibbleAlpha) {
                a = a / 17 * 17;
            }
            p.pixels.push_back((opaque ? 0xFFu : a) << 24 | (c & 0xFFFFFF));
        }
    }
    return p;
}

void ExpectRoundTrip(const Picture& picture, const Bytes& file, bool transparent) {
    CSurface surface;
    ASSERT_EQ(surface.LoadFromMemory(file.data(), file.size()), 1);
    ASSERT_EQ(surface.width, picture.width);
    ASSERT_EQ(surface.height, picture.height);
    EXPECT_EQ(surface.hasAlpha, transparent ? 1 : 0);
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            std::uint32_t p = picture.pixels[std::size_t(y) * picture.width + x];
            wrong += surface.GetPixel(x, y) != (transparent ? p : p & 0xFFFFFF) ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Mg01Encode, EveryColourMethodAndDeltaRoundTrips) {
    const Picture colour = Artwork(37, 23, false, false, true);
    const Picture grey = Artwork(37, 23, true, false, true);
    for (const std::string& method : Mg01ColourMethods()) {
        bool greyOnly = method == "grey";
        bool deltas = method != "grey" && method != "mixed";
        for (const char* suffix : {"", "+h", "+v", "+hv"}) {
            if (!deltas && *suffix != '\0') {
                continue;
            }
            SCOPED_TRACE(method + suffix);
            std::string error;
            const Picture& picture = greyOnly ? grey : colour;
            Bytes file = EncodeMg01(picture, {method + suffix, ""}, error);
            ASSERT_FALSE(file.empty()) << error;
            ExpectRoundTrip(picture, file, false);
        }
    }
}

TEST(Mg01Encode, EveryPlaneEncodingRoundTrips) {
    const Picture picture = Artwork(41, 19, false, true, false);
    for (const std::string& plane : Mg01PlaneEncodings()) {
        SCOPED_TRACE(plane);
        std::string error;
        Bytes file = EncodeMg01(picture, {"rle", plane}, error);
        ASSERT_FALSE(file.empty()) << error;
        ExpectRoundTrip(picture, file, true);
    }
}

TEST(Mg01Encode, DefaultKeepsTheSmallest) {
    const Picture picture = Artwork(64, 48, false, false, false);
    std::string error;
    Bytes best = EncodeMg01(picture, {}, error);
    ASSERT_FALSE(best.empty()) << error;
    ExpectRoundTrip(picture, best, true);
    for (const char* method : {"raw", "rle", "palette", "lz1", "lz2", "lz3+hv", "planar3+v"}) {
        Bytes forced = EncodeMg01(picture, {method, ""}, error);
        EXPECT_LE(best.size(), forced.size()) << method;
    }
}

TEST(Mg01Encode, MethodsThatDoNotFitAreRefused) {
    std::string error;
    EXPECT_TRUE(EncodeMg01(Artwork(8, 8, false, false, true), {"grey", ""}, error).empty());
    EXPECT_TRUE(EncodeMg01(Artwork(8, 8, false, false, false), {"rle", "nibbles"}, error).empty());
    EXPECT_TRUE(EncodeMg01(Artwork(8, 8, true, false, true), {"mixed+h", ""}, error).empty());
    EXPECT_TRUE(EncodeMg01(Artwork(8, 8, true, false, true), {"lz4", ""}, error).empty());
    EXPECT_FALSE(error.empty());
}

// Long literals, long runs and far matches, through the engine's decoder.
TEST(LzEncode, EveryMethodRoundTripsAndCompresses) {
    std::mt19937 random(5);
    Bytes data;
    for (int i = 0; i < 70000; ++i) {
        data.push_back(std::uint8_t(random())); // longer than one long literal
    }
    data.insert(data.end(), 70000, 0x42); // longer than one u16 match
    for (int i = 0; i < 3000; ++i) {
        data.push_back(std::uint8_t(i % 251 < 100 ? i % 7 : i % 13));
    }
    Bytes copy(data.begin() + 1000, data.begin() + 1600); // a repeat 100 KB back
    data.insert(data.end(), copy.begin(), copy.end());
    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(300), data.size()}) {
        for (int method = 1; method <= 3; ++method) {
            SCOPED_TRACE("method " + std::to_string(method) + " size " + std::to_string(size));
            Bytes packed = LzEncode(method, data.data(), size);
            CLZDecode lz;
            ASSERT_EQ(lz.Decode(nullptr, packed.data(), std::uint32_t(packed.size()),
                                std::uint32_t(size)),
                      std::uint32_t(size));
            EXPECT_TRUE(std::equal(data.begin(), data.begin() + std::ptrdiff_t(size), lz.Output()));
            if (size == data.size()) {
                // Beyond the random head, the runs and repeats cost little.
                Bytes head = LzEncode(method, data.data(), 70000);
                EXPECT_LT(packed.size(), head.size() + 1500);
            }
        }
    }
}

} // namespace
