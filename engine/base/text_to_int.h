// The C library's text-to-integer rule: leading white space, an optional
// sign, then decimal digits up to the first non-digit. No digits gives 0;
// values beyond the int range saturate.
#pragma once

#include <string_view>

int TextToInt(std::u16string_view text);
int TextToInt(std::string_view text);
