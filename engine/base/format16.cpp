#include "format16.h"

#include "text16.h"

namespace {

void AppendInteger(std::u16string& out, long long value, bool zeroPad, std::size_t width) {
    std::u16string digits;
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    std::size_t used = digits.size() + (value < 0 ? 1 : 0);
    std::size_t pad = width > used ? width - used : 0;
    if (!zeroPad) {
        out.append(pad, u' ');
    }
    if (value < 0) {
        out.push_back(u'-');
    }
    if (zeroPad) {
        out.append(pad, u'0');
    }
    out += digits;
}

} // namespace

std::u16string Format16(std::u16string_view format, std::initializer_list<FormatArg> args) {
    std::u16string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        char16_t c = format[i];
        if (c != u'%' || i + 1 >= format.size()) {
            out.push_back(c);
            continue;
        }
        std::size_t j = i + 1;
        bool zeroPad = format[j] == u'0';
        std::size_t width = 0;
        while (j < format.size() && format[j] >= u'0' && format[j] <= u'9') {
            width = width * 10 + (format[j] - u'0');
            ++j;
        }
        if (j >= format.size()) {
            out.append(format.substr(i));
            break;
        }
        char16_t conversion = format[j];
        if (conversion == u'%') {
            out.push_back(u'%');
        } else if ((conversion == u'd' || conversion == u's') && next != args.end()) {
            const FormatArg& arg = *next++;
            if (conversion == u'd' && std::holds_alternative<long long>(arg)) {
                AppendInteger(out, std::get<long long>(arg), zeroPad, width);
            } else if (conversion == u's' && std::holds_alternative<std::u16string_view>(arg)) {
                out += std::get<std::u16string_view>(arg);
            }
        } else {
            out.append(format.substr(i, j - i + 1));
        }
        i = j;
    }
    return out;
}

std::size_t Format16To(char16_t* dst, std::size_t capacity, std::u16string_view format,
                       std::initializer_list<FormatArg> args) {
    return CopyBounded(dst, capacity, Format16(format, args));
}
