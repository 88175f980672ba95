#include "data/profile.h"
#include "data_test_support.h"

#include <sys/stat.h>

namespace {

class ProfileTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        path = work / "settings.ini";
        file = U16(path);
    }
    int Int(const char16_t* section, const char16_t* key, int fallback = -7) {
        return GetPrivateProfileInt(section, key, fallback, file.c_str());
    }
    std::u16string String(const char16_t* section, const char16_t* key,
                          const char16_t* fallback = u"none", DWORD size = 64) {
        std::vector<char16_t> buffer(size + 1, u'#');
        DWORD n =
            GetPrivateProfileString(section, key, fallback, buffer.data(), size, file.c_str());
        return std::u16string(buffer.data(), n);
    }
    BOOL Write(const char16_t* section, const char16_t* key, const char16_t* value) {
        return WritePrivateProfileString(section, key, value, file.c_str());
    }

    std::filesystem::path path;
    std::u16string file;
};

TEST_F(ProfileTest, AMissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Int(u"App", u"PosX", -99999), -99999);
    EXPECT_EQ(String(u"App", u"Name", u"fallback  "), u"fallback");
    EXPECT_EQ(String(u"App", u"Name", nullptr), u"");
    WriteFileText(path, "[App]\nPosX=5\nEmpty=\n");
    EXPECT_EQ(Int(u"Other", u"PosX"), -7);
    EXPECT_EQ(Int(u"App", u"PosY"), -7);
    EXPECT_EQ(Int(u"App", u"Empty"), -7);
}

TEST_F(ProfileTest, SectionsAndKeysIgnoreCase) {
    WriteFileText(path, "[LumiClock]\r\nTopMost = 0\r\n");
    EXPECT_EQ(Int(u"lumiclock", u"TOPMOST", 1), 0);
    EXPECT_EQ(Int(u"LUMICLOCK", u"topmost", 1), 0);
}

TEST_F(ProfileTest, IntegersAreSignAndDigits) {
    WriteFileText(path, "[S]\na=-42\nb=+17\nc=12abc\nd=abc\ne=  8  \nf=99999999999\ng=\"3\"\n");
    EXPECT_EQ(Int(u"S", u"a"), -42);
    EXPECT_EQ(Int(u"S", u"b"), 17);
    EXPECT_EQ(Int(u"S", u"c"), 12);
    EXPECT_EQ(Int(u"S", u"d"), 0);
    EXPECT_EQ(Int(u"S", u"e"), 8);
    EXPECT_EQ(Int(u"S", u"f"), 2147483647);
    EXPECT_EQ(Int(u"S", u"g"), 3);
}

TEST_F(ProfileTest, StringsAreTrimmedUnquotedAndCut) {
    WriteFileText(path,
                  "[S]\nq=\"  spaced  \"\ns='single'\nm=\"half\nu=中文 text\nlong=abcdefgh\n");
    EXPECT_EQ(String(u"S", u"q"), u"  spaced  ");
    EXPECT_EQ(String(u"S", u"s"), u"single");
    EXPECT_EQ(String(u"S", u"m"), u"\"half");
    EXPECT_EQ(String(u"S", u"u"), u"中文 text");
    EXPECT_EQ(String(u"S", u"long", u"", 4), u"abc");
}

TEST_F(ProfileTest, NamesCanBeListed) {
    WriteFileText(path, "[A]\nx=1\ny=2\n[B]\nz=3\n");
    EXPECT_EQ(String(u"A", nullptr), std::u16string(u"x\0y\0", 4));
    EXPECT_EQ(String(nullptr, nullptr), std::u16string(u"A\0B\0", 4));
    EXPECT_EQ(String(u"A", nullptr, u"", 3), std::u16string(u"x", 1));
}

TEST_F(ProfileTest, WritingKeepsOtherSectionsAndLines) {
    const char* original =
        "; settings\n[Other]\nPosX=1\n\n[App]\n# note\nPosX=2\nKeep=yes\n\n[Last]\nz=9\n";
    WriteFileText(path, original);
    EXPECT_EQ(Write(u"app", u"posx", u"300"), 1);
    EXPECT_EQ(Write(u"App", u"New", u"7"), 1);
    EXPECT_EQ(Write(u"Added", u"k", u"v"), 1);
    EXPECT_EQ(ReadFileText(path), "; settings\n[Other]\nPosX=1\n\n[App]\n# note\nPosX=300\n"
                                  "Keep=yes\nNew=7\n\n[Last]\nz=9\n[Added]\nk=v\n");
    EXPECT_EQ(Int(u"Other", u"PosX"), 1);
    EXPECT_EQ(Int(u"App", u"PosX"), 300);
}

TEST_F(ProfileTest, CrLfFilesStayCrLf) {
    WriteFileText(path, "[App]\r\nA=1\r\n");
    Write(u"App", u"B", u"2");
    EXPECT_EQ(ReadFileText(path), "[App]\r\nA=1\r\nB=2\r\n");
}

TEST_F(ProfileTest, NoValueDeletesTheKeyAndNoKeyTheSection) {
    WriteFileText(path, "[A]\nx=1\ny=2\n[B]\nz=3\n");
    EXPECT_EQ(Write(u"A", u"x", nullptr), 1);
    EXPECT_EQ(ReadFileText(path), "[A]\ny=2\n[B]\nz=3\n");
    EXPECT_EQ(Write(u"A", nullptr, nullptr), 1);
    EXPECT_EQ(ReadFileText(path), "[B]\nz=3\n");
    EXPECT_EQ(Write(u"Gone", u"k", nullptr), 1);
}

TEST_F(ProfileTest, ANewFileIsCreatedPrivateAndAnOldOneKeepsItsMode) {
    EXPECT_EQ(Write(u"App", u"TopMost", u"1"), 1);
    EXPECT_EQ(ReadFileText(path), "[App]\nTopMost=1\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ::chmod(path.c_str(), 0644);
    Write(u"App", u"TopMost", u"0");
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(ProfileTest, WritesGoThroughASymbolicLink) {
    std::filesystem::path real = work / "real.ini";
    WriteFileText(real, "[App]\nA=1\n");
    std::filesystem::create_symlink(real, path);
    Write(u"App", u"A", u"2");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadFileText(real), "[App]\nA=2\n");
}

TEST_F(ProfileTest, OtherEncodingsAreRead) {
    // GBK bytes of "中" (D6 D0) and a UTF-8 byte-order mark.
    WriteFileText(path, "\xEF\xBB\xBF[App]\nName=\xE4\xB8\xAD\n");
    EXPECT_EQ(String(u"App", u"Name"), u"中");
    WriteFileText(path, "[App]\nName=\xD6\xD0\n");
    EXPECT_EQ(String(u"App", u"Name"), u"中");
    Bytes utf16 = {0xFF, 0xFE};
    for (char16_t c : std::u16string(u"[App]\r\nN=7\r\n")) {
        utf16.push_back(static_cast<std::uint8_t>(c));
        utf16.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    WriteFileBytes(path, utf16);
    EXPECT_EQ(Int(u"App", u"N"), 7);
    Write(u"App", u"N", u"8");
    EXPECT_EQ(ReadFileText(path), "[App]\r\nN=8\r\n");
}

} // namespace
