#include "glyph_font_match.h"

#include "base/text16.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

namespace {

// The Japanese system gothic the programs ask for is not a Linux font. Its
// stand-in must draw both Simplified Chinese (most of the texts) and kana:
// - Noto Sans Mono CJK SC first: fixed pitch like the face asked for
//   (half-width Latin, full-width CJK), so lines break at the same places,
//   and Simplified Chinese glyph forms; the dependency script installs it.
// - Noto Sans CJK SC: the same design with proportional Latin.
// - WenQuanYi Zen Hei: a Chinese gothic that also has kana.
// - VL Gothic, then IPAGothic: Japanese gothics whose Simplified Chinese
//   coverage is partial, so part of a text would come from fallbacks.
constexpr std::array<const char*, 5> kGothicStandIns = {
    "Noto Sans Mono CJK SC", "Noto Sans CJK SC", "WenQuanYi Zen Hei", "VL Gothic", "IPAGothic"};

constexpr std::array<std::u16string_view, 2> kSystemGothicNames = {u"ＭＳ ゴシック", u"MS Gothic"};

bool NamesSystemGothic(std::u16string_view face) {
    for (std::u16string_view name : kSystemGothicNames) {
        if (EqualsIgnoringAsciiCase(face, name)) {
            return true;
        }
    }
    return false;
}

// Always at least one language, Chinese first: without one fontconfig
// prefers a Latin face with no CJK glyphs at all. The character set adds
// its own language after it.
std::vector<const char*> Languages(int charset) {
    std::vector<const char*> languages{"zh-cn"};
    switch (charset) {
    case SHIFTJIS_CHARSET:
        languages.push_back("ja");
        break;
    case CHINESEBIG5_CHARSET:
        languages.push_back("zh-tw");
        break;
    case HANGUL_CHARSET:
        languages.push_back("ko");
        break;
    default:
        break;
    }
    return languages;
}

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* FcText(const std::string& text) {
    return reinterpret_cast<const FcChar8*>(text.c_str());
}

Pattern RequestPattern(const FontRequest& request, const std::string& family) {
    Pattern pattern(FcPatternCreate());
    if (!pattern) {
        return nullptr;
    }
    if (!family.empty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY, FcText(family));
    }
    for (const char* language : Languages(request.charset)) {
        FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(language));
    }
    FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, request.height);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(request.weight));
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    return pattern;
}

Pattern BestMatch(FcPattern* pattern) {
    if (pattern == nullptr || !FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) {
        return nullptr;
    }
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    return Pattern(FcFontMatch(nullptr, pattern, &result));
}

// fontconfig always answers with some font; this tells whether it is the
// family asked for under any of its names (a face may carry localised ones).
bool HasFamily(const FcPattern* font, const std::string& family) {
    FcChar8* name = nullptr;
    for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
        if (FcStrCmpIgnoreCase(name, FcText(family)) == 0) {
            return true;
        }
    }
    return false;
}

std::optional<FontFile> ToFontFile(const FcPattern* font) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &path) != FcResultMatch) {
        return std::nullopt;
    }
    FontFile file;
    file.path = reinterpret_cast<const char*>(path);
    FcPatternGetInteger(font, FC_INDEX, 0, &file.index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch) {
        file.family = reinterpret_cast<const char*>(family);
    }
    // Configurations that offer synthetic bold report a regular face asked
    // for in bold as bold, marked for emboldening: that is not a bold face.
    double weight = FC_WEIGHT_REGULAR;
    FcPatternGetDouble(font, FC_WEIGHT, 0, &weight);
    FcBool synthetic = FcFalse;
    FcPatternGetBool(font, FC_EMBOLDEN, 0, &synthetic);
    file.bold = weight >= FC_WEIGHT_DEMIBOLD && synthetic == FcFalse;
    return file;
}

} // namespace

std::optional<FontFile> MatchFont(const FontRequest& request) {
    const std::string requested = Utf16ToUtf8(request.face);
    std::vector<std::string> wanted{requested};
    if (NamesSystemGothic(request.face)) {
        wanted.insert(wanted.end(), kGothicStandIns.begin(), kGothicStandIns.end());
    }
    for (const std::string& family : wanted) {
        Pattern font = BestMatch(RequestPattern(request, family).get());
        if (font && HasFamily(font.get(), family)) {
            return ToFontFile(font.get());
        }
    }
    // None installed: fontconfig's own substitute, which the languages keep
    // to a face with CJK glyphs.
    Pattern font = BestMatch(RequestPattern(request, requested).get());
    return font ? ToFontFile(font.get()) : std::nullopt;
}

std::optional<FontFile> MatchFallback(const FontRequest& request, char32_t character) {
    Pattern pattern = RequestPattern(request, Utf16ToUtf8(request.face));
    FcCharSet* wanted = pattern ? FcCharSetCreate() : nullptr;
    if (wanted == nullptr) {
        return std::nullopt;
    }
    FcCharSetAddChar(wanted, character);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted);
    FcCharSetDestroy(wanted);

    Pattern font = BestMatch(pattern.get());
    FcCharSet* has = nullptr;
    if (!font || FcPatternGetCharSet(font.get(), FC_CHARSET, 0, &has) != FcResultMatch ||
        !FcCharSetHasChar(has, character)) {
        return std::nullopt;
    }
    return ToFontFile(font.get());
}
