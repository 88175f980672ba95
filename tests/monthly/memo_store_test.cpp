#include "base/text16.h"
#include "monthly/memo_store.h"
#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class MemoStoreTest : public ::testing::Test {
protected:
    MemoStoreTest() {
        InstallPlatform(&platform);
        file = std::make_unique<CMGFile>();
        file->Init(nullptr, nullptr);
    }
    ~MemoStoreTest() override {
        file.reset();
        InstallPlatform(nullptr);
    }
    std::string Path(int year, int month) { return Utf16ToUtf8(MemoFilePath(*file, year, month)); }
    // The file's text, decoded from UTF-16 with its byte-order mark.
    std::u16string FileText(int year, int month) {
        std::ifstream in(Path(year, month), std::ios::binary);
        std::string bytes(std::istreambuf_iterator<char>(in), {});
        EXPECT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        return text;
    }
    void Put(int day, std::u16string text, int icon = 0) {
        MemoRecord record;
        record.day = day;
        record.icon = icon;
        record.text = std::move(text);
        PutMemo(memos, record);
        SaveMonthMemos(memos, *file, 2009, 7);
    }

    HeadlessPlatform platform;
    std::unique_ptr<CMGFile> file;
    CTabDataBase memos;
};

} // namespace

TEST_F(MemoStoreTest, TheFirstMemoCreatesTheMonthFileWithSixCells) {
    EXPECT_EQ(Path(2009, 7).substr(Path(2009, 7).size() - 13), "sch200907.dat");
    LoadMonthMemos(memos, *file, 2009, 7);
    EXPECT_EQ(FindMemo(memos, 5), -1);
    Put(5, u"生日");
    EXPECT_EQ(FileText(2009, 7), u"5\t0\t0\t0\t0\t生日\r\n");
}

TEST_F(MemoStoreTest, MemosStayInDayOrderAndEditsKeepTheirPlaceAndIcon) {
    Put(10, u"十");
    Put(2, u"二");
    Put(3, u"三");
    EXPECT_EQ(FileText(2009, 7),
              u"2\t0\t0\t0\t0\t二\r\n3\t0\t0\t0\t0\t三\r\n10\t0\t0\t0\t0\t十\r\n");

    // A hand-set icon survives an edit, which replaces the text in place.
    memos.SetCell(1, 4, u"7");
    MemoRecord record;
    ASSERT_EQ(ReadMemo(memos, FindMemo(memos, 3), &record), 1);
    EXPECT_EQ(record.icon, 7);
    record.text = u"三\\n改";
    PutMemo(memos, record);
    SaveMonthMemos(memos, *file, 2009, 7);
    EXPECT_EQ(FileText(2009, 7),
              u"2\t0\t0\t0\t0\t二\r\n3\t0\t0\t0\t7\t三\\n改\r\n10\t0\t0\t0\t0\t十\r\n");

    // An empty text is still a memo.
    Put(20, u"");
    EXPECT_EQ(FindMemo(memos, 20), 3);
    ASSERT_EQ(ReadMemo(memos, 3, &record), 1);
    EXPECT_EQ(record.text, u"");
    EXPECT_EQ(ReadMemo(memos, 4, &record), 0);
}

TEST_F(MemoStoreTest, DeletingTheLastMemoDeletesTheMonthFile) {
    Put(5, u"a");
    Put(6, u"b");
    memos.DeleteRow(FindMemo(memos, 5));
    SaveMonthMemos(memos, *file, 2009, 7);
    EXPECT_EQ(FileText(2009, 7), u"6\t0\t0\t0\t0\tb\r\n");
    memos.DeleteRow(FindMemo(memos, 6));
    SaveMonthMemos(memos, *file, 2009, 7);
    EXPECT_FALSE(std::filesystem::exists(Path(2009, 7)));
    LoadMonthMemos(memos, *file, 2009, 7);
    EXPECT_FALSE(memos.IsCreated());
}

TEST_F(MemoStoreTest, AnAnsiFileIsReadAndRewrittenAsUtf16) {
    std::ofstream(Path(2009, 8), std::ios::binary)
        << "05\t0\t0\t0\t0\tzero\r\n9\t0\t0\t0\t0\t\xBE\xC9\r\n";
    LoadMonthMemos(memos, *file, 2009, 8);
    EXPECT_EQ(FindMemo(memos, 5), -1); // "05" is not the 5th
    MemoRecord record;
    ASSERT_EQ(ReadMemo(memos, FindMemo(memos, 9), &record), 1);
    EXPECT_EQ(record.text, u"旧"); // GBK bytes
    EXPECT_FALSE(file->absolutePathMode);
    SaveMonthMemos(memos, *file, 2009, 8);
    EXPECT_EQ(FileText(2009, 8), u"05\t0\t0\t0\t0\tzero\r\n9\t0\t0\t0\t0\t旧\r\n");
}
