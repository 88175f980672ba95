// The scrambling primitives shared by the archive and the scrambled table
// container: a byte key stream, CRC-16/CCITT-FALSE and Blowfish in ECB mode
// with little-endian block halves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// XORs each byte with bits 16-23 of a linear congruential state
// (state = state * 214013 + 2531011, advanced before every byte) that
// starts at start. Applying it twice restores the bytes.
void ApplyKeyStream(std::uint32_t start, std::span<std::uint8_t> bytes);

// Polynomial 0x1021, initial value 0xFFFF, most significant bit first, no
// reflection, no final XOR: "123456789" gives 0x29B1, no bytes 0xFFFF.
std::uint16_t Crc16CcittFalse(std::span<const std::uint8_t> bytes);

// A Blowfish key schedule. An 8-byte block is two 32-bit halves, left =
// bytes 0-3 and right = bytes 4-7, each in little-endian byte order, so the
// results differ from the usual big-endian test vectors.
class BlowfishKey {
public:
    static constexpr std::size_t kBlockSize = 8;

    // The standard schedule. The key bytes are taken cyclically, four at a
    // time, into the big-endian words XOR-ed into the P-array, so a short
    // key repeats ("ab" acts as "abab..."), and an empty key leaves the
    // P-array as it starts before the all-zero block is enciphered over it.
    explicit BlowfishKey(std::span<const std::uint8_t> key);

    // ECB over whole blocks only: bytes past the last whole 8-byte block
    // are left as they are. Callers that need padding make room for it.
    void Encipher(std::span<std::uint8_t> bytes) const;
    void Decipher(std::span<std::uint8_t> bytes) const;

    void EncipherBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecipherBlock(std::uint32_t& left, std::uint32_t& right) const;

private:
    std::uint32_t F(std::uint32_t x) const;

    std::uint32_t p_[18];
    std::uint32_t s_[4][256];
};
