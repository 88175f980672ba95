// A small typed key-value store with a single section, kept in an INI-like
// text file. Values are 32-bit integers, floats or UTF-16 strings; the text
// form carries the type in its spelling:
//
//   [Section]
//   Count=12          integer
//   Scale=1.5000f     float (a number ending in f)
//   Name="abc"        string (quoted, or any token that is not a number)
//
// Separators are space, TAB, comma, '=', CR and LF; ';' where a token may
// begin starts a comment to the end of the line; a double quote switches
// quoting (separators other than CR and LF belong to the token) and is not
// part of it. Loading also accepts a binary form (byte 0 not '['):
//
//   0 8 bytes unread, 8 u32 entry count, 12 4 bytes unread,
//   16 i32 section length s, 20 s section bytes, then per entry:
//   u8 type (1 int, 2 float, 3 string), 1 byte unread, i32 key length k,
//   k key bytes, then 4 bytes (int, float, or the string length m in the
//   low 16 bits) and, for a string, m bytes.
#pragma once

#include "platform/win32_types.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

class CMGDataBase {
public:
    enum Type : WORD { kNone = 0, kInt = 1, kFloat = 2, kString = 3 };
    struct Value {
        WORD type = kNone;
        std::uint32_t bits = 0; // the integer, or the float's bit pattern
        std::u16string text;    // a string entry's text

        std::int32_t AsInt() const { return static_cast<std::int32_t>(bits); }
        float AsFloat() const;
    };
    // Tokens, keys and strings are cut at this many bytes or UTF-16 units,
    // and a saved line (with its CR LF) at this many bytes.
    static constexpr std::size_t kMaxText = 1023;

    CMGDataBase() = default;
    virtual ~CMGDataBase();
    CMGDataBase(const CMGDataBase&) = delete;
    CMGDataBase& operator=(const CMGDataBase&) = delete;

    // The name SetDefaultSection uses: the program's own store name
    // ("LumiClock" unless the program sets another).
    static void SetDefaultSectionName(std::u16string_view name);
    // Section = the ANSI form of that name.
    void SetDefaultSection();
    void SetSection(std::string_view ansi) { section_ = ansi; }
    const std::string& Section() const { return section_; }

    // Adds or replaces entries from the text form (byte 0 is '[') or the
    // binary form. Data that end early stop the reading; what was read
    // before stays.
    void Load(const std::uint8_t* bytes, std::size_t length);
    // Writes the text form, entries in key order, atomically: 1, or 0 when
    // the file cannot be written (an existing one keeps its old content).
    int Save(const char16_t* path) const;

    // Absent key, string or typeless entry: the default; an integer: its
    // value; a float: its bit pattern as a signed integer.
    int GetInt(const char16_t* key, int defaultValue) const;
    // A string entry's text; an empty text for anything else. Valid until
    // the entry changes.
    const char16_t* GetString(const char16_t* key) const;
    void SetInt(const char16_t* key, int value);
    void SetFloat(const char16_t* key, float value);
    // nullptr stores an empty text.
    void SetString(const char16_t* key, const char16_t* text);
    // Removes every entry and empties the section.
    void Clear();

    // Ordered by key, code unit by code unit.
    const std::map<std::u16string, Value>& Entries() const { return entries_; }

private:
    void LoadText(std::span<const std::uint8_t> bytes);
    void LoadBinary(std::span<const std::uint8_t> bytes);

    std::string section_;
    std::map<std::u16string, Value> entries_;
};
