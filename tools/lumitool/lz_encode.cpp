#include "lz_encode.h"

#include <algorithm>
#include <array>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Match {
    std::size_t length = 0;
    std::size_t distance = 0;
};

struct MethodLimits {
    std::size_t maxDistance;
    std::size_t maxLength;
};

MethodLimits LimitsOf(int method) {
    switch (method) {
    case 1:
        return {255, 248};
    case 2:
        return {1023, 65535};
    default:
        return {8191, 65535};
    }
}

// Hash chains over three-byte prefixes: head holds the latest position of
// each hash, previous links every position to the one before it.
class MatchFinder {
public:
    MatchFinder(const std::uint8_t* data, std::size_t size, MethodLimits limits)
        : data_(data), size_(size), limits_(limits), previous_(size, kNone) {
        head_.fill(kNone);
    }

    // Adds positions up to (not including) end.
    void InsertUpTo(std::size_t end) {
        for (; inserted_ < end && inserted_ + 2 < size_; ++inserted_) {
            std::uint32_t h = Hash(inserted_);
            previous_[inserted_] = head_[h];
            head_[h] = inserted_;
        }
        inserted_ = std::max(inserted_, end);
    }

    // The longest match at pos (the nearest of equal length).
    Match Find(std::size_t pos) {
        InsertUpTo(pos);
        Match best;
        if (pos + 2 >= size_) {
            return best;
        }
        std::size_t maxLength = std::min(limits_.maxLength, size_ - pos);
        std::size_t candidate = head_[Hash(pos)];
        for (int depth = 0; depth < kMaxChain && candidate != kNone; ++depth) {
            std::size_t distance = pos - candidate;
            if (distance > limits_.maxDistance) {
                break;
            }
            std::size_t length = 0;
            while (length < maxLength && data_[candidate + length] == data_[pos + length]) {
                ++length;
            }
            if (length > best.length) {
                best = {length, distance};
                if (length >= std::min(maxLength, kGoodEnough)) {
                    break;
                }
            }
            candidate = previous_[candidate];
        }
        return best;
    }

private:
    static constexpr std::size_t kNone = ~std::size_t(0);
    static constexpr int kHashBits = 16;
    // Search limits: how many earlier positions to try, and a length past
    // which a match is taken without looking further.
    static constexpr int kMaxChain = 64;
    static constexpr std::size_t kGoodEnough = 192;

