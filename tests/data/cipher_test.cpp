#include "data/cipher.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

std::span<const std::uint8_t> Key(std::string_view text) {
    return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

std::vector<std::uint8_t> Sample(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    return bytes;
}

std::pair<std::uint32_t, std::uint32_t> Encipher(const BlowfishKey& key, std::uint32_t l,
                                                 std::uint32_t r) {
    key.EncipherBlock(l, r);
    return {l, r};
}

TEST(KeyStream, AppliedTwiceRestoresTheBytes) {
    std::vector<std::uint8_t> bytes = Sample(100);
    const std::vector<std::uint8_t> original = bytes;
    ApplyKeyStream(12345, bytes);
    EXPECT_NE(bytes, original);
    ApplyKeyStream(12345, bytes);
    EXPECT_EQ(bytes, original);
}

TEST(KeyStream, XorsBits16To23OfTheAdvancedState) {
    std::uint8_t bytes[3] = {0, 0, 0};
    ApplyKeyStream(0, bytes);
    std::uint32_t state = 0;
    for (std::uint8_t b : bytes) {
        state = state * 214013u + 2531011u;
        EXPECT_EQ(b, (state >> 16) & 0xFF);
    }
    EXPECT_EQ(bytes[0], 0x26); // 2531011 = 0x269EC3
}

TEST(Crc16, MatchesThePublishedCheckValues) {
    EXPECT_EQ(Crc16CcittFalse(Key("123456789")), 0x29B1);
    EXPECT_EQ(Crc16CcittFalse({}), 0xFFFF);
}

TEST(Blowfish, BlockFunctionMatchesPublishedVectors) {
    struct Vector {
        std::array<std::uint8_t, 8> key;
        std::uint32_t plainLeft, plainRight, cipherLeft, cipherRight;
    };
    const Vector vectors[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, 0x00000000, 0x00000000, 0x4EF99745, 0x6198DD78},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         0xFFFFFFFF,
         0xFFFFFFFF,
         0x51866FD5,
         0xB85ECB8A},
        {{0x30, 0, 0, 0, 0, 0, 0, 0}, 0x10000000, 0x00000001, 0x7D856F9A, 0x613063F2},
        {{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
         0x11111111,
         0x11111111,
         0x61F9C380,
         0x2281B096},
    };
    for (const Vector& v : vectors) {
        BlowfishKey key(v.key);
        auto [l, r] = Encipher(key, v.plainLeft, v.plainRight);
        EXPECT_EQ(l, v.cipherLeft);
        EXPECT_EQ(r, v.cipherRight);
        key.DecipherBlock(l, r);
        EXPECT_EQ(l, v.plainLeft);
        EXPECT_EQ(r, v.plainRight);
    }
}

TEST(Blowfish, BlockHalvesAreLittleEndian) {
    BlowfishKey key(std::array<std::uint8_t, 8>{});
    std::uint8_t block[8] = {};
    key.Encipher(block);
    // The big-endian reference gives 4E F9 97 45 61 98 DD 78.
    const std::uint8_t expected[8] = {0x45, 0x97, 0xF9, 0x4E, 0x78, 0xDD, 0x98, 0x61};
    EXPECT_TRUE(std::equal(std::begin(block), std::end(block), std::begin(expected)));
}

TEST(Blowfish, BufferRoundTripsAndLeavesAPartialBlock) {
    BlowfishKey key(Key("LumiMaker"));
    std::vector<std::uint8_t> bytes = Sample(21);
    const std::vector<std::uint8_t> original = bytes;
    key.Encipher(bytes);
    EXPECT_NE(std::vector(bytes.begin(), bytes.begin() + 16),
              std::vector(original.begin(), original.begin() + 16));
    EXPECT_EQ(std::vector(bytes.begin() + 16, bytes.end()),
              std::vector(original.begin() + 16, original.end()));
    key.Decipher(bytes);
    EXPECT_EQ(bytes, original);
}

TEST(Blowfish, ShortKeysRepeatCyclically) {
    BlowfishKey ab(Key("ab"));
    BlowfishKey abab(Key("abababab"));
    BlowfishKey abc(Key("abc"));
    EXPECT_EQ(Encipher(ab, 1, 2), Encipher(abab, 1, 2));
    EXPECT_NE(Encipher(ab, 1, 2), Encipher(abc, 1, 2));
}

TEST(Blowfish, AnEmptyKeyLeavesTheInitialPArray) {
    // XOR-ing zero words is the only other way to leave P as it starts.
    BlowfishKey empty(std::span<const std::uint8_t>{});
    BlowfishKey zeros(std::array<std::uint8_t, 4>{});
    EXPECT_EQ(Encipher(empty, 7, 9), Encipher(zeros, 7, 9));
    auto [l, r] = Encipher(empty, 7, 9);
    empty.DecipherBlock(l, r);
    EXPECT_EQ(l, 7u);
    EXPECT_EQ(r, 9u);
}

} // namespace
