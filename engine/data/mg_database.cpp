#include "mg_database.h"

#include "base/ansi_text.h"
#include "base/text16.h"
#include "base/text_to_int.h"
#include "byte_order.h"
#include "file_io.h"
#include "text_cut.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

std::u16string g_defaultSectionName = u"LumiClock";

bool IsSeparator(std::uint8_t b) {
    return b == ' ' || b == '\t' || b == ',' || b == '=' || b == '\r' || b == '\n';
}

bool IsLineEnd(std::uint8_t b) {
    return b == '\r' || b == '\n';
}

struct Token {
    std::string text;
    bool quoted = false; // began with a double quote
};

// Splits the text form into tokens. In text that is not UTF-8 (the GBK
// code page of files brought from Windows), a lead byte takes the byte
// after it unexamined; UTF-8 never puts an ASCII byte inside a character.
class Tokenizer {
public:
    explicit Tokenizer(std::span<const std::uint8_t> bytes)
        : bytes_(bytes), doubleByte_(!IsValidUtf8(std::string_view(
                             reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {}

    Token Next() {
        SkipSeparatorsAndComments();
        Token token;
        token.quoted = pos_ < bytes_.size() && bytes_[pos_] == '"';
        bool quoting = false;
        bool full = false;
        while (pos_ < bytes_.size()) {
            std::uint8_t b = bytes_[pos_];
            if (b == '"') {
                quoting = !quoting;
                ++pos_;
                continue;
            }
            if (IsLineEnd(b) || (!quoting && IsSeparator(b))) {
                break;
            }
            std::size_t width = doubleByte_ && b >= 0x81 && pos_ + 1 < bytes_.size() ? 2 : 1;
            full = full || token.text.size() + width > CMGDataBase::kMaxText;
            if (!full) {
                token.text.append(reinterpret_cast<const char*>(&bytes_[pos_]), width);
            }
            pos_ += width;
        }
        if (!doubleByte_) {
            token.text.resize(CutUtf8(token.text, CMGDataBase::kMaxText).size());
        }
        return token;
    }

private:
    void SkipSeparatorsAndComments() {
        while (pos_ < bytes_.size()) {
            if (IsSeparator(bytes_[pos_])) {
                ++pos_;
            } else if (bytes_[pos_] == ';') {
                while (pos_ < bytes_.size() && !IsLineEnd(bytes_[pos_])) {
                    ++pos_;
                }
            } else {
                break;
            }
        }
    }

    std::span<const std::uint8_t> bytes_;
    bool doubleByte_;
    std::size_t pos_ = 0;
};

std::u16string Convert(std::string_view ansi) {
    return std::u16string(CutUnits(AnsiToUtf16(ansi), CMGDataBase::kMaxText));
}

// The decimal value of a float token: sign, digits with an optional
// fraction, an optional exponent, up to the first byte that does not fit
// (the trailing f); no digits give 0. Rounded to single precision.
float ParseFloat(std::string_view token) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    auto digitAt = [&](std::size_t at) {
        return at < token.size() && token[at] >= '0' && token[at] <= '9';
    };
    std::size_t start = i;
    // The power of ten of the first non-zero digit, to tell an underflow
    // from an overflow when the value is out of range.
    int magnitude = 0;
    bool nonZero = false;
    std::size_t digits = 0;
    for (; digitAt(i); ++i, ++digits) {
        nonZero = nonZero || token[i] != '0';
        magnitude += nonZero ? 1 : 0;
    }
    if (i < token.size() && token[i] == '.') {
        for (++i; digitAt(i); ++i, ++digits) {
            magnitude -= nonZero ? 0 : 1;
            nonZero = nonZero || token[i] != '0';
        }
    }
    if (digits == 0) {
        return negative ? -0.0f : 0.0f;
    }
    int exponent = 0;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        std::size_t e = i + 1;
        e += e < token.size() && (token[e] == '+' || token[e] == '-') ? 1 : 0;
        if (digitAt(e)) {
            exponent = TextToInt(token.substr(i + 1));
            for (i = e; digitAt(i); ++i) {
            }
        }
    }
    double value = 0;
    if (std::from_chars(token.data() + start, token.data() + i, value).ec ==
        std::errc::result_out_of_range) {
        value = static_cast<long long>(magnitude) + exponent <= 0
                    ? 0.0
                    : std::numeric_limits<double>::infinity();
    }
    value = negative ? -value : value;
    // Past the largest float, IEEE rounding: up to half a unit in the last
    // place above it still rounds to it.
    constexpr double kLargest = std::numeric_limits<float>::max();
    constexpr double kOverflow = kLargest + 0x1p103;
    if (std::fabs(value) > kLargest) {
        float limit = std::fabs(value) < kOverflow ? std::numeric_limits<float>::max()
                                                   : std::numeric_limits<float>::infinity();
        return negative ? -limit : limit;
    }
    return static_cast<float>(value);
}

CMGDataBase::Value ValueOf(const Token& token) {
    CMGDataBase::Value value;
    const std::string& text = token.text;
    char first = text.empty() ? '\0' : text.front();
    bool numeric = (first >= '0' && first <= '9') || first == '+' || first == '-' || first == '.';
    if (token.quoted || !numeric) {
        value.type = CMGDataBase::kString;
        value.text = Convert(text);
    } else if (text.back() == 'f') {
        value.type = CMGDataBase::kFloat;
        value.bits = std::bit_cast<std::uint32_t>(ParseFloat(text));
    } else {
        value.type = CMGDataBase::kInt;
        value.bits = static_cast<std::uint32_t>(TextToInt(std::string_view(text)));
    }
    return value;
}

// Reads the binary form front to back; every read first asks for room.
class BoundedReader {
public:
    explicit BoundedReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Has(std::size_t n) const { return bytes_.size() - pos_ >= n; }
    void Skip(std::size_t n) { pos_ += n; }
    std::uint8_t U8() { return bytes_[pos_++]; }
    std::uint32_t U32() {
        std::uint32_t v = LoadLe32(&bytes_[pos_]);
        pos_ += 4;
        return v;
    }
    std::string_view Bytes(std::size_t n) {
        std::string_view v(reinterpret_cast<const char*>(&bytes_[pos_]), n);
        pos_ += n;
        return v;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// A length field: 0 or less means no bytes.
std::size_t LengthOf(std::uint32_t field) {
    auto length = static_cast<std::int32_t>(field);
    return length <= 0 ? 0 : static_cast<std::size_t>(length);
}

// One text line of Save, ending in CR LF and cut to kMaxText bytes: the key
// gives way first to the value (a number is never cut), then a string
// value to what is left.
std::string FormatLine(const std::u16string& key, const CMGDataBase::Value& value) {
    constexpr std::size_t kBudget = CMGDataBase::kMaxText - 3; // '=' and CR LF
    std::string ansiKey = Utf16ToAnsi(key);
    if (value.type == CMGDataBase::kString) {
        std::string_view cutKey = CutUtf8(ansiKey, kBudget - 2);
        std::string text = Utf16ToAnsi(value.text);
        std::string_view cutText = CutUtf8(text, kBudget - 2 - cutKey.size());
        return std::string(cutKey) + "=\"" + std::string(cutText) + "\"\r\n";
    }
    char number[64];
    char* end = number;
    if (value.type == CMGDataBase::kInt) {
        end = std::to_chars(number, number + sizeof number, value.AsInt()).ptr;
    } else {
        end = std::to_chars(number, number + sizeof number - 1,
                            static_cast<double>(value.AsFloat()), std::chars_format::fixed, 4)
                  .ptr;
        *end++ = 'f';
    }
    std::string_view digits(number, static_cast<std::size_t>(end - number));
    return std::string(CutUtf8(ansiKey, kBudget - digits.size())) + "=" + std::string(digits) +
           "\r\n";
}

} // namespace

float CMGDataBase::Value::AsFloat() const {
    return std::bit_cast<float>(bits);
}

CMGDataBase::~CMGDataBase() {
    Clear();
}

void CMGDataBase::SetDefaultSectionName(std::u16string_view name) {
    g_defaultSectionName = name;
}

void CMGDataBase::SetDefaultSection() {
    section_ = Utf16ToAnsi(g_defaultSectionName);
}

void CMGDataBase::Load(const std::uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0) {
        return;
    }
    std::span<const std::uint8_t> data(bytes, length);
    if (data[0] == '[') {
        LoadText(data);
    } else {
        LoadBinary(data);
    }
}

void CMGDataBase::LoadText(std::span<const std::uint8_t> bytes) {
    Tokenizer tokens(bytes);
    Token header = tokens.Next();
    section_ = header.text.size() >= 2 ? header.text.substr(1, header.text.size() - 2) : "";
    for (;;) {
        Token key = tokens.Next();
        if (key.text.empty()) {
            break;
        }
        entries_[Convert(key.text)] = ValueOf(tokens.Next());
    }
}

void CMGDataBase::LoadBinary(std::span<const std::uint8_t> bytes) {
    BoundedReader in(bytes);
    if (!in.Has(20)) {
        return;
    }
    in.Skip(8);
    std::uint32_t count = in.U32();
    in.Skip(4);
    std::size_t sectionLength = LengthOf(in.U32());
    if (!in.Has(sectionLength)) {
        return;
    }
    section_ = CutUtf8(in.Bytes(sectionLength), kMaxText);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!in.Has(6)) {
            return;
        }
        std::uint8_t type = in.U8();
        in.Skip(1);
        std::size_t keyLength = LengthOf(in.U32());
        if (!in.Has(keyLength)) {
            return;
        }
        std::u16string key = Convert(in.Bytes(keyLength));
        Value value;
        if (type == kInt || type == kFloat || type == kString) {
            if (!in.Has(4)) {
                return;
            }
            value.type = type;
            value.bits = in.U32();
            if (type == kString) {
                std::size_t textLength = value.bits & 0xFFFF;
                if (!in.Has(textLength)) {
                    return;
                }
                value.bits = 0;
                value.text = Convert(in.Bytes(textLength));
            }
        }
        entries_[std::move(key)] = std::move(value);
    }
}

