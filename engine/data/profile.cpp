#include "profile.h"

#include "base/ansi_text.h"
#include "base/text16.h"
#include "base/text_to_int.h"
#include "file_io.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::u16string_view Trim(std::u16string_view text) {
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::u16string_view View(const char16_t* text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

std::u16string DecodeText(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
        }
        return text;
    }
    std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (view.starts_with("\xEF\xBB\xBF")) {
        view.remove_prefix(3);
    }
    return AnsiToUtf16(view);
}

// An ini file as lines, so that a write changes only the lines it must.
class IniDocument {
public:
    explicit IniDocument(const char16_t* file) : path_(NativePath(View(file))) {
        auto bytes = ReadRegularFile(path_);
        if (!bytes) {
            return;
        }
        std::u16string text = DecodeText(*bytes);
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(u'\n', start);
            if (end == std::u16string::npos) {
                end = text.size();
            }
            std::u16string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == u'\r') {
                line.pop_back();
                if (lines_.empty()) {
                    crlf_ = true;
                }
            }
            lines_.push_back(std::move(line));
            start = end + 1;
        }
    }

    // The section name of a "[name]" line.
    static bool IsHeader(std::u16string_view line, std::u16string_view* name) {
        line = Trim(line);
        if (line.empty() || line.front() != u'[') {
            return false;
        }
        line.remove_prefix(1);
        *name = Trim(line.substr(0, line.find(u']')));
        return true;
    }

    // The key and value of a "key=value" line.
    static bool IsEntry(std::u16string_view line, std::u16string_view* key,
                        std::u16string_view* value) {
        std::size_t eq = line.find(u'=');
        std::u16string_view name;
        if (eq == std::u16string_view::npos || IsHeader(line, &name)) {
            return false;
        }
        *key = Trim(line.substr(0, eq));
        *value = Trim(line.substr(eq + 1));
        return true;
    }

    std::size_t FindSection(std::u16string_view section) const {
        std::u16string_view name;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (IsHeader(lines_[i], &name) && EqualsIgnoringAsciiCase(name, Trim(section))) {
                return i;
            }
        }
        return kNone;
    }

    // The line after the section's last line.
    std::size_t SectionEnd(std::size_t header) const {
        std::u16string_view name;
        std::size_t i = header + 1;
        while (i < lines_.size() && !IsHeader(lines_[i], &name)) {
            ++i;
        }
        return i;
    }

    std::size_t FindKey(std::size_t header, std::u16string_view key) const {
        std::u16string_view name;
        std::u16string_view value;
        for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
            if (IsEntry(lines_[i], &name, &value) && EqualsIgnoringAsciiCase(name, Trim(key))) {
                return i;
            }
        }
        return kNone;
    }

    const std::vector<std::u16string>& Lines() const { return lines_; }
    std::vector<std::u16string>& Lines() { return lines_; }

    bool Save() const {
        std::u16string text;
        const char16_t* eol = crlf_ ? u"\r\n" : u"\n";
        for (const std::u16string& line : lines_) {
            text += line;
            text += eol;
        }
        return WriteFileAtomically(path_, Utf16ToAnsi(text));
    }

private:
    std::string path_;
    std::vector<std::u16string> lines_;
    bool crlf_ = false;
};

std::u16string_view Unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

DWORD CopyValue(std::u16string_view value, char16_t* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    return static_cast<DWORD>(CopyBounded(buffer, size, value));
}

// A list of names, each terminated, with one more terminator at the end.
DWORD CopyNameList(const std::vector<std::u16string_view>& names, char16_t* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (size == 1) {
        buffer[0] = 0;
        return 0;
    }
    std::u16string list;
    for (std::u16string_view name : names) {
        list.append(name);
        list.push_back(0);
    }
    if (list.size() + 1 <= size) {
        std::copy(list.begin(), list.end(), buffer);
        buffer[list.size()] = 0;
        return static_cast<DWORD>(list.empty() ? 0 : list.size());
    }
    std::copy_n(list.begin(), size - 2, buffer);
    buffer[size - 2] = 0;
    buffer[size - 1] = 0;
    return size - 2;
}

} // namespace

DWORD GetPrivateProfileString(const char16_t* section, const char16_t* key,
                              const char16_t* defaultValue, char16_t* buffer, DWORD size,
                              const char16_t* file) {
    IniDocument document(file);
    std::u16string_view name;
    std::u16string_view value;
    if (section == nullptr) {
        std::vector<std::u16string_view> names;
        for (const std::u16string& line : document.Lines()) {
            if (IniDocument::IsHeader(line, &name)) {
                names.push_back(name);
            }
        }
        return CopyNameList(names, buffer, size);
    }
    std::size_t header = document.FindSection(section);
    if (key == nullptr) {
        std::vector<std::u16string_view> names;
        if (header != kNone) {
            for (std::size_t i = header + 1, end = document.SectionEnd(header); i < end; ++i) {
                if (IniDocument::IsEntry(document.Lines()[i], &name, &value)) {
                    names.push_back(name);
                }
            }
        }
        return CopyNameList(names, buffer, size);
    }
    std::size_t line = header == kNone ? kNone : document.FindKey(header, key);
    if (line == kNone) {
        std::u16string_view fallback = View(defaultValue);
        while (!fallback.empty() && fallback.back() == u' ') {
            fallback.remove_suffix(1);
        }
        return CopyValue(fallback, buffer, size);
    }
    IniDocument::IsEntry(document.Lines()[line], &name, &value);
    return CopyValue(Unquote(value), buffer, size);
}

int GetPrivateProfileInt(const char16_t* section, const char16_t* key, int defaultValue,
                         const char16_t* file) {
    if (section == nullptr || key == nullptr) {
        return defaultValue;
    }
    char16_t value[32];
    if (GetPrivateProfileString(section, key, u"", value, 32, file) == 0) {
        return defaultValue;
    }
    return TextToInt(std::u16string_view(value));
}

BOOL WritePrivateProfileString(const char16_t* section, const char16_t* key, const char16_t* value,
                               const char16_t* file) {
    if (section == nullptr || file == nullptr) {
        return 0;
    }
    IniDocument document(file);
    std::vector<std::u16string>& lines = document.Lines();
    std::size_t header = document.FindSection(section);
    if (key == nullptr) {
        if (header == kNone) {
            return 1;
        }
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header),
                    lines.begin() + static_cast<std::ptrdiff_t>(document.SectionEnd(header)));
        return document.Save() ? 1 : 0;
    }
    std::size_t line = header == kNone ? kNone : document.FindKey(header, key);
    if (value == nullptr) {
        if (line == kNone) {
            return 1;
        }
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line));
        return document.Save() ? 1 : 0;
    }
    if (line != kNone) {
        // The key keeps the spelling the file gave it.
        std::u16string_view name;
        std::u16string_view old;
        IniDocument::IsEntry(lines[line], &name, &old);
        lines[line] = std::u16string(name) + u"=" + value;
    } else if (header != kNone) {
        std::size_t at = document.SectionEnd(header);
        while (at > header + 1 && Trim(lines[at - 1]).empty()) {
            --at;
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                     std::u16string(Trim(key)) + u"=" + value);
    } else {
        std::u16string sectionLine(1, u'[');
        sectionLine += Trim(section);
        sectionLine += u']';
        lines.push_back(std::move(sectionLine));
        lines.push_back(std::u16string(Trim(key)) + u"=" + value);
    }
    return document.Save() ? 1 : 0;
}
