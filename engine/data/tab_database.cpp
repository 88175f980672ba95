#include "tab_database.h"

#include "base/ansi_text.h"
#include "encrypt_data.h"
#include "file_io.h"
#include "mg_file.h"
#include "text_cut.h"

#include <algorithm>

namespace {

constexpr char16_t kTab = u'\t';
constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

// A cell as stored: NUL-terminated, cut at its first NUL and at the cell
// limit (never between the halves of a surrogate pair).
std::unique_ptr<char16_t[]> MakeCell(std::u16string_view text) {
    text = CutUnits(text.substr(0, text.find(u'\0')), CTabDataBase::kMaxCellUnits);
    auto cell = std::make_unique<char16_t[]>(text.size() + 1);
    std::copy(text.begin(), text.end(), cell.get());
    return cell;
}

std::u16string_view CellText(std::u16string_view text) {
    return text;
}
std::u16string CellText(std::string_view ansi) {
    return AnsiToUtf16(ansi);
}

} // namespace

int CTabDataBase::Create(int rows, int columns) {
    Clear();
    if (rows < 0 || columns < 0 ||
        (columns > 0 &&
         static_cast<std::size_t>(rows) > kMaxCells / static_cast<std::size_t>(columns))) {
        return 0;
    }
    cells_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    rows_ = rows;
    columns_ = columns;
    created_ = true;
    return 1;
}

void CTabDataBase::Clear() {
    cells_.clear();
    cells_.shrink_to_fit();
    rows_ = 0;
    columns_ = 0;
    created_ = false;
}

const char16_t* CTabDataBase::GetCell(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) {
        return nullptr;
    }
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(column)]
        .get();
}

void CTabDataBase::SetCell(int row, int column, const char16_t* text) {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) {
        return;
    }
    Cell(row, column) = text == nullptr ? nullptr : MakeCell(text);
}

int CTabDataBase::InsertRow(int index) {
    if (!created_ || (columns_ > 0 && static_cast<std::size_t>(rows_) + 1 >
                                          kMaxCells / static_cast<std::size_t>(columns_))) {
        return -1;
    }
    if (index < 0 || index > rows_) {
        index = rows_;
    }
    auto at = cells_.begin() + static_cast<std::ptrdiff_t>(index) * columns_;
    std::vector<std::unique_ptr<char16_t[]>> blank(static_cast<std::size_t>(columns_));
    cells_.insert(at, std::make_move_iterator(blank.begin()), std::make_move_iterator(blank.end()));
    ++rows_;
    return index;
}

int CTabDataBase::DeleteRow(int index) {
    if (!created_) {
        return 0;
    }
    if (rows_ <= 1) {
        Clear();
        return 1;
    }
    if (index < 0 || index >= rows_) {
        index = rows_ - 1;
    }
    auto at = cells_.begin() + static_cast<std::ptrdiff_t>(index) * columns_;
    cells_.erase(at, at + columns_);
    --rows_;
    return 1;
}

int CTabDataBase::FindRow(const char16_t* key) const {
    if (key == nullptr || key[0] == 0 || columns_ < 1) {
        return -1;
    }
    std::u16string_view wanted(key);
    for (int row = 0; row < rows_; ++row) {
        const char16_t* first = GetCell(row, 0);
        if (first != nullptr && wanted == first) {
            return row;
        }
    }
    return -1;
}

// --- Reading -------------------------------------------------------------------

