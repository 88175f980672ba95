#include "data/encrypt_data.h"
#include "data/mg_file.h"
#include "data/tab_database.h"
#include "data_test_support.h"

#include <optional>

namespace {

using Cells = std::vector<std::vector<std::optional<std::u16string>>>;

Cells CellsOf(const CTabDataBase& table) {
    Cells cells(static_cast<std::size_t>(table.Rows()));
    for (int r = 0; r < table.Rows(); ++r) {
        for (int c = 0; c < table.Columns(); ++c) {
            const char16_t* cell = table.GetCell(r, c);
            cells[static_cast<std::size_t>(r)].push_back(cell ? std::optional<std::u16string>(cell)
                                                              : std::nullopt);
        }
    }
    return cells;
}

Bytes Utf16Bytes(std::u16string_view text, bool mark) {
    Bytes bytes;
    if (mark) {
        bytes = {0xFF, 0xFE};
    }
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

const std::nullopt_t kAbsent = std::nullopt;

class TabTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        files = std::make_unique<CMGFile>();
        files->absolutePathMode = true;
    }
    // Parses bytes with the read format, as Load does.
    Cells Parse(const Bytes& bytes, int readFormat = CTabDataBase::kDetect) {
        table.Clear();
        table.readFormat = readFormat;
        EXPECT_EQ(table.LoadBytes(bytes), 1);
        return CellsOf(table);
    }
    Cells Parse(std::string_view ansi, int readFormat = CTabDataBase::kDetect) {
        return Parse(ToBytes(ansi), readFormat);
    }
    // Saves the table in the format and loads the file back by detection.
    Cells RoundTrip(int saveFormat, const char* name = "table.dat") {
        std::u16string path = U16(work / name);
        table.saveFormat = saveFormat;
        EXPECT_EQ(table.Save(path.c_str()), 1);
        CTabDataBase back;
        back.readFormat = CTabDataBase::kDetect;
        EXPECT_EQ(back.Load(path.c_str()), 1);
        return CellsOf(back);
    }

    std::unique_ptr<CMGFile> files;
    CTabDataBase table;
};

TEST_F(TabTest, ConstructionAndCreate) {
    EXPECT_EQ(table.readFormat, 1);
    EXPECT_EQ(table.saveFormat, 2);
    EXPECT_FALSE(table.IsCreated());
    EXPECT_EQ(table.InsertRow(0), -1);
    EXPECT_EQ(table.DeleteRow(0), 0);
    EXPECT_EQ(table.Create(2, 3), 1);
    EXPECT_TRUE(table.IsCreated());
    EXPECT_EQ(CellsOf(table), (Cells{{kAbsent, kAbsent, kAbsent}, {kAbsent, kAbsent, kAbsent}}));
    EXPECT_EQ(table.Create(-1, 3), 0);
    EXPECT_FALSE(table.IsCreated());
    EXPECT_EQ(table.Create(1 << 12, 1 << 11), 0);
}

TEST_F(TabTest, CellsOutOfRangeAreHarmless) {
    table.Create(1, 2);
    table.SetCell(0, 1, u"x");
    table.SetCell(1, 0, u"y");
    table.SetCell(0, 2, u"y");
    table.SetCell(-1, 0, u"y");
    EXPECT_EQ(table.GetCell(5, 5), nullptr);
    EXPECT_EQ(table.GetCell(-1, 0), nullptr);
    EXPECT_EQ(CellsOf(table), (Cells{{kAbsent, u"x"}}));
    table.SetCell(0, 1, nullptr);
    EXPECT_EQ(table.GetCell(0, 1), nullptr);
}

TEST_F(TabTest, RowsAreInsertedDeletedAndFound) {
    table.Create(2, 2);
    table.SetCell(0, 0, u"012");
    table.SetCell(1, 0, u"12");
    EXPECT_EQ(table.InsertRow(-1), 2);
    EXPECT_EQ(table.InsertRow(99), 3);
    EXPECT_EQ(table.InsertRow(1), 1);
    EXPECT_EQ(table.Rows(), 5);
    EXPECT_EQ(table.FindRow(u"12"), 2);
    EXPECT_EQ(table.FindRow(u"012"), 0);
    EXPECT_EQ(table.FindRow(u"1"), -1);
    EXPECT_EQ(table.FindRow(u""), -1);
    EXPECT_EQ(table.FindRow(nullptr), -1);
    EXPECT_EQ(table.DeleteRow(table.Rows()), 1); // the last
    EXPECT_EQ(table.DeleteRow(-3), 1);           // the last again
    EXPECT_EQ(table.DeleteRow(1), 1);
    EXPECT_EQ(CellsOf(table), (Cells{{u"012", kAbsent}, {u"12", kAbsent}}));
    EXPECT_EQ(table.DeleteRow(0), 1);
    EXPECT_EQ(table.DeleteRow(0), 1);
    EXPECT_FALSE(table.IsCreated());
    EXPECT_EQ(table.InsertRow(0), -1);
    table.Create(0, 3);
    EXPECT_EQ(table.InsertRow(0), 0);
    EXPECT_EQ(table.Rows(), 1);
}

