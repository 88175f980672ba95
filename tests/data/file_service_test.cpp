#include "data/archive.h"
#include "data/mg_file.h"
#include "data/profile.h"
#include "data_test_support.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class FileServiceTest : public DataTest {
protected:
    std::string Text(const char16_t* text) { return Utf16ToUtf8(text); }
    Bytes Load(CMGFile& files, const char16_t* name) {
        DWORD size = 0;
        ByteBlock block(files.LoadFile(name, &size));
        return block ? Bytes(block.get(), block.get() + size) : Bytes{};
    }
};

TEST_F(FileServiceTest, PathsComeFromTheExecutable) {
    CMGFile files;
    EXPECT_EQ(Text(files.ProgramFolder()), programFolder.string() + "/");
    EXPECT_EQ(Text(files.AppName()), "LumiHeadless");
    EXPECT_EQ(Text(files.ProgramIni()), programFolder.string() + "/LumiHeadless.ini");
    EXPECT_EQ(Text(files.SettingsIni()), Text(files.ProgramIni()));
    EXPECT_EQ(Text(files.SaveFolder()), "");
    EXPECT_FALSE(files.absolutePathMode);
    EXPECT_FALSE(files.HasArchive());
}

TEST_F(FileServiceTest, TheFirstServiceIsRegisteredUntilItIsDestroyed) {
    auto first = std::make_unique<CMGFile>();
    CMGFile second;
    EXPECT_EQ(CMGFile::Service(), first.get());
    first.reset();
    EXPECT_EQ(CMGFile::Service(), nullptr);
}

TEST_F(FileServiceTest, InitComputesTheSaveFolderAndSettingsIni) {
    CMGFile files;
    EXPECT_EQ(files.Init(nullptr, nullptr), 1);
    std::string saveFolder = dataHome.string() + "/LumiHeadless/";
    EXPECT_EQ(Text(files.SaveFolder()), saveFolder);
    EXPECT_TRUE(fs::is_directory(saveFolder));
    EXPECT_EQ(Text(files.SettingsIni()), saveFolder + "LumiHeadless.ini");
    // This executable links no archive: only loose files are served.
    EXPECT_FALSE(files.HasArchive());
    EXPECT_EQ(files.ArchiveResourceId(), 0);
}

TEST_F(FileServiceTest, CompanyNameCountsFromTwoCharacters) {
    struct Case {
        const char* ini;
        std::string expected;
    };
    const Case cases[] = {
        {"", "/LumiHeadless/"},
        {"[LumiHeadless]\nCompanyName=X\n", "/LumiHeadless/"},
        {"[LumiHeadless]\nCompanyName=Lumi Works\n", "/Lumi Works/LumiHeadless/"},
        {"[lumiheadless]\ncompanyname = \"QA\"\n", "/QA/LumiHeadless/"},
        {"[Other]\nCompanyName=Elsewhere\n", "/LumiHeadless/"},
        {"[LumiHeadless]\nCompanyName=../up\n", "/LumiHeadless/"},
        {"[LumiHeadless]\nCompanyName=..\n", "/LumiHeadless/"},
    };
    for (const Case& c : cases) {
        WriteFileText(programFolder / "LumiHeadless.ini", c.ini);
        CMGFile files;
        EXPECT_EQ(files.MakeSaveFolder(), 1);
        EXPECT_EQ(Text(files.SaveFolder()), dataHome.string() + c.expected) << c.ini;
        EXPECT_TRUE(fs::is_directory(Text(files.SaveFolder())));
    }
}

TEST_F(FileServiceTest, AnUncreatableSaveFolderFallsBackToTheProgramFolder) {
    fs::path blocker = work / "not-a-folder";
    WriteFileText(blocker, "x");
    platform.SetPaths(platform.ExecutablePath(), U16(blocker), platform.ConfigHome(),
                      platform.RuntimeDir());
    CMGFile files;
    EXPECT_EQ(files.MakeSaveFolder(), 0);
    EXPECT_EQ(Text(files.SaveFolder()), programFolder.string() + "/");
    EXPECT_EQ(files.Init(nullptr, nullptr), 1);
    EXPECT_EQ(Text(files.SettingsIni()), programFolder.string() + "/LumiHeadless.ini");
}

TEST_F(FileServiceTest, ALooseFileOverridesTheArchivedOne) {
    Bytes archive =
        BuildArchive({{u"face.mg", ToBytes("archived")}, {u"only.mg", ToBytes("in")}}, "").bytes;
    CMGFile files;
    ASSERT_EQ(files.OpenArchive(archive), 1);
    WriteFileText(programFolder / "face.mg", "loose");
    EXPECT_EQ(Load(files, u"face.mg"), ToBytes("loose"));
    EXPECT_EQ(Load(files, u"only.mg"), ToBytes("in"));
    EXPECT_EQ(files.FileExists(u"only.mg"), 1);
    EXPECT_EQ(files.FileExists(u"face.mg"), 1);
    EXPECT_EQ(files.FileExists(u"Face.mg"), 0);
    EXPECT_TRUE(platform.MessageBoxes().empty());
}

