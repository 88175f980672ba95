#include "cipher.h"

#include "blowfish_tables.h"
#include "byte_order.h"

#include <algorithm>
#include <cstring>

void ApplyKeyStream(std::uint32_t start, std::span<std::uint8_t> bytes) {
    std::uint32_t state = start;
    for (std::uint8_t& byte : bytes) {
        state = state * 214013u + 2531011u;
        byte ^= static_cast<std::uint8_t>(state >> 16);
    }
}

std::uint16_t Crc16CcittFalse(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        crc ^= static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) != 0 ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                      : static_cast<std::uint16_t>(crc << 1);
        }
    }
    return crc;
}

BlowfishKey::BlowfishKey(std::span<const std::uint8_t> key) {
    std::memcpy(p_, kBlowfishInitialP, sizeof p_);
    std::memcpy(s_, kBlowfishInitialS, sizeof s_);
    if (!key.empty()) {
        std::size_t k = 0;
        for (std::uint32_t& word : p_) {
            std::uint32_t packed = 0;
            for (int i = 0; i < 4; ++i) {
                packed = packed << 8 | key[k];
                k = (k + 1) % key.size();
            }
            word ^= packed;
        }
    }
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    for (std::size_t i = 0; i < 18; i += 2) {
        EncipherBlock(left, right);
        p_[i] = left;
        p_[i + 1] = right;
    }
    for (auto& box : s_) {
        for (std::size_t i = 0; i < 256; i += 2) {
            EncipherBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

std::uint32_t BlowfishKey::F(std::uint32_t x) const {
    return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
}

void BlowfishKey::EncipherBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 0; i < 16; ++i) {
        l ^= p_[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[16];
    l ^= p_[17];
    left = l;
    right = r;
}

void BlowfishKey::DecipherBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 17; i > 1; --i) {
        l ^= p_[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[1];
    l ^= p_[0];
    left = l;
    right = r;
}

void BlowfishKey::Encipher(std::span<std::uint8_t> bytes) const {
    for (std::size_t at = 0; at + kBlockSize <= bytes.size(); at += kBlockSize) {
        std::uint32_t left = LoadLe32(&bytes[at]);
        std::uint32_t right = LoadLe32(&bytes[at + 4]);
        EncipherBlock(left, right);
        StoreLe32(&bytes[at], left);
        StoreLe32(&bytes[at + 4], right);
    }
}

void BlowfishKey::Decipher(std::span<std::uint8_t> bytes) const {
    for (std::size_t at = 0; at + kBlockSize <= bytes.size(); at += kBlockSize) {
        std::uint32_t left = LoadLe32(&bytes[at]);
        std::uint32_t right = LoadLe32(&bytes[at + 4]);
        DecipherBlock(left, right);
        StoreLe32(&bytes[at], left);
        StoreLe32(&bytes[at + 4], right);
    }
}