TEST_F(TabTest, ParsingFollowsTheFirstLine) {
    EXPECT_EQ(Parse("a\tb\tc\r\nd\te\r\n"), (Cells{{u"a", u"b", u"c"}, {u"d", u"e", kAbsent}}));
    // Surplus cells spill into the next row; lines past the row count go unread.
    EXPECT_EQ(Parse("a\tb\r\nc\td\te\r\nf\tg\r\n"),
              (Cells{{u"a", u"b"}, {u"c", u"d"}, {u"e", kAbsent}}));
    // A last line without CR LF is not read.
    EXPECT_EQ(Parse("a\tb\r\nc\td"), (Cells{{u"a", u"b"}}));
    EXPECT_EQ(Parse(""), Cells{});
    EXPECT_TRUE(table.IsCreated());
    EXPECT_EQ(table.Columns(), 1);
    // LF-only lines: rows counted, cells split only at TAB and CR.
    EXPECT_EQ(Parse("a\tb\nc\td\n"), (Cells{{u"a", u"b\nc"}, {u"d\n", kAbsent}}));
    EXPECT_EQ(Parse("one\ntwo\n"), (Cells{{u"one\ntwo\n"}, {kAbsent}}));
    // Empty cells and empty lines.
    EXPECT_EQ(Parse("\t\r\n\r\n"), (Cells{{u"", u""}, {u"", kAbsent}}));
    // A CR at the very end with rows still to fill.
    EXPECT_EQ(Parse("a\n\n\r"), (Cells{{u"a\n\n"}, {u""}}));
}

TEST_F(TabTest, EncodingIsDetected) {
    // The byte-order mark, skipped.
    EXPECT_EQ(Parse(Utf16Bytes(u"中\t文\r\n", true)), (Cells{{u"中", u"文"}}));
    // No mark, ends in CR LF: the last byte is 0.
    EXPECT_EQ(Parse(Utf16Bytes(u"ab\tc\r\n", false)), (Cells{{u"ab", u"c"}}));
    // No mark, a last byte that is not 0, a separator followed by 0.
    EXPECT_EQ(Parse(Utf16Bytes(u"a\tb\r\n中", false)), (Cells{{u"a", u"b"}}));
    // ANSI: last byte CR or LF, or nothing that looks like UTF-16.
    EXPECT_EQ(Parse("x\ty\r\n"), (Cells{{u"x", u"y"}}));
    EXPECT_EQ(Parse("x\ty\r\nz"), (Cells{{u"x", u"y"}}));
    // ANSI cells are UTF-8, or GBK when they are not valid UTF-8.
    EXPECT_EQ(Parse("\xE4\xB8\xAD\t\xD6\xD0\r\n"), (Cells{{u"中", u"中"}}));
}

TEST_F(TabTest, ReadFormatsOverrideDetection) {
    Bytes marked = Utf16Bytes(u"a\tb\r\n", true);
    EXPECT_EQ(Parse(marked, CTabDataBase::kUtf16), (Cells{{u"a", u"b"}}));
    EXPECT_EQ(Parse(Utf16Bytes(u"a\tb\r\n", false), CTabDataBase::kUtf16), (Cells{{u"a", u"b"}}));
    // As ANSI the mark and the zero bytes are cell content.
    Cells ansi = Parse(marked, CTabDataBase::kAnsi);
    EXPECT_EQ(ansi.size(), 1u); // one LF byte
    // An odd trailing byte of UTF-16 is dropped.
    Bytes odd = Utf16Bytes(u"a\r\n", true);
    odd.push_back('z');
    EXPECT_EQ(Parse(odd, CTabDataBase::kUtf16), (Cells{{u"a"}}));
}

