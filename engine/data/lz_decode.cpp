#include "lz_decode.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// One token loop over a bounded input and a bounded output. Every step
// checks before it reads or writes; a failed check ends the stream.
class LzStream {
public:
    LzStream(const std::uint8_t* src, std::uint32_t srcSize, std::uint8_t* out,
             std::uint32_t expected)
        : src_(src), srcSize_(srcSize), out_(out), expected_(expected) {}

    bool Done() const { return outPos_ >= expected_; }
    std::uint32_t Produced() const { return outPos_; }

    bool Byte(std::uint32_t& value) {
        if (inPos_ >= srcSize_) {
            return false;
        }
        value = src_[inPos_++];
        return true;
    }

    bool Word(std::uint32_t& value) {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        if (!Byte(low) || !Byte(high)) {
            return false;
        }
        value = low | high << 8;
        return true;
    }

    // Copies n input bytes; as many as both ends allow before failing.
    bool Literal(std::uint32_t n) {
        std::uint32_t room = expected_ - outPos_;
        std::uint32_t available = srcSize_ - inPos_;
        std::uint32_t count = std::min({n, room, available});
        std::memcpy(out_ + outPos_, src_ + inPos_, count);
        outPos_ += count;
        inPos_ += count;
        return count == n;
    }

    // Byte by byte, front to back: a distance below the length repeats the
    // last bytes. A zero length copies nothing whatever its distance.
    bool Match(std::uint32_t distance, std::uint32_t length) {
        if (length == 0) {
            return true;
        }
        if (distance == 0 || distance > outPos_) {
            return false;
        }
        std::uint32_t count = std::min(length, expected_ - outPos_);
        std::uint8_t* to = out_ + outPos_;
        const std::uint8_t* from = to - distance;
        for (std::uint32_t i = 0; i < count; ++i) {
            to[i] = from[i];
        }
        outPos_ += count;
        return count == length;
    }

private:
    const std::uint8_t* src_;
    std::uint32_t srcSize_;
    std::uint32_t inPos_ = 1; // after the method byte
    std::uint8_t* out_;
    std::uint32_t expected_;
    std::uint32_t outPos_ = 0;
};

bool Method1Token(LzStream& s) {
    std::uint32_t t = 0;
    std::uint32_t distance = 0;
    if (!s.Byte(t)) {
        return false;
    }
    if (t <= 7) {
        return s.Literal(t + 1);
    }
    return s.Byte(distance) && s.Match(distance, t - 7);
}

// After the escape: an optional long literal, then one long match or one
// medium literal run.
bool Method2Escape(LzStream& s) {
    std::uint32_t c = 0;
    if (!s.Byte(c)) {
        return false;
    }
    if (c == 4) {
        std::uint32_t n = 0;
        if (!s.Word(n) || !s.Literal(n) || !s.Byte(c)) {
            return false;
        }
    }
    if (c >= 8) {
        return s.Literal(c);
    }
    std::uint32_t low = 0;
    std::uint32_t length = 0;
    if (!s.Byte(low) || !s.Byte(length)) {
        return false;
    }
    if (length == 0 && !s.Word(length)) {
        return false;
    }
    return s.Match((c & 3) << 8 | low, length);
}

bool Method2Token(LzStream& s) {
    std::uint32_t t = 0;
    std::uint32_t distance = 0;
    if (!s.Byte(t)) {
        return false;
    }
    if (t <= 7) {
        return s.Literal(t + 1);
    }
    if (t == 8) {
        return Method2Escape(s);
    }
    return s.Byte(distance) && s.Match(distance, t - 7);
}

bool Method3Token(LzStream& s) {
    std::uint32_t c = 0;
    if (!s.Byte(c)) {
        return false;
    }
    if (c < 0x40) {
        return s.Literal((c & 0x3F) + 1);
    }
    std::uint32_t next = 0;
    if (c < 0x80) {
        return s.Byte(next) && s.Literal((c & 0x3F) << 8 | next);
    }
    std::uint32_t distance = c & 0x1F;
    if ((c & 0x40) != 0) {
        if (!s.Byte(next)) {
            return false;
        }
        distance = distance << 8 | next;
    }
    std::uint32_t length = 0;
    bool haveLength = (c & 0x20) != 0 ? s.Word(length) : s.Byte(length);
    return haveLength && s.Match(distance, length);
}

} // namespace

CLZDecode::~CLZDecode() {
    ReleaseOwned();
}

void CLZDecode::ReleaseOwned() {
    if (ownsOutput_ != 0) {
        delete[] output_;
    }
    output_ = nullptr;
    ownsOutput_ = 0;
}

std::uint32_t CLZDecode::Decode(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t srcSize,
                                std::uint32_t expected) {
    ReleaseOwned();
    bool (*token)(LzStream&) = nullptr;
    std::uint8_t method = srcSize > 0 ? src[0] : 0;
    switch (method) {
    case 1:
        token = Method1Token;
        break;
    case 2:
        token = Method2Token;
        break;
    case 3:
        token = Method3Token;
        break;
    default:
        return 0;
    }
    if (dst == nullptr) {
        dst = new (std::nothrow) std::uint8_t[expected]();
        if (dst == nullptr) {
            return 0;
        }
        ownsOutput_ = 1;
    }
    output_ = dst;
    LzStream stream(src, srcSize, dst, expected);
    bool wellFormed = true;
    while (wellFormed && !stream.Done()) {
        wellFormed = token(stream);
    }
    produced_ = stream.Produced();
    return wellFormed ? expected : 0;
}
