// Cutting text at a length limit without splitting a character.
#pragma once

#include <cstddef>
#include <string_view>

// At most max units, one fewer when the cut would split a surrogate pair.
inline std::u16string_view CutUnits(std::u16string_view text, std::size_t max) {
    if (text.size() <= max) {
        return text;
    }
    std::size_t cut = max;
    if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) {
        --cut;
    }
    return text.substr(0, cut);
}

// At most max bytes of UTF-8, backed off to the start of a sequence.
inline std::string_view CutUtf8(std::string_view text, std::size_t max) {
    if (text.size() <= max) {
        return text;
    }
    std::size_t cut = max;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return text.substr(0, cut);
}
