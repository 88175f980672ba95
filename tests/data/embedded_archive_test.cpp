// An executable with an archive linked in by lumi_embed_archive (the files
// of fixtures/embedded, packed by lumitool at build time, id 130).
#include "data/mg_file.h"
#include "data_test_support.h"

namespace {

class EmbeddedArchiveTest : public DataTest {
protected:
    Bytes Load(CMGFile& files, const char16_t* name) {
        DWORD size = 0;
        ByteBlock block(files.LoadFile(name, &size));
        return block ? Bytes(block.get(), block.get() + size) : Bytes{};
    }
};

TEST_F(EmbeddedArchiveTest, InitOpensTheLinkedArchive) {
    CMGFile files;
    ASSERT_EQ(files.Init(nullptr, nullptr), 1);
    ASSERT_TRUE(files.HasArchive());
    EXPECT_EQ(files.ArchiveResourceId(), 130);
    ASSERT_EQ(files.Entries().size(), 3u);
    // U+4E2D files under bucket 0x2D, before 'f' and 'h'.
    EXPECT_EQ(files.Entries()[0].Name(), "中文.txt");
    EXPECT_EQ(files.Entries()[1].Name(), "face.mg");
    EXPECT_EQ(files.Entries()[2].Name(), "hello.txt");
    EXPECT_EQ(Load(files, u"hello.txt"), ToBytes("Hello from the archive\n"));
    EXPECT_EQ(Load(files, u"中文.txt"), ToBytes("中文\n"));
    EXPECT_EQ(files.FileExists(u"Hello.txt"), 0);
    EXPECT_TRUE(platform.MessageBoxes().empty());
}

TEST_F(EmbeddedArchiveTest, LooseFilesStillOverrideEntries) {
    WriteFileText(programFolder / "face.mg", "loose face");
    CMGFile files;
    files.Init(nullptr, nullptr);
    EXPECT_EQ(Load(files, u"face.mg"), ToBytes("loose face"));
    EXPECT_EQ(Load(files, u"hello.txt"), ToBytes("Hello from the archive\n"));
}

TEST_F(EmbeddedArchiveTest, AbsolutePathModeIgnoresTheArchive) {
    CMGFile files;
    files.Init(nullptr, nullptr);
    files.absolutePathMode = true;
    EXPECT_EQ(files.FileExists(u"hello.txt"), 0);
}

} // namespace
