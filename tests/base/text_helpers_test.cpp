#include "base/ansi_text.h"
#include "base/format16.h"
#include "base/process_random.h"
#include "base/text16.h"
#include "base/text_to_int.h"

#include <gtest/gtest.h>

TEST(BoundedCopy, CutsAtCapacityAndAlwaysTerminates) {
    char16_t buffer[4];
    EXPECT_EQ(CopyBounded(buffer, u"abcdef"), 3u);
    EXPECT_EQ(std::u16string(buffer), u"abc");
    EXPECT_EQ(CopyBounded(buffer, u"ab"), 2u);
    EXPECT_EQ(std::u16string(buffer), u"ab");
    EXPECT_EQ(CopyBounded(buffer, std::u16string_view(u"a\0bc", 4)), 1u);
    EXPECT_EQ(CopyBounded(buffer, 0, u"abc"), 0u); // nothing written, nothing read
}

TEST(Utf8, RoundTripsAndReplacesIllFormedBytes) {
    std::u16string text = u"Lumi☆月历 \U0001F600";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    struct Case {
        std::string bytes;
        std::u16string expected;
    } cases[] = {
        {"a\xFF"
         "b",
         u"a\uFFFDb"},                           // invalid lead byte
        {"\xE6\x9C", u"\uFFFD\uFFFD"},           // cut-short sequence
        {"\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong form
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected) << c.bytes;
        EXPECT_FALSE(IsValidUtf8(c.bytes));
    }
}

TEST(AnsiText, ReadsUtf8AndFallsBackToGbk) {
    EXPECT_EQ(AnsiToUtf16("\xE4\xB8\xAD\xE6\x96\x87"), u"中文"); // UTF-8
    EXPECT_EQ(AnsiToUtf16("\xD6\xD0\xCE\xC4"), u"中文");         // GBK
    EXPECT_EQ(AnsiToUtf16("ab\xD6\xD0\xFF"), u"ab中\uFFFD");     // undecodable GBK byte
    EXPECT_EQ(Utf16ToAnsi(u"中文"), "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST(Format16, FormatsTheEngineShapes) {
    struct Case {
        std::u16string_view format;
        std::initializer_list<FormatArg> args;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"sch%04d%02d.dat", {2009LL, 7LL}, u"sch200907.dat"},
        {u"%s - %d FPS", {std::u16string_view(u"Lumi"), 29LL}, u"Lumi - 29 FPS"},
        {u"%02d", {-5LL}, u"-5"},
        {u"%04d", {-5LL}, u"-005"},
        {u"%d%%", {100LL}, u"100%"},
        {u"%s无法找到。", {std::u16string_view(u"a.mg")}, u"a.mg无法找到。"},
        {u"%d %d", {1LL}, u"1 %d"}, // a missing argument leaves the conversion as text
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format16(c.format, c.args), c.expected);
    }
    char16_t small[6];
    EXPECT_EQ(Format16To(small, u"%d", {1234567LL}), 5u);
    EXPECT_EQ(std::u16string(small), u"12345");
}

TEST(TextToInt, FollowsTheCLibraryRule) {
    struct Case {
        std::u16string_view text;
        int expected;
    } cases[] = {
        {u"42", 42},
        {u"  \t-17x", -17},
        {u"+8", 8},
        {u"", 0},
        {u"abc", 0},
        {u"- 3", 0},
        {u"99999999999", 2147483647},
        {u"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextToInt(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    }
    EXPECT_EQ(TextToInt(std::string_view(" 24 ")), 24);
}

TEST(ProcessRandom, IsTheSeededLinearCongruentialSequence) {
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 41);
    EXPECT_EQ(NextRandom(), 18467);
    EXPECT_EQ(NextRandom(), 6334);
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 41);
    for (int i = 0; i < 1000; ++i) {
        int value = NextRandom();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, kRandomMax);
    }
}