template <typename Unit> int CTabDataBase::Parse(std::basic_string_view<Unit> text) {
    const Unit separators[] = {static_cast<Unit>(kTab), static_cast<Unit>(kCr)};
    const std::basic_string_view<Unit> cellEnds(separators, 2);
    const Unit lineEnds[] = {static_cast<Unit>(kCr), static_cast<Unit>(kLf)};

    std::size_t firstLineEnd =
        std::min(text.find_first_of(std::basic_string_view<Unit>(lineEnds, 2)), text.size());
    std::size_t columns =
        1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + firstLineEnd, kTab));
    std::size_t rows = static_cast<std::size_t>(std::count(text.begin(), text.end(), kLf));
    if (rows > kMaxCells / columns) {
        return 0;
    }
    Create(static_cast<int>(rows), static_cast<int>(columns));

    std::size_t pos = 0;
    for (int row = 0; row < rows_; ++row) {
        for (int column = 0; column < columns_; ++column) {
            std::size_t sep = text.find_first_of(cellEnds, pos);
            if (sep == std::basic_string_view<Unit>::npos) {
                Cell(row, column) = MakeCell(CellText(text.substr(pos)));
                return 1;
            }
            Cell(row, column) = MakeCell(CellText(text.substr(pos, sep - pos)));
            if (text[sep] == static_cast<Unit>(kCr)) {
                pos = std::min(sep + 2, text.size()); // over the LF; the row ends
                break;
            }
            pos = sep + 1;
        }
    }
    return 1;
}

int CTabDataBase::LoadBytes(std::span<const std::uint8_t> bytes) {
    int format = readFormat;
    std::size_t start = 0;
    auto hasMark = [&] { return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE; };
    if (format == kDetect) {
        auto unicodeSeparator = [&] {
            for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
                std::uint8_t b = bytes[i];
                if ((b == '\t' || b == '\r' || b == '\n') && bytes[i + 1] == 0) {
                    return true;
                }
            }
            return false;
        };
        if (hasMark()) {
            format = kUtf16;
        } else if (bytes.size() >= 2 && bytes[0] == 0x00 && bytes[1] == 0x4C) {
            format = kScrambled;
        } else if (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) {
            format = kAnsi;
        } else if (!bytes.empty() && bytes.back() == 0) {
            format = kUtf16;
        } else {
            format = unicodeSeparator() ? kUtf16 : kAnsi;
        }
    }
    if (format == kUtf16) {
        if (hasMark()) {
            start = 2;
        }
        std::u16string units((bytes.size() - start) / 2, u'\0');
        for (std::size_t i = 0; i < units.size(); ++i) {
            units[i] = static_cast<char16_t>(bytes[start + 2 * i] | bytes[start + 2 * i + 1] << 8);
        }
        return Parse(std::u16string_view(units));
    }
    if (format == kScrambled) {
        CMGEncryptData container;
        std::span<const std::uint8_t> text;
        if (container.Open(bytes) != 0) {
            text = container.Text(); // a failed check leaves it empty
        }
        return Parse(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    }
    return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

int CTabDataBase::Load(const char16_t* name) {
    CMGFile* files = CMGFile::Service();
    if (files == nullptr) {
        return 0;
    }
    DWORD size = 0;
    std::unique_ptr<std::uint8_t[]> block(files->LoadFile(name, &size));
    if (!block) {
        return 0;
    }
    return LoadBytes(std::span<const std::uint8_t>(block.get(), size));
}

// --- Writing -------------------------------------------------------------------

std::u16string CTabDataBase::Text() const {
    std::u16string text;
    for (int row = 0; row < rows_; ++row) {
        for (int column = 0; column < columns_; ++column) {
            if (const char16_t* cell = GetCell(row, column)) {
                text += cell;
            }
            if (column + 1 < columns_) {
                text += kTab;
            }
        }
        text += u"\r\n";
    }
    return text;
}

int CTabDataBase::Save(const char16_t* path) const {
    if (path == nullptr) {
        return 0;
    }
    if (saveFormat == kAnsi) {
        return WriteFileAtomically(NativePath(path), Utf16ToAnsi(Text())) ? 1 : 0;
    }
    if (saveFormat == kUtf16) {
        // The byte-order mark first (appended, not concatenated: GCC 12
        // misreads a prefix concatenation as an overlapping copy).
        std::u16string text(1, u'\xFEFF');
        text += Text();
        std::vector<std::uint8_t> bytes(text.size() * 2);
        for (std::size_t i = 0; i < text.size(); ++i) {
            bytes[2 * i] = static_cast<std::uint8_t>(text[i]);
            bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
        }
        return WriteFileAtomically(NativePath(path), bytes) ? 1 : 0;
    }
    CMGEncryptData container;
    return container.Save(path, Utf16ToAnsi(Text()));
}
