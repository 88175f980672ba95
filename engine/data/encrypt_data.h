// The scrambled table container: a table's ANSI text XOR-ed with the key
// stream, guarded by a CRC-16 and enciphered with Blowfish under a 16-byte
// key carried in the header. All integers little-endian:
//
//   0   magic 0x4E454C00 (bytes 00 4C 45 4E), u16 version 0x0100,
//       u16 reserved 0, u16 seed, u16 check value (CRC-16 of the data after
//       the XOR and before enciphering), u32 length (a multiple of 8)
//   16  the 16-byte Blowfish key
//   32  length enciphered bytes
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CMGEncryptData {
public:
    static constexpr std::size_t kHeaderSize = 32;
    static constexpr std::uint32_t kMagic = 0x4E454C00;
    static constexpr std::uint16_t kVersion = 0x0100;

    CMGEncryptData() = default;
    virtual ~CMGEncryptData() = default;

    // Reads a container from a file's bytes. 0, and no text, when the bytes
    // are shorter than the header or than the header and length data bytes,
    // or when the check value does not match.
    int Open(std::span<const std::uint8_t> file);
    // After Open: the text, zero-padded to a multiple of 8 bytes.
    std::span<const std::uint8_t> Text() const { return data_; }

    // Builds a container around text: padded with zero bytes to a multiple
    // of 8, seeded from the process's pseudo-random sequence, keyed by the
    // path text (its last 8 UTF-16 units, or all of a shorter path, as
    // little-endian bytes, zero-padded to 16 bytes). Returns the file bytes.
    std::vector<std::uint8_t> Seal(std::string_view text, std::u16string_view pathText);
    // Seal, then write the file atomically. 1, or 0 when it cannot be written.
    int Save(const char16_t* path, std::string_view text);

    std::uint32_t magic = 0;
    std::uint16_t version = 0;
    std::uint16_t reserved = 0;
    std::uint16_t seed = 0;
    std::uint16_t checkValue = 0;
    std::uint32_t length = 0;
    std::uint8_t key[16] = {};

private:
    void ReadHeader(const std::uint8_t* bytes);
    void WriteHeader(std::uint8_t* bytes) const;

    std::vector<std::uint8_t> data_;
};
