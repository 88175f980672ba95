#include "text16.h"

#include <algorithm>

std::size_t Length16(const char16_t* text) {
    std::size_t n = 0;
    while (text[n] != 0) {
        ++n;
    }
    return n;
}

std::size_t CopyBounded(char16_t* dst, std::size_t capacity, std::u16string_view src) {
    if (capacity == 0) {
        return 0;
    }
    std::size_t n = std::min(capacity - 1, src.size());
    // Stop at an embedded NUL just as a C-string copy would.
    std::size_t nul = src.find(u'\0');
    if (nul != std::u16string_view::npos) {
        n = std::min(n, nul);
    }
    std::copy_n(src.data(), n, dst);
    dst[n] = 0;
    return n;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at utf8[i]; returns its length, or 0 when the
// bytes there are not a well-formed sequence.
std::size_t DecodeUtf8At(std::string_view utf8, std::size_t i, char32_t& cp) {
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead < 0x80   ? 0
                : lead < 0xC2 ? -1
                : lead < 0xE0 ? 1
                : lead < 0xF0 ? 2
                : lead < 0xF5 ? 3
                              : -1;
    if (extra < 0 || i + extra >= utf8.size()) {
        return 0;
    }
    cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char c = static_cast<unsigned char>(utf8[i + k]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return static_cast<std::size_t>(extra) + 1;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    char32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t n = DecodeUtf8At(bytes, i, cp);
        if (n == 0) {
            return false;
        }
        i += n;
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    char32_t cp = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = DecodeUtf8At(utf8, i, cp);
        // An ill-formed byte yields one replacement and decoding resumes after it.
        AppendUtf16(out, n == 0 ? kReplacement : cp);
        i += n == 0 ? 1 : n;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

char16_t FoldAsciiCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}
