#include "ansi_text.h"

#include "text16.h"

#include <cerrno>
#include <iconv.h>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// glibc's converter supplies the GBK table; an undecodable byte becomes one
// replacement character and decoding resumes after it.
std::u16string GbkToUtf16(std::string_view bytes) {
    std::u16string out;
    iconv_t cd = iconv_open("UTF-16LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (unsigned char b : bytes) {
            out.push_back(b < 0x80 ? b : kReplacement);
        }
        return out;
    }
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string buffer(input.size() * 2 + 8, '\0');
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        std::size_t produced = buffer.size() - outLeft;
        for (std::size_t i = 0; i + 1 < produced; i += 2) {
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) |
                                                (static_cast<unsigned char>(buffer[i + 1]) << 8)));
        }
        if (rc == static_cast<std::size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
            out.push_back(kReplacement);
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            break;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::u16string AnsiToUtf16(std::string_view bytes) {
    return IsValidUtf8(bytes) ? Utf8ToUtf16(bytes) : GbkToUtf16(bytes);
}

std::string Utf16ToAnsi(std::u16string_view text) {
    return Utf16ToUtf8(text);
}