int CMGDataBase::Save(const char16_t* path) const {
    if (path == nullptr) {
        return 0;
    }
    std::string text = "[" + section_ + "]\r\n";
    for (const auto& [key, value] : entries_) {
        if (value.type != kNone) {
            text += FormatLine(key, value);
        }
    }
    return WriteFileAtomically(NativePath(path), text) ? 1 : 0;
}

int CMGDataBase::GetInt(const char16_t* key, int defaultValue) const {
    if (key == nullptr) {
        return defaultValue;
    }
    auto it = entries_.find(key);
    if (it == entries_.end() || (it->second.type != kInt && it->second.type != kFloat)) {
        return defaultValue;
    }
    return it->second.AsInt();
}

const char16_t* CMGDataBase::GetString(const char16_t* key) const {
    if (key != nullptr) {
        auto it = entries_.find(key);
        if (it != entries_.end() && it->second.type == kString) {
            return it->second.text.c_str();
        }
    }
    return u"";
}

void CMGDataBase::SetInt(const char16_t* key, int value) {
    if (key == nullptr) {
        return;
    }
    entries_[key] = Value{kInt, static_cast<std::uint32_t>(value), {}};
}

void CMGDataBase::SetFloat(const char16_t* key, float value) {
    if (key == nullptr) {
        return;
    }
    entries_[key] = Value{kFloat, std::bit_cast<std::uint32_t>(value), {}};
}

void CMGDataBase::SetString(const char16_t* key, const char16_t* text) {
    if (key == nullptr) {
        return;
    }
    entries_[key] = Value{kString, 0, text == nullptr ? std::u16string() : std::u16string(text)};
}

void CMGDataBase::Clear() {
    entries_.clear();
    section_.clear();
}
