// A table of text cells (rows x columns of UTF-16 strings) read from and
// written to tab-separated text: ANSI, UTF-16 (little-endian, written with
// the byte-order mark FF FE) or ANSI inside the scrambled container. Each
// row is one line, cells separated by TAB, lines ended by CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CTabDataBase {
public:
    // Read formats; the save format is kAnsi, kUtf16 or any other value for
    // the scrambled container.
    enum Format { kDetect = 0, kAnsi = 1, kUtf16 = 2, kScrambled = 3 };
    // Cells are cut at this many UTF-16 units on reading and writing.
    static constexpr std::size_t kMaxCellUnits = 1023;
    // A file whose rows x columns would exceed this is not loaded.
    static constexpr std::size_t kMaxCells = std::size_t{1} << 22;

    CTabDataBase() = default;
    virtual ~CTabDataBase() = default;
    CTabDataBase(const CTabDataBase&) = delete;
    CTabDataBase& operator=(const CTabDataBase&) = delete;

    // Clear, then a created table of rows x columns absent cells. 0 (and a
    // table that is not created) for negative sizes or more than kMaxCells.
    int Create(int rows, int columns);
    // Releases every cell; rows = columns = 0; not created.
    void Clear();
    bool IsCreated() const { return created_; }
    int Rows() const { return rows_; }
    int Columns() const { return columns_; }

    // The cell's text, or nullptr when absent or out of range.
    const char16_t* GetCell(int row, int column) const;
    // Stores a copy of text (cut at its first NUL and at kMaxCellUnits), or
    // makes the cell absent for nullptr; nothing when out of range.
    void SetCell(int row, int column, const char16_t* text);
    // The new row's index (an index outside 0..rows appends), or -1 when
    // the table is not created.
    int InsertRow(int index);
    // 1, or 0 when not created. An index outside 0..rows-1 deletes the last
    // row; deleting the only row leaves the table not created.
    int DeleteRow(int index);
    // The first row whose first cell equals key exactly, or -1.
    int FindRow(const char16_t* key) const;

    // Reads the file through the file service's LoadFile (a bare name: the
    // program folder, then the archive; a path in absolute-path mode).
    // 1 when read (a container whose check value fails gives 0 rows and 1
    // column), 0 when it could not be loaded (the table is unchanged).
    int Load(const char16_t* name);
    // Parses bytes as Load does, with the read format.
    int LoadBytes(std::span<const std::uint8_t> bytes);
    // Writes the file by the save format, atomically: 1, or 0 when it could
    // not be written (an existing file keeps its old content).
    int Save(const char16_t* path) const;

    int readFormat = kAnsi;
    int saveFormat = kUtf16;

private:
    template <typename Unit> int Parse(std::basic_string_view<Unit> text);
    // The text form in UTF-16, before any encoding.
    std::u16string Text() const;
    std::unique_ptr<char16_t[]>& Cell(int row, int column) {
        return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                      static_cast<std::size_t>(column)];
    }

    bool created_ = false;
    int rows_ = 0;
    int columns_ = 0;
    std::vector<std::unique_ptr<char16_t[]>> cells_;
};
