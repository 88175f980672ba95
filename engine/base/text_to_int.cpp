#include "text_to_int.h"

#include <climits>

namespace {

bool IsSpace(char32_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

template <typename Char> int ParseInt(std::basic_string_view<Char> text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(static_cast<char32_t>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value < INT_MIN ? INT_MIN : value);
}

} // namespace

int TextToInt(std::u16string_view text) {
    return ParseInt(text);
}
int TextToInt(std::string_view text) {
    return ParseInt(text);
}
