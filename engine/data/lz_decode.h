// Expands the LZ blocks of MG01 pictures. A block starts with its method
// byte (1, 2 or 3) and carries neither its length nor an end marker: the
// caller knows how many bytes the expansion yields and passes that in.
#pragma once

#include <cstdint>

class CLZDecode {
public:
    CLZDecode() = default;
    virtual ~CLZDecode();
    CLZDecode(const CLZDecode&) = delete;
    CLZDecode& operator=(const CLZDecode&) = delete;

    // Expands src (srcSize bytes) into expected bytes at dst, or into a block
    // of its own (zero-filled, released with the decoder) when dst is null.
    // Returns expected once the stream filled it. An unknown method returns 0
    // and keeps no output. A stream that ends early, reaches before the start
    // of the output or would pass expected stops there and returns 0; what it
    // produced up to then stays in the output, and nothing is ever written
    // past expected bytes.
    std::uint32_t Decode(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t srcSize,
                         std::uint32_t expected);

    std::uint8_t* Output() const { return output_; }
    std::uint32_t Produced() const { return produced_; }

private:
    void ReleaseOwned();

    std::uint8_t* output_ = nullptr;
    std::uint32_t produced_ = 0;
    int ownsOutput_ = 0;
};
