// The IDX2 archive: one contiguous byte block holding a 32-byte header, a
// 256-bucket index, a table of 48-byte entries sorted by name and the
// entries' bytes. All integers are little-endian.
//
//   0   "IDX2", u16 version 0x0201, u16 entry count n, u32 total size,
//       u32 data offset (32 + 1024 + 48 n), 16-byte maker name (NUL-padded
//       ASCII: the key of scrambling method 3)
//   32  256 buckets of {u16 first entry, u16 entry count}: bucket b holds
//       the names whose first UTF-16 code unit has low byte b
//   1056  n entries of {u32 offset, u32 size, u32 method, u32 reserved,
//         32-byte NUL-terminated ANSI name without a folder part}
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kArchiveHeaderSize = 32;
inline constexpr std::size_t kArchiveBucketCount = 256;
inline constexpr std::size_t kArchiveBucketTableSize = kArchiveBucketCount * 4;
inline constexpr std::size_t kArchiveEntrySize = 48;
inline constexpr std::size_t kArchiveNameSize = 32;
inline constexpr std::size_t kArchiveMakerSize = 16;
inline constexpr std::uint16_t kArchiveVersion = 0x0201;

// Scrambling methods, in the low 4 bits of an entry's method field.
enum ArchiveMethod : std::uint32_t {
    kArchivePlain = 0,
    kArchiveKeyStream = 1, // XOR with the key stream started from size / 8
    kArchiveXorAA = 2,     // every byte XOR 0xAA
    kArchiveBlowfish = 3,  // Blowfish ECB under the maker name
};

struct ArchiveEntry {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t method = 0;
    std::uint32_t reserved = 0;
    char name[kArchiveNameSize] = {};

    std::uint32_t Method() const { return method & 0xF; }
    // The stored name, up to its NUL or all 32 bytes when it has none.
    std::string_view Name() const;
};

// The bucket a name is filed under: the low byte of its first UTF-16 code
// unit.
std::uint8_t ArchiveBucketOf(std::u16string_view name);

// One file to pack. name is the file name as UTF-16.
struct ArchiveSource {
    std::u16string name;
    std::vector<std::uint8_t> bytes;
    std::uint32_t method = kArchivePlain;
};

struct BuiltArchive {
    std::vector<std::uint8_t> bytes;
    std::string error; // empty on success
};

// Writes an archive of the sources, each scrambled with its method. Entries
// are ordered by bucket and, within a bucket, by the bytes of their ANSI
// names, so each bucket's entries are contiguous (for names that start with
// an ASCII character this is plain byte order). Fails on a name whose ANSI
// form is empty or needs 32 bytes or more, on two equal names, on a maker
// name longer than 16 bytes, and on more than 65535 entries or 4 GiB.
BuiltArchive BuildArchive(std::vector<ArchiveSource> sources, std::string_view maker);
