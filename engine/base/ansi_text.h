// The "ANSI" text of files brought from the original platform. Reading takes
// UTF-8 when the bytes are valid UTF-8 and GBK (code page 936) otherwise, so
// files written by Chinese Windows installations still read; writing always
// produces UTF-8.
#pragma once

#include <string>
#include <string_view>

std::u16string AnsiToUtf16(std::string_view bytes);
std::string Utf16ToAnsi(std::u16string_view text);
