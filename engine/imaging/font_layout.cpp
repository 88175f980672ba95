// The line breaking of CMGFont.
#include "imaging/mg_font.h"

#include <algorithm>
#include <string_view>

namespace {

// Closing punctuation and small kana: they stay at the end of a line even
// past its right edge rather than open the next one.
constexpr std::u16string_view kHanging = u"!?、。』」）？！っぁぃぅぇぉゃゅょッァィゥェォャュョ";

bool Hangs(char16_t unit) {
    return kHanging.find(unit) != std::u16string_view::npos;
}

} // namespace

int CMGFont::Layout(const RECT& rect, int x0, int y0, const char16_t* text) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = x0;
    int y = y0;
    count = 0;
    // Moves to the next line; false when that line would not fit.
    auto nextLine = [&] {
        y += lineHeight;
        x = 0;
        return y <= height - lineHeight;
    };

    const char16_t* c = text;
    while (*c != 0) {
        if (c[0] == u'\\' && c[1] == u'n') {
            if (!nextLine()) {
                break;
            }
            c += 2;
            continue;
        }
        if (*c == u'<') {
            const char16_t* tag = c + 1;
            const char16_t* end = tag;
            while (*end != 0 && *end != u'>') {
                ++end;
            }
            const int k = int(end - tag);
            if (count + k + 2 > kFontBufferUnits) {
                break;
            }
            buffer[count] = u'<';
            buffer[count + 1] = char16_t(k);
            std::copy(tag, end, buffer + count + 2);
            count += k + 2;
            c = *end == u'>' ? end + 1 : end;
            continue;
        }
        if (count == kFontBufferUnits) {
            break;
        }
        const int advance = font->Advance(*c);
        if (x + advance > width && !Hangs(*c) && !nextLine()) {
            break;
        }
        buffer[count] = *c;
        positions[count] = POINT{rect.left + x, rect.top + y};
        ++count;
        x += advance;
        ++c;
    }
    return x;
}
