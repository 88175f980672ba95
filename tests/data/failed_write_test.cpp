// A write that fails half-way (here: the file size limit, as a full disk
// would) leaves the old file whole and no temporary file behind.
#include "data/file_io.h"
#include "data/mg_database.h"
#include "data/mg_file.h"
#include "data/profile.h"
#include "data/tab_database.h"
#include "data_test_support.h"

#include <csignal>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

// Lets no file grow past limit bytes while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit reduced = previous_;
        reduced.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &reduced);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

class FailedWriteTest : public DataTest {
protected:
    // Only the file itself is in its folder: no temporary file stayed.
    void ExpectOnlyFile(const fs::path& path) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path.parent_path())) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{path.filename().string()});
    }
};

TEST_F(FailedWriteTest, AMemoTableKeepsItsOldContent) {
    fs::create_directories(work / "save");
    fs::path path = work / "save" / "sch202402.dat";
    std::u16string file = U16(path);
    CTabDataBase memos;
    memos.Create(1, 2);
    memos.SetCell(0, 0, u"14");
    memos.SetCell(0, 1, u"Valentine");
    ASSERT_EQ(memos.Save(file.c_str()), 1); // UTF-16, as the memo store writes
    const Bytes old = ReadFileBytes(path);

    for (int day = 1; day <= 29; ++day) {
        int row = memos.InsertRow(-1);
        memos.SetCell(row, 0, Utf8ToUtf16(std::to_string(day)).c_str());
        memos.SetCell(row, 1, u"a memo long enough to pass the limit");
    }
    for (int format : {1, 2, 3}) {
        memos.saveFormat = format;
        FileSizeLimit limit(static_cast<rlim_t>(old.size()) + 16);
        EXPECT_EQ(memos.Save(file.c_str()), 0) << format;
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    ExpectOnlyFile(path);

    CTabDataBase back;
    back.readFormat = CTabDataBase::kDetect;
    CMGFile files;
    files.absolutePathMode = true;
    ASSERT_EQ(back.Load(file.c_str()), 1);
    EXPECT_EQ(back.Rows(), 1);
    EXPECT_EQ(std::u16string(back.GetCell(0, 1)), u"Valentine");
}

TEST_F(FailedWriteTest, ASettingsStoreKeepsItsOldContent) {
    fs::create_directories(work / "save");
    fs::path path = work / "save" / "LumiClock.ini";
    std::u16string file = U16(path);
    CMGDataBase store;
    store.SetDefaultSection();
    store.SetInt(u"AlermEnable0", 1);
    store.SetInt(u"AlermHour0", 7);
    ASSERT_EQ(store.Save(file.c_str()), 1);
    const Bytes old = ReadFileBytes(path);

    store.SetString(u"AlermSoundFile0", std::u16string(300, u'x').c_str());
    {
        FileSizeLimit limit(static_cast<rlim_t>(old.size()) + 16);
        EXPECT_EQ(store.Save(file.c_str()), 0);
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    ExpectOnlyFile(path);
}

TEST_F(FailedWriteTest, AnIniProfileKeepsItsOldContent) {
    fs::create_directories(work / "save");
    fs::path path = work / "save" / "LumiMonthly.ini";
    std::u16string file = U16(path);
    WriteFileText(path, "[LumiMonthly]\nPosX=10\n");
    {
        FileSizeLimit limit(24);
        EXPECT_EQ(WritePrivateProfileString(u"LumiMonthly", u"TopMost", u"1", file.c_str()), 0);
    }
    EXPECT_EQ(ReadFileText(path), "[LumiMonthly]\nPosX=10\n");
    ExpectOnlyFile(path);
}

TEST_F(FailedWriteTest, AFolderInTheWayIsNotReplaced) {
    fs::create_directories(work / "save" / "busy.dat");
    CTabDataBase table;
    table.Create(1, 1);
    EXPECT_EQ(table.Save(U16(work / "save" / "busy.dat").c_str()), 0);
    EXPECT_TRUE(fs::is_directory(work / "save" / "busy.dat"));
    EXPECT_EQ(table.Save(U16(work / "no" / "such" / "folder.dat").c_str()), 0);
    EXPECT_FALSE(WriteFileAtomically("", std::string_view("x")));
}

} // namespace