TEST_F(FileServiceTest, AMissingFileIsReportedOnceByReadsButNotByExists) {
    CMGFile files;
    files.Init(reinterpret_cast<HWND>(0x1234), nullptr);
    EXPECT_EQ(files.FileExists(u"nope.mg"), 0);
    EXPECT_TRUE(platform.MessageBoxes().empty());
    DWORD size = 7;
    EXPECT_EQ(files.LoadFile(u"nope.mg", &size), nullptr);
    EXPECT_EQ(files.LoadFileHead(u"nope.wav", 4), nullptr);
    ASSERT_EQ(platform.MessageBoxes().size(), 2u);
    EXPECT_EQ(platform.MessageBoxes()[0].text, u"nope.mg无法找到。");
    EXPECT_EQ(platform.MessageBoxes()[0].caption, u"Error");
    EXPECT_EQ(platform.MessageBoxes()[0].type, MB_OK);
    EXPECT_EQ(platform.MessageBoxes()[1].text, u"nope.wav无法找到。");
    // Without an archive name the path is shown.
    EXPECT_EQ(files.ReadAll(u"/no/such/file", nullptr, nullptr), nullptr);
    EXPECT_EQ(platform.MessageBoxes()[2].text, u"/no/such/file无法找到。");
}

TEST_F(FileServiceTest, AbsolutePathModeReadsPathsAndSkipsTheArchive) {
    Bytes archive = BuildArchive({{u"memo.dat", ToBytes("archived")}}, "").bytes;
    CMGFile files;
    files.OpenArchive(archive);
    WriteFileText(work / "memo.dat", "on disk");
    files.absolutePathMode = true;
    EXPECT_EQ(Load(files, U16(work / "memo.dat").c_str()), ToBytes("on disk"));
    EXPECT_EQ(files.FileExists(u"memo.dat"), 0);
    EXPECT_EQ(files.LoadFile(u"memo.dat", nullptr), nullptr);
    EXPECT_EQ(platform.MessageBoxes().back().text, u"memo.dat无法找到。");
}

TEST_F(FileServiceTest, ReadHeadPadsAShortFile) {
    WriteFileText(programFolder / "short.wav", "RI");
    CMGFile files;
    ByteBlock head(files.LoadFileHead(u"short.wav", 4));
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head[0], 'R');
    EXPECT_EQ(head[1], 'I');
    WriteFileText(programFolder / "long.wav", "RIFFxxxxWAVE");
    head.reset(files.LoadFileHead(u"long.wav", 4));
    EXPECT_EQ(std::string(head.get(), head.get() + 4), "RIFF");
}

TEST_F(FileServiceTest, AnEmptyFileIsABlockOfSizeZero) {
    WriteFileText(programFolder / "empty.txt", "");
    CMGFile files;
    DWORD size = 5;
    ByteBlock block(files.LoadFile(u"empty.txt", &size));
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST_F(FileServiceTest, OnlyRegularFilesAreLooseFiles) {
    fs::create_directories(programFolder / "folder.mg");
    ASSERT_EQ(::mkfifo((programFolder / "pipe.mg").c_str(), 0600), 0);
    CMGFile files;
    EXPECT_EQ(files.FileExists(u"folder.mg"), 0);
    EXPECT_EQ(files.FileExists(u"pipe.mg"), 0); // and does not block
    EXPECT_EQ(files.LoadFile(u"pipe.mg", nullptr), nullptr);
    files.absolutePathMode = true;
    EXPECT_EQ(files.FileExists(U16(programFolder).c_str()), 0);
}

TEST_F(FileServiceTest, LoadBitmapFileReadsTheInfoHeaderSize) {
    Bytes bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[18] = 0x71; // width 369
    bmp[19] = 0x01;
    bmp[22] = 0x22; // height -222
    bmp[23] = 0xFF;
    bmp[24] = 0xFF;
    bmp[25] = 0xFF;
    WriteFileBytes(programFolder / "pic.bmp", bmp);
    CMGFile files;
    int width = 0;
    int height = 0;
    DWORD size = 0;
    ByteBlock block(files.LoadBitmapFile(u"pic.bmp", &width, &height, &size));
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(width, 369);
    EXPECT_EQ(height, -222);
    EXPECT_EQ(size, 54u);

    width = height = 5;
    size = 5;
    EXPECT_EQ(files.LoadBitmapFile(u"gone.bmp", &width, &height, &size), nullptr);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(platform.MessageBoxes().size(), 1u);

    WriteFileText(programFolder / "tiny.bmp", "BM");
    block.reset(files.LoadBitmapFile(u"tiny.bmp", &width, &height, &size));
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(size, 2u);
}

TEST_F(FileServiceTest, WriteSettingIntWritesTheApplicationSection) {
    CMGFile files;
    files.Init(nullptr, nullptr);
    EXPECT_EQ(files.WriteSettingInt(-120, u"PosX"), 1);
    EXPECT_EQ(files.WriteSettingInt(1, u"TopMost"), 1);
    EXPECT_EQ(files.WriteSettingInt(340, u"posx"), 1);
    EXPECT_EQ(ReadFileText(Text(files.SettingsIni())), "[LumiHeadless]\nPosX=340\nTopMost=1\n");
    EXPECT_EQ(GetPrivateProfileInt(files.AppName(), u"POSX", -99999, files.SettingsIni()), 340);
    struct stat info {};
    ASSERT_EQ(::stat(Text(files.SettingsIni()).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

} // namespace