    std::uint32_t Hash(std::size_t pos) const {
        std::uint32_t v = data_[pos] | data_[pos + 1] << 8 | std::uint32_t(data_[pos + 2]) << 16;
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const std::uint8_t* data_;
    std::size_t size_;
    MethodLimits limits_;
    std::vector<std::size_t> previous_;
    std::array<std::size_t, std::size_t(1) << kHashBits> head_;
    std::size_t inserted_ = 0;
};

void PutWord(Bytes& out, std::size_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

// Token writers: each method's literal runs and matches.
class TokenWriter {
public:
    virtual ~TokenWriter() = default;
    virtual void Literals(const std::uint8_t* bytes, std::size_t n) = 0;
    virtual void Copy(Match match) = 0;
    // Shortest match worth a token.
    virtual std::size_t MinLength(std::size_t distance) const = 0;
    Bytes out;
};

class Method1Writer : public TokenWriter {
public:
    void Literals(const std::uint8_t* bytes, std::size_t n) override {
        for (std::size_t done = 0; done < n;) {
            std::size_t run = std::min<std::size_t>(8, n - done);
            out.push_back(std::uint8_t(run - 1));
            out.insert(out.end(), bytes + done, bytes + done + run);
            done += run;
        }
    }
    void Copy(Match match) override {
        out.push_back(std::uint8_t(match.length + 7));
        out.push_back(std::uint8_t(match.distance));
    }
    std::size_t MinLength(std::size_t) const override { return 3; }
};

class Method2Writer : public TokenWriter {
public:
    // Up to 8 bytes take one token byte, up to 255 two (after an escape),
    // longer runs a long literal, which always owes a second token: the
    // next match or run when one follows, else an empty long match.
    void Literals(const std::uint8_t* bytes, std::size_t n) override {
        std::size_t done = 0;
        while (n - done > 255) {
            PayOwedToken();
            std::size_t run = std::min<std::size_t>(65535, n - done);
            out.insert(out.end(), {8, 4});
            PutWord(out, run);
            out.insert(out.end(), bytes + done, bytes + done + run);
            done += run;
            owesToken_ = true;
        }
        std::size_t rest = n - done;
        if (rest == 0) {
            return;
        }
        if (owesToken_ && rest >= 8) {
            out.push_back(std::uint8_t(rest)); // a run of exactly rest bytes
            owesToken_ = false;
        } else {
            PayOwedToken();
            if (rest <= 8) {
                out.push_back(std::uint8_t(rest - 1));
            } else {
                out.insert(out.end(), {8, std::uint8_t(rest)});
            }
        }
        out.insert(out.end(), bytes + done, bytes + n);
    }
    void Copy(Match match) override {
        if (!owesToken_ && match.distance <= 255 && match.length <= 248) {
            out.push_back(std::uint8_t(match.length + 7));
            out.push_back(std::uint8_t(match.distance));
            return;
        }
        if (!owesToken_) {
            out.push_back(8);
        }
        LongMatch(match);
    }
    std::size_t MinLength(std::size_t distance) const override { return distance <= 255 ? 3 : 5; }
    void Finish() { PayOwedToken(); }

private:
    void PayOwedToken() {
        if (owesToken_) {
            LongMatch(Match{0, 0});
        }
    }
    // c holds the distance's high bits (0..3, never the 4 that would mean a
    // long literal), then the low byte, then a length byte or 0 and a u16.
    void LongMatch(Match match) {
        owesToken_ = false;
        out.push_back(std::uint8_t(match.distance >> 8));
        out.push_back(std::uint8_t(match.distance));
        if (match.length >= 1 && match.length <= 255) {
            out.push_back(std::uint8_t(match.length));
        } else {
            out.push_back(0);
            PutWord(out, match.length);
        }
    }

    bool owesToken_ = false;
};

class Method3Writer : public TokenWriter {
public:
    void Literals(const std::uint8_t* bytes, std::size_t n) override {
        for (std::size_t done = 0; done < n;) {
            std::size_t run = n - done;
            if (run <= 64) {
                out.push_back(std::uint8_t(run - 1));
            } else {
                run = std::min<std::size_t>(16383, run);
                out.push_back(std::uint8_t(0x40 | run >> 8));
                out.push_back(std::uint8_t(run));
            }
            out.insert(out.end(), bytes + done, bytes + done + run);
            done += run;
        }
    }
    void Copy(Match match) override {
        std::uint8_t c = 0x80;
        bool wide = match.distance > 0x1F;
        bool longLength = match.length > 255;
        c |= wide ? std::uint8_t(0x40 | match.distance >> 8) : std::uint8_t(match.distance);
        c |= longLength ? 0x20 : 0;
        out.push_back(c);
        if (wide) {
            out.push_back(std::uint8_t(match.distance));
        }
        if (longLength) {
            PutWord(out, match.length);
        } else {
            out.push_back(std::uint8_t(match.length));
        }
    }
    std::size_t MinLength(std::size_t distance) const override { return distance <= 0x1F ? 3 : 4; }
};

} // namespace

Bytes LzEncode(int method, const std::uint8_t* data, std::size_t size) {
    Method1Writer writer1;
    Method2Writer writer2;
    Method3Writer writer3;
    TokenWriter& writer = method == 1   ? static_cast<TokenWriter&>(writer1)
                          : method == 2 ? static_cast<TokenWriter&>(writer2)
                                        : static_cast<TokenWriter&>(writer3);
    writer.out.push_back(std::uint8_t(method));
    MatchFinder finder(data, size, LimitsOf(method));
    std::size_t literalStart = 0;
    std::size_t pos = 0;
    Match next = finder.Find(0);
    while (pos < size) {
        Match here = next;
        if (here.length < writer.MinLength(here.distance)) {
            ++pos;
            next = finder.Find(pos);
            continue;
        }
        // Lazy step: a longer match one byte on is worth a literal.
        next = pos + 1 < size ? finder.Find(pos + 1) : Match{};
        if (next.length > here.length + 1) {
            ++pos;
            continue;
        }
        writer.Literals(data + literalStart, pos - literalStart);
        writer.Copy(here);
        pos += here.length;
        literalStart = pos;
        next = pos < size ? finder.Find(pos) : Match{};
    }
    writer.Literals(data + literalStart, size - literalStart);
    if (method == 2) {
        writer2.Finish();
    }
    return writer.out;
}
