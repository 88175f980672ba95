#include "data/byte_order.h"
#include "data/mg_database.h"
#include "data_test_support.h"

#include <bit>
#include <cmath>
#include <sys/stat.h>

namespace {

class SettingsStoreTest : public DataTest {
protected:
    void Load(std::string_view text) {
        store.Load(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
    void Load(const Bytes& bytes) { store.Load(bytes.data(), bytes.size()); }
    const CMGDataBase::Value* Find(const char16_t* key) {
        auto it = store.Entries().find(key);
        return it == store.Entries().end() ? nullptr : &it->second;
    }
    WORD TypeOf(const char16_t* key) {
        const CMGDataBase::Value* value = Find(key);
        return value ? value->type : 0xFFFF;
    }
    float FloatOf(const char16_t* key) { return Find(key)->AsFloat(); }

    CMGDataBase store;
};

TEST_F(SettingsStoreTest, ValueSpellingGivesTheType) {
    Load("[LumiClock]\r\nCount=12\r\nQuoted=\"12\"\r\nScale=1.5f\r\nPlain=1.5\r\nName=abc\r\n"
         "Neg=-7\r\nHalf=.5f\r\nPlus=+3\r\nEmpty=\"\"\r\nDot=.\r\n");
    EXPECT_EQ(store.Section(), "LumiClock");
    EXPECT_EQ(TypeOf(u"Count"), CMGDataBase::kInt);
    EXPECT_EQ(store.GetInt(u"Count", 0), 12);
    EXPECT_EQ(TypeOf(u"Quoted"), CMGDataBase::kString);
    EXPECT_EQ(std::u16string(store.GetString(u"Quoted")), u"12");
    EXPECT_EQ(TypeOf(u"Scale"), CMGDataBase::kFloat);
    EXPECT_EQ(FloatOf(u"Scale"), 1.5f);
    EXPECT_EQ(TypeOf(u"Plain"), CMGDataBase::kInt);
    EXPECT_EQ(store.GetInt(u"Plain", 0), 1);
    EXPECT_EQ(std::u16string(store.GetString(u"Name")), u"abc");
    EXPECT_EQ(store.GetInt(u"Neg", 0), -7);
    EXPECT_EQ(FloatOf(u"Half"), 0.5f);
    EXPECT_EQ(store.GetInt(u"Plus", 0), 3);
    EXPECT_EQ(TypeOf(u"Empty"), CMGDataBase::kString);
    EXPECT_EQ(std::u16string(store.GetString(u"Empty")), u"");
    EXPECT_EQ(TypeOf(u"Dot"), CMGDataBase::kInt);
    EXPECT_EQ(store.GetInt(u"Dot", 9), 0);
}

TEST_F(SettingsStoreTest, TokensCommentsAndQuotes) {
    Load("[S] ; header comment\n; a whole comment line\nKey=value;note\nA = 1 , B=2\n"
         "Spaced=\"a b,c=d\"\nOpen=\"runs to the line end\nNext=3\nLone\n4\nGlued=x\"y z\"w\n");
    EXPECT_EQ(std::u16string(store.GetString(u"Key")), u"value;note");
    EXPECT_EQ(store.GetInt(u"A", 0), 1);
    EXPECT_EQ(store.GetInt(u"B", 0), 2);
    EXPECT_EQ(std::u16string(store.GetString(u"Spaced")), u"a b,c=d");
    EXPECT_EQ(std::u16string(store.GetString(u"Open")), u"runs to the line end");
    EXPECT_EQ(store.GetInt(u"Next", 0), 3);
    // A key with nothing after it on its line takes the next token.
    EXPECT_EQ(store.GetInt(u"Lone", 0), 4);
    EXPECT_EQ(std::u16string(store.GetString(u"Glued")), u"xy zw");
}

TEST_F(SettingsStoreTest, LaterKeysWinAndLoadsAdd) {
    Load("[S]\nA=1\nA=2\nB=5\n");
    EXPECT_EQ(store.GetInt(u"A", 0), 2);
    Load("[T]\nB=6\nC=7\n");
    EXPECT_EQ(store.Section(), "T");
    EXPECT_EQ(store.GetInt(u"A", 0), 2);
    EXPECT_EQ(store.GetInt(u"B", 0), 6);
    EXPECT_EQ(store.GetInt(u"C", 0), 7);
}

TEST_F(SettingsStoreTest, HeaderAndEmptyInput) {
    Load("[\nA=1\n");
    EXPECT_EQ(store.Section(), "");
    EXPECT_EQ(store.GetInt(u"A", 0), 1);
    store.SetSection("kept");
    Load("");
    EXPECT_EQ(store.Section(), "kept");
    EXPECT_EQ(store.Entries().size(), 1u);
    Load("[OnlyHeader]");
    EXPECT_EQ(store.Section(), "OnlyHeader");
    Load("[S]\n\"\"=5\nZ=1\n"); // an empty key ends the reading
    EXPECT_EQ(store.GetInt(u"Z", 0), 0);
}

TEST_F(SettingsStoreTest, GettersAndSetters) {
    store.SetFloat(u"One", 1.0f);
    EXPECT_EQ(store.GetInt(u"One", 0), 1065353216);
    store.SetString(u"Text", u"hi");
    EXPECT_EQ(store.GetInt(u"Text", -5), -5);
    EXPECT_EQ(std::u16string(store.GetString(u"One")), u"");
    EXPECT_EQ(std::u16string(store.GetString(u"Missing")), u"");
    EXPECT_EQ(store.GetInt(u"Missing", 42), 42);
    store.SetInt(u"Text", 3);
    EXPECT_EQ(store.GetInt(u"Text", 0), 3);
    store.SetString(u"Null", nullptr);
    EXPECT_EQ(TypeOf(u"Null"), CMGDataBase::kString);
    store.SetDefaultSection();
    EXPECT_EQ(store.Section(), "LumiClock");
    CMGDataBase::SetDefaultSectionName(u"LumiClock7");
    store.SetDefaultSection();
    EXPECT_EQ(store.Section(), "LumiClock7");
    CMGDataBase::SetDefaultSectionName(u"LumiClock");
    store.Clear();
    EXPECT_TRUE(store.Entries().empty());
    EXPECT_EQ(store.Section(), "");
}

TEST_F(SettingsStoreTest, SaveWritesSortedLinesAndRoundTrips) {
    Load("[LumiClock]\nb=1\nSound=\"C:\\voice.wav\"\na=2.25f\nab=-3\n中=\"文\"\nneg=-0.5f\n");
    std::u16string path = U16(work / "LumiClock.ini");
    ASSERT_EQ(store.Save(path.c_str()), 1);
    EXPECT_EQ(ReadFileText(work / "LumiClock.ini"),
              "[LumiClock]\r\nSound=\"C:\\voice.wav\"\r\na=2.2500f\r\nab=-3\r\nb=1\r\n"
              "neg=-0.5000f\r\n\xE4\xB8\xAD=\"\xE6\x96\x87\"\r\n");
    CMGDataBase back;
    Bytes bytes = ReadFileBytes(work / "LumiClock.ini");
    back.Load(bytes.data(), bytes.size());
    EXPECT_EQ(back.Section(), store.Section());
    ASSERT_EQ(back.Entries().size(), store.Entries().size());
    for (const auto& [key, value] : store.Entries()) {
        const CMGDataBase::Value& other = back.Entries().at(key);
        EXPECT_EQ(other.type, value.type);
        EXPECT_EQ(other.bits, value.bits);
        EXPECT_EQ(other.text, value.text);
    }
    struct stat info {};
    ASSERT_EQ(::stat((work / "LumiClock.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SettingsStoreTest, FloatsAreWrittenWithFourDecimals) {
    store.SetSection("S");
    store.SetFloat(u"a", 1.5f);
    store.SetFloat(u"b", 0.1f);
    store.SetFloat(u"c", 123456.789f);
    store.SetFloat(u"d", 1e-6f);
    store.Save(U16(work / "f.ini").c_str());
    EXPECT_EQ(ReadFileText(work / "f.ini"),
              "[S]\r\na=1.5000f\r\nb=0.1000f\r\nc=123456.7891f\r\nd=0.0000f\r\n");
}

TEST_F(SettingsStoreTest, AQuoteInsideAStringIsLostOnTheWayBack) {
    store.SetSection("S");
    store.SetString(u"q", u"say \"hi\"");
    store.Save(U16(work / "q.ini").c_str());
    CMGDataBase back;
    Bytes bytes = ReadFileBytes(work / "q.ini");
    back.Load(bytes.data(), bytes.size());
    EXPECT_EQ(std::u16string(back.GetString(u"q")), u"say hi");
}

TEST_F(SettingsStoreTest, LongTokensAndLinesAreCut) {
    std::string longValue(3000, 'v');
    Load("[S]\nk=\"" + longValue + "\"\n" + std::string(2000, 'K') + "=1\n");
    EXPECT_EQ(std::u16string(store.GetString(u"k")).size(), 1023u);
    EXPECT_EQ(store.GetInt(std::u16string(1023, u'K').c_str(), 0), 1);
    store.SetString(u"wide", std::u16string(1000, u'字').c_str());
    store.Save(U16(work / "long.ini").c_str());
    std::string text = ReadFileText(work / "long.ini");
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end + 2 - start, 1023u);
        start = end + 2;
    }
    CMGDataBase back;
    back.Load(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    EXPECT_EQ(back.Entries().size(), store.Entries().size());
    EXPECT_EQ(back.GetInt(std::u16string(1023 - 3 - 1, u'K').c_str(), 0), 1);
}

TEST_F(SettingsStoreTest, GbkTextPairsLeadBytes) {
    // Text that is not UTF-8 is GBK: "表" is B1 ED.
    Load(std::string("[S]\nName=\"\xB1\xED\"\nN=1\n"));
    EXPECT_EQ(std::u16string(store.GetString(u"Name")), u"表");
    EXPECT_EQ(store.GetInt(u"N", 0), 1);
    // A lead byte takes the byte after it unexamined, even a separator.
    store.Clear();
    Load(std::string("[S]\nT=\xD6=5\n"));
    EXPECT_EQ(TypeOf(u"T"), CMGDataBase::kString);
    EXPECT_EQ(TypeOf(u"5"), 0xFFFF);
    EXPECT_EQ(store.Entries().size(), 1u);
}

Bytes BinaryStore(std::string_view section, std::uint32_t count) {
    Bytes bytes(20, 0);
    bytes[0] = 'B';
    StoreLe32(&bytes[8], count);
    StoreLe32(&bytes[16], static_cast<std::uint32_t>(section.size()));
    bytes.insert(bytes.end(), section.begin(), section.end());
    return bytes;
}

void AddEntry(Bytes& bytes, std::uint8_t type, std::string_view key, std::uint32_t value,
              std::string_view text = {}) {
    bytes.push_back(type);
    bytes.push_back(0xEE);
    std::uint8_t length[4];
    StoreLe32(length, static_cast<std::uint32_t>(key.size()));
    bytes.insert(bytes.end(), length, length + 4);
    bytes.insert(bytes.end(), key.begin(), key.end());
    if (type >= 1 && type <= 3) {
        StoreLe32(length, value);
        bytes.insert(bytes.end(), length, length + 4);
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
}

TEST_F(SettingsStoreTest, TheBinaryFormIsRead) {
    Bytes bytes = BinaryStore("LumiClock", 5);
    AddEntry(bytes, 1, "Hour", static_cast<std::uint32_t>(-7));
    AddEntry(bytes, 2, "Gain", std::bit_cast<std::uint32_t>(0.25f));
    AddEntry(bytes, 3, "File", 0xABCD0005, "a.wav");
    AddEntry(bytes, 9, "Odd", 0);
    AddEntry(bytes, 1, "Hour", 8);
    Load(bytes);
    EXPECT_EQ(store.Section(), "LumiClock");
    EXPECT_EQ(store.GetInt(u"Hour", 0), 8);
    EXPECT_EQ(FloatOf(u"Gain"), 0.25f);
    EXPECT_EQ(std::u16string(store.GetString(u"File")), u"a.wav");
    EXPECT_EQ(TypeOf(u"Odd"), CMGDataBase::kNone);
    EXPECT_EQ(store.GetInt(u"Odd", 3), 3);
    // Typeless entries are not saved.
    store.Save(U16(work / "bin.ini").c_str());
    EXPECT_EQ(ReadFileText(work / "bin.ini"),
              "[LumiClock]\r\nFile=\"a.wav\"\r\nGain=0.2500f\r\nHour=8\r\n");
}

TEST_F(SettingsStoreTest, BinaryDataThatEndEarlyKeepWhatWasRead) {
    Bytes bytes = BinaryStore("S", 1000000);
    AddEntry(bytes, 1, "A", 1);
    AddEntry(bytes, 3, "B", 50, "short");
    Load(bytes);
    EXPECT_EQ(store.GetInt(u"A", 0), 1);
    EXPECT_EQ(TypeOf(u"B"), 0xFFFF);
    // Negative lengths mean no bytes.
    Bytes negative = BinaryStore("", 1);
    StoreLe32(&negative[16], 0xFFFFFFFFu);
    AddEntry(negative, 1, "", 4);
    StoreLe32(&negative[22], 0x80000000u);
    store.Clear();
    Load(negative);
    EXPECT_EQ(store.Section(), "");
    EXPECT_EQ(store.GetInt(u"", 0), 4);
    // Too short for the header, or a section that does not fit.
    store.Clear();
    store.SetSection("kept");
    Load(Bytes{1, 2, 3});
    Bytes cutSection = BinaryStore("", 0);
    StoreLe32(&cutSection[16], 5);
    Load(cutSection);
    EXPECT_EQ(store.Section(), "kept");
}

} // namespace
