#include "encrypt_data.h"

#include "base/process_random.h"
#include "byte_order.h"
#include "cipher.h"
#include "file_io.h"

#include <algorithm>
#include <cstring>

namespace {

std::size_t RoundUpToBlock(std::size_t n) {
    return (n + BlowfishKey::kBlockSize - 1) / BlowfishKey::kBlockSize * BlowfishKey::kBlockSize;
}

} // namespace

void CMGEncryptData::ReadHeader(const std::uint8_t* bytes) {
    magic = LoadLe32(bytes);
    version = LoadLe16(bytes + 4);
    reserved = LoadLe16(bytes + 6);
    seed = LoadLe16(bytes + 8);
    checkValue = LoadLe16(bytes + 10);
    length = LoadLe32(bytes + 12);
    std::memcpy(key, bytes + 16, sizeof key);
}

void CMGEncryptData::WriteHeader(std::uint8_t* bytes) const {
    StoreLe32(bytes, magic);
    StoreLe16(bytes + 4, version);
    StoreLe16(bytes + 6, reserved);
    StoreLe16(bytes + 8, seed);
    StoreLe16(bytes + 10, checkValue);
    StoreLe32(bytes + 12, length);
    std::memcpy(bytes + 16, key, sizeof key);
}

int CMGEncryptData::Open(std::span<const std::uint8_t> file) {
    data_.clear();
    if (file.size() < kHeaderSize) {
        return 0;
    }
    ReadHeader(file.data());
    if (file.size() - kHeaderSize < length) {
        return 0;
    }
    // A length that is not a multiple of 8 is deciphered as whole blocks
    // over zero padding.
    std::vector<std::uint8_t> data(RoundUpToBlock(length));
    std::copy_n(file.begin() + kHeaderSize, length, data.begin());
    BlowfishKey(key).Decipher(data);
    if (Crc16CcittFalse(std::span(data.data(), length)) != checkValue) {
        return 0;
    }
    ApplyKeyStream(seed, data);
    data_ = std::move(data);
    return 1;
}

std::vector<std::uint8_t> CMGEncryptData::Seal(std::string_view text,
                                               std::u16string_view pathText) {
    data_.assign(text.begin(), text.end());
    data_.resize(RoundUpToBlock(data_.size()));

    std::memset(key, 0, sizeof key);
    std::u16string_view keyText = pathText.substr(pathText.size() > 8 ? pathText.size() - 8 : 0);
    for (std::size_t i = 0; i < keyText.size(); ++i) {
        StoreLe16(key + 2 * i, keyText[i]);
    }
    magic = kMagic;
    version = kVersion;
    reserved = 0;
    seed = static_cast<std::uint16_t>(NextRandom());
    length = static_cast<std::uint32_t>(data_.size());

    std::vector<std::uint8_t> file(kHeaderSize + data_.size());
    std::copy(data_.begin(), data_.end(), file.begin() + kHeaderSize);
    std::span<std::uint8_t> data(file.data() + kHeaderSize, data_.size());
    ApplyKeyStream(seed, data);
    checkValue = Crc16CcittFalse(data);
    BlowfishKey(key).Encipher(data);
    WriteHeader(file.data());
    return file;
}

int CMGEncryptData::Save(const char16_t* path, std::string_view text) {
    if (path == nullptr) {
        return 0;
    }
    std::u16string_view pathText(path);
    return WriteFileAtomically(NativePath(pathText), Seal(text, pathText)) ? 1 : 0;
}