TEST_F(TabTest, EveryWrittenFormatRoundTrips) {
    table.Create(3, 3);
    table.SetCell(0, 0, u"20240101");
    table.SetCell(0, 1, u"元旦");
    table.SetCell(0, 2, u"New Year's Day");
    table.SetCell(1, 0, u"x");
    table.SetCell(2, 1, u"");
    const Cells written = CellsOf(table);
    // Absent cells come back as empty strings.
    const Cells expected = {
        {u"20240101", u"元旦", u"New Year's Day"}, {u"x", u"", u""}, {u"", u"", u""}};
    for (int format : {1, 2, 3, 7}) {
        EXPECT_EQ(RoundTrip(format), expected) << format;
        EXPECT_EQ(CellsOf(table), written);
    }
    table.saveFormat = 1;
    table.Save(U16(work / "ansi.txt").c_str());
    EXPECT_EQ(ReadFileText(work / "ansi.txt"),
              "20240101\t\xE5\x85\x83\xE6\x97\xA6\tNew Year's Day\r\nx\t\t\r\n\t\t\r\n");
    table.saveFormat = 2;
    table.Save(U16(work / "utf16.txt").c_str());
    EXPECT_EQ(ReadFileBytes(work / "utf16.txt"),
              Utf16Bytes(u"20240101\t元旦\tNew Year's Day\r\nx\t\t\r\n\t\t\r\n", true));
}

TEST_F(TabTest, LongCellsAreCutAt1023Units) {
    std::u16string longText(1500, u'長');
    table.Create(1, 1);
    table.SetCell(0, 0, longText.c_str());
    EXPECT_EQ(std::u16string(table.GetCell(0, 0)).size(), 1023u);
    for (int format : {1, 2, 3}) {
        EXPECT_EQ(RoundTrip(format), (Cells{{std::u16string(1023, u'長')}}));
    }
    std::string ansi(3000, 'a');
    EXPECT_EQ(Parse(ansi + "\tb\r\n"), (Cells{{std::u16string(1023, u'a'), u"b"}}));
    EXPECT_EQ(Parse(Utf16Bytes(std::u16string(2000, u'x') + u"\r\n", true)),
              (Cells{{std::u16string(1023, u'x')}}));
    // A surrogate pair is never split.
    std::u16string pairs;
    for (int i = 0; i < 600; ++i) {
        pairs += u"\U0001F600";
    }
    table.SetCell(0, 0, pairs.c_str());
    EXPECT_EQ(std::u16string(table.GetCell(0, 0)).size(), 1022u);
}

TEST_F(TabTest, LoadGoesThroughTheFileService) {
    files->absolutePathMode = false;
    WriteFileText(programFolder / "holidays.txt", "0101\tNew Year\r\n");
    EXPECT_EQ(table.Load(u"holidays.txt"), 1);
    EXPECT_EQ(CellsOf(table), (Cells{{u"0101", u"New Year"}}));
    // Missing: 0, the table keeps its content, the service reported it.
    EXPECT_EQ(table.Load(u"missing.txt"), 0);
    EXPECT_EQ(CellsOf(table), (Cells{{u"0101", u"New Year"}}));
    EXPECT_EQ(platform.MessageBoxes().size(), 1u);
}

TEST_F(TabTest, AnOversizedTableIsNotLoaded) {
    table.Create(1, 1);
    table.SetCell(0, 0, u"kept");
    std::string huge(5000, '\t');
    huge += std::string(5000, '\n');
    table.readFormat = CTabDataBase::kAnsi;
    EXPECT_EQ(table.LoadBytes(ToBytes(huge)), 0);
    EXPECT_EQ(CellsOf(table), (Cells{{u"kept"}}));
}

TEST_F(TabTest, ABrokenContainerGivesAnEmptyTable) {
    table.Create(1, 1);
    table.saveFormat = 3;
    std::u16string path = U16(work / "memo.dat");
    table.SetCell(0, 0, u"secret");
    ASSERT_EQ(table.Save(path.c_str()), 1);
    Bytes good = ReadFileBytes(work / "memo.dat");
    ASSERT_EQ(good[0], 0x00);
    ASSERT_EQ(good[1], 0x4C);
    EXPECT_EQ(Parse(good), (Cells{{u"secret"}}));

    Bytes corrupted = good;
    corrupted[35] ^= 1;
    EXPECT_EQ(Parse(corrupted), Cells{});
    EXPECT_EQ(table.Columns(), 1);
    Bytes cut(good.begin(), good.end() - 1);
    EXPECT_EQ(Parse(cut), Cells{});
    EXPECT_EQ(Parse(Bytes{0x00, 0x4C, 0x45}), Cells{});
    EXPECT_TRUE(table.IsCreated());
    // Read format 3 on something that is no container at all.
    EXPECT_EQ(Parse("a\tb\r\n", CTabDataBase::kScrambled), Cells{});
}

} // namespace
