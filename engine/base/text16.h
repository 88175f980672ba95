// UTF-16 text as the engine keeps it in memory: NUL-terminated char16_t
// strings in fixed buffers counted in UTF-16 units.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t kTitleUnits = 256; // titles, class names, tips
inline constexpr std::size_t kPathUnits = 260;  // file paths
inline constexpr std::size_t kMemoUnits = 1024; // memo text

// Units before the terminating NUL.
std::size_t Length16(const char16_t* text);

// Copies at most capacity - 1 units and always terminates (lstrcpyn rules).
// Returns the number of units copied. A zero capacity writes nothing.
std::size_t CopyBounded(char16_t* dst, std::size_t capacity, std::u16string_view src);

template <std::size_t N> std::size_t CopyBounded(char16_t (&dst)[N], std::u16string_view src) {
    return CopyBounded(dst, N, src);
}

bool IsValidUtf8(std::string_view bytes);

// Lossless for valid input; ill-formed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// ASCII-only case folding, as the ini and archive name comparisons need.
char16_t FoldAsciiCase(char16_t c);
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);
