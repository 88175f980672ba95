#include "archive.h"

#include "base/ansi_text.h"
#include "byte_order.h"
#include "cipher.h"

#include <algorithm>
#include <cstring>
#include <tuple>

std::string_view ArchiveEntry::Name() const {
    std::size_t length = 0;
    while (length < kArchiveNameSize && name[length] != 0) {
        ++length;
    }
    return std::string_view(name, length);
}

std::uint8_t ArchiveBucketOf(std::u16string_view name) {
    return name.empty() ? 0 : static_cast<std::uint8_t>(name.front() & 0xFF);
}

namespace {

struct PackedEntry {
    std::uint8_t bucket;
    std::string ansiName;
    ArchiveSource* source;
};

BuiltArchive Failure(std::string message) {
    return BuiltArchive{{}, std::move(message)};
}

void Scramble(std::uint32_t method, std::vector<std::uint8_t>& bytes, const BlowfishKey& key) {
    switch (method & 0xF) {
    case kArchiveKeyStream:
        ApplyKeyStream(static_cast<std::uint32_t>(bytes.size()) / 8, bytes);
        break;
    case kArchiveXorAA:
        for (std::uint8_t& b : bytes) {
            b ^= 0xAA;
        }
        break;
    case kArchiveBlowfish:
        key.Encipher(bytes); // trailing bytes past the last whole block stay plain
        break;
    default:
        break;
    }
}

} // namespace

BuiltArchive BuildArchive(std::vector<ArchiveSource> sources, std::string_view maker) {
    if (maker.size() > kArchiveMakerSize || maker.find('\0') != std::string_view::npos) {
        return Failure("maker name longer than 16 bytes or holding a NUL");
    }
    if (sources.size() > 0xFFFF) {
        return Failure("more than 65535 entries");
    }
    std::vector<PackedEntry> packed;
    packed.reserve(sources.size());
    for (ArchiveSource& source : sources) {
        std::string ansi = Utf16ToAnsi(source.name);
        if (ansi.empty() || ansi.size() >= kArchiveNameSize ||
            ansi.find('\0') != std::string::npos) {
            return Failure("name \"" + ansi + "\" is empty or needs 32 bytes or more");
        }
        packed.push_back(PackedEntry{ArchiveBucketOf(source.name), std::move(ansi), &source});
    }
    std::sort(packed.begin(), packed.end(), [](const PackedEntry& a, const PackedEntry& b) {
        return std::tie(a.bucket, a.ansiName) < std::tie(b.bucket, b.ansiName);
    });
    for (std::size_t i = 1; i < packed.size(); ++i) {
        if (packed[i].ansiName == packed[i - 1].ansiName) {
            return Failure("name \"" + packed[i].ansiName + "\" appears twice");
        }
    }

    std::size_t dataOffset =
        kArchiveHeaderSize + kArchiveBucketTableSize + packed.size() * kArchiveEntrySize;
    std::uint64_t total = dataOffset;
    for (const PackedEntry& entry : packed) {
        total += entry.source->bytes.size();
    }
    if (total > UINT32_MAX) {
        return Failure("archive larger than 4 GiB");
    }

    std::vector<std::uint8_t> out(dataOffset);
    std::memcpy(out.data(), "IDX2", 4);
    StoreLe16(&out[4], kArchiveVersion);
    StoreLe16(&out[6], static_cast<std::uint16_t>(packed.size()));
    StoreLe32(&out[8], static_cast<std::uint32_t>(total));
    StoreLe32(&out[12], static_cast<std::uint32_t>(dataOffset));
    std::memcpy(&out[16], maker.data(), maker.size());
    BlowfishKey key(std::span(&out[16], maker.size()));

    out.reserve(static_cast<std::size_t>(total));
    for (std::size_t i = 0; i < packed.size(); ++i) {
        std::uint8_t* bucket = &out[kArchiveHeaderSize + 4 * packed[i].bucket];
        if (LoadLe16(bucket + 2) == 0) {
            StoreLe16(bucket, static_cast<std::uint16_t>(i));
        }
        StoreLe16(bucket + 2, static_cast<std::uint16_t>(LoadLe16(bucket + 2) + 1));

        std::vector<std::uint8_t>& bytes = packed[i].source->bytes;
        Scramble(packed[i].source->method, bytes, key);
        std::size_t at = kArchiveHeaderSize + kArchiveBucketTableSize + i * kArchiveEntrySize;
        StoreLe32(&out[at], static_cast<std::uint32_t>(out.size()));
        StoreLe32(&out[at + 4], static_cast<std::uint32_t>(bytes.size()));
        StoreLe32(&out[at + 8], packed[i].source->method & 0xF);
        std::memcpy(&out[at + 16], packed[i].ansiName.data(), packed[i].ansiName.size());
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return BuiltArchive{std::move(out), {}};
}
