#include "data/lz_decode.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct LzCase {
    const char* name;
    Bytes stream;
    std::uint32_t expected;
    Bytes output;
};

// Test names and failures show the case by its name.
void PrintTo(const LzCase& c, std::ostream* os) {
    *os << c.name;
}

class LzWellFormed : public testing::TestWithParam<LzCase> {};

TEST_P(LzWellFormed, ExpandsToTheExpectedBytes) {
    const LzCase& c = GetParam();
    CLZDecode lz;
    Bytes out(c.expected + 4, 0xEE); // four guard bytes after the output
    EXPECT_EQ(lz.Decode(out.data(), c.stream.data(), std::uint32_t(c.stream.size()), c.expected),
              c.expected);
    EXPECT_EQ(lz.Produced(), c.expected);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + c.expected), c.output);
    EXPECT_EQ(Bytes(out.begin() + c.expected, out.end()), Bytes(4, 0xEE));
}

INSTANTIATE_TEST_SUITE_P(
    Methods, LzWellFormed,
    testing::Values(
        LzCase{"M1LiteralThenMatch",
               {1, 2, 'a', 'b', 'c', 0x0A, 3},
               6,
               {'a', 'b', 'c', 'a', 'b', 'c'}},
        LzCase{"M3LiteralThenMatch",
               {3, 2, 'a', 'b', 'c', 0x83, 3},
               6,
               {'a', 'b', 'c', 'a', 'b', 'c'}},
        LzCase{"M1OverlappingMatch", {1, 0, 0x41, 0x0C, 1}, 6, Bytes(6, 0x41)},
        LzCase{"M2LongLiteralThenEmptyMatch",
               {2, 8, 4, 3, 0, 'x', 'y', 'z', 0, 1, 0, 0, 0},
               3,
               {'x', 'y', 'z'}},
        // Escape + a run of 8 literals, then escape + a long match of
        // distance 2 whose length comes as a u16.
        LzCase{"M2MediumLiteralAndLongMatch",
               {2, 8, 8, 1, 2, 3, 4, 5, 6, 7, 8, 8, 0, 2, 0, 3, 0},
               11,
               {1, 2, 3, 4, 5, 6, 7, 8, 7, 8, 7}},
        LzCase{"M3EmptyLongLiteralThenRun", {3, 0x40, 0x00, 0x00, 9, 0xC0, 1, 4}, 5, Bytes(5, 9)},
        LzCase{"M3WideDistanceAndU16Length", {3, 0x01, 5, 6, 0xE0, 2, 3, 0x00}, 5, {5, 6, 5, 6, 5}},
        LzCase{"ZeroLengthReadsOnlyTheMethod", {1}, 0, {}}),
    [](const testing::TestParamInfo<LzCase>& info) { return std::string(info.param.name); });

// A long match whose distance needs the high bits of the escape's second
// byte: 300 literal bytes, then a copy of the first 5 from 300 back.
TEST(LzDecode, LongMatchUsesTheHighDistanceBits) {
    Bytes stream{2, 8, 4, 0x2C, 0x01};
    Bytes expected;
    for (int i = 0; i < 300; ++i) {
        stream.push_back(std::uint8_t(i * 7));
        expected.push_back(std::uint8_t(i * 7));
    }
    stream.insert(stream.end(), {1, 0x2C, 5}); // c = 1: distance 0x12C, length 5
    expected.insert(expected.end(), expected.begin(), expected.begin() + 5);
    CLZDecode lz;
    ASSERT_EQ(lz.Decode(nullptr, stream.data(), std::uint32_t(stream.size()), 305), 305u);
    EXPECT_EQ(Bytes(lz.Output(), lz.Output() + 305), expected);
}

TEST(LzDecode, UnknownMethodKeepsNoOutput) {
    for (std::uint8_t method : {0, 4, 0xFF}) {
        Bytes stream{method, 0, 'a'};
        CLZDecode lz;
        EXPECT_EQ(lz.Decode(nullptr, stream.data(), 3, 1), 0u);
        EXPECT_EQ(lz.Output(), nullptr);
    }
}

TEST(LzDecode, OwnedOutputHoldsTheExpansion) {
    Bytes stream{1, 2, 'a', 'b', 'c', 0x0A, 3};
    CLZDecode lz;
    ASSERT_EQ(lz.Decode(nullptr, stream.data(), 7, 6), 6u);
    ASSERT_NE(lz.Output(), nullptr);
    EXPECT_EQ(Bytes(lz.Output(), lz.Output() + 6), (Bytes{'a', 'b', 'c', 'a', 'b', 'c'}));
}

struct MalformedCase {
    const char* name;
    Bytes stream;
    std::uint32_t expected;
    Bytes produced; // what stands in the output when the decoder stops
};

// Test names and failures show the case by its name.
void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.name;
}

class LzMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(LzMalformed, StopsReportsFailureAndStaysInsideTheOutput) {
    const MalformedCase& c = GetParam();
    CLZDecode lz;
    Bytes out(c.expected + 4, 0xEE);
    EXPECT_EQ(lz.Decode(out.data(), c.stream.data(), std::uint32_t(c.stream.size()), c.expected),
              0u);
    EXPECT_EQ(lz.Produced(), c.produced.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + c.produced.size()), c.produced);
    EXPECT_EQ(Bytes(out.begin() + c.expected, out.end()), Bytes(4, 0xEE));
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LzMalformed,
    testing::Values(
        MalformedCase{"EmptyBlock", {}, 4, {}},
        MalformedCase{"EndsInsideALiteral", {1, 3, 'a', 'b'}, 8, {'a', 'b'}},
        MalformedCase{"EndsBeforeTheDistance", {1, 0, 'a', 0x0A}, 8, {'a'}},
        MalformedCase{"EndsBetweenTokens", {3, 1, 'a', 'b'}, 8, {'a', 'b'}},
        MalformedCase{"DistanceBeforeTheStart", {1, 0, 'a', 0x0A, 2}, 8, {'a'}},
        MalformedCase{"DistanceZero", {3, 0, 'a', 0x80, 4}, 8, {'a'}},
        MalformedCase{"LiteralPastTheEnd", {1, 7, 1, 2, 3, 4, 5, 6, 7, 8}, 5, {1, 2, 3, 4, 5}},
        MalformedCase{"MatchPastTheEnd", {1, 0, 'a', 0x20, 1}, 4, {'a', 'a', 'a', 'a'}},
        MalformedCase{"LongLiteralPastTheEnd", {2, 8, 4, 0xFF, 0xFF, 1, 2, 3}, 2, {1, 2}},
        MalformedCase{"U16LengthCutShort", {2, 0, 'a', 8, 0, 1, 0, 3}, 6, {'a'}}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

} // namespace
