// Formats one entry of the headless call log: the operation's name and its
// arguments separated by spaces, texts quoted in UTF-8, flags in hex.
#pragma once

#include "base/text16.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

struct Hex {
    std::uint64_t value;
};

namespace call_log_detail {
inline void Put(std::ostringstream& out, std::u16string_view text) {
    out << '"' << Utf16ToUtf8(text) << '"';
}
inline void Put(std::ostringstream& out, const std::u16string& text) {
    Put(out, std::u16string_view(text));
}
inline void Put(std::ostringstream& out, Hex flags) {
    out << "0x" << std::hex << flags.value << std::dec;
}
inline void Put(std::ostringstream& out, bool flag) {
    out << (flag ? 1 : 0);
}
inline void Put(std::ostringstream& out, const char* word) {
    out << word;
}
template <typename T> void Put(std::ostringstream& out, const T& value) {
    out << value;
}
} // namespace call_log_detail

template <typename... Args>
std::string FormatCall(std::string_view operation, const Args&... args) {
    std::ostringstream out;
    out << operation;
    ((out << ' ', call_log_detail::Put(out, args)), ...);
    return out.str();
}
