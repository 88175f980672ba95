// printf-style formatting into UTF-16 for the few shapes the engine uses:
// %d with optional zero padding and width (%02d, %04d), %s and %%.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

using FormatArg = std::variant<long long, std::u16string_view>;

std::u16string Format16(std::u16string_view format, std::initializer_list<FormatArg> args);

// Formats into a fixed buffer, cut at capacity - 1 units and terminated.
// Returns the number of units written.
std::size_t Format16To(char16_t* dst, std::size_t capacity, std::u16string_view format,
                       std::initializer_list<FormatArg> args);

template <std::size_t N>
std::size_t Format16To(char16_t (&dst)[N], std::u16string_view format,
                       std::initializer_list<FormatArg> args) {
    return Format16To(dst, N, format, args);
}
