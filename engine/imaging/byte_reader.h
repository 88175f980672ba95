// A bounded little-endian reader: every read first checks that the bytes
// are there, so a short or inconsistent file ends a decoder instead of
// reading past it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The bytes [offset, offset + length) cut to what exists.
    ByteReader Slice(std::size_t offset, std::size_t length) const {
        offset = std::min(offset, size_);
        return ByteReader(data_ + offset, std::min(length, size_ - offset));
    }

    std::size_t Size() const { return size_; }
    std::size_t Remaining() const { return size_ - pos_; }
    const std::uint8_t* Data() const { return data_; }
    const std::uint8_t* Here() const { return data_ + pos_; }

    bool U8(std::uint32_t& value) {
        if (pos_ >= size_) {
            return false;
        }
        value = data_[pos_++];
        return true;
    }
    bool U16(std::uint32_t& value) { return Number(2, value); }
    bool U32(std::uint32_t& value) { return Number(4, value); }

    // n bytes at once, or null (and nothing consumed) when fewer are left.
    const std::uint8_t* Take(std::size_t n) {
        if (n > Remaining()) {
            return nullptr;
        }
        const std::uint8_t* at = data_ + pos_;
        pos_ += n;
        return at;
    }

    bool Skip(std::size_t n) { return Take(n) != nullptr; }

private:
    bool Number(int bytes, std::uint32_t& value) {
        const std::uint8_t* at = Take(std::size_t(bytes));
        if (at == nullptr) {
            return false;
        }
        value = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            value = value << 8 | at[i];
        }
        return true;
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

// Writes pixels (or plane bytes) in storage order and never more than the
// picture holds.
template <typename T> class OutputRun {
public:
    OutputRun(T* out, std::size_t total) : out_(out), total_(total) {}

    bool Full() const { return pos_ >= total_; }
    std::size_t Written() const { return pos_; }

    void Put(T value) {
        if (pos_ < total_) {
            out_[pos_++] = value;
        }
    }
    void Repeat(T value, std::size_t count) {
        count = std::min(count, total_ - pos_);
        std::fill_n(out_ + pos_, count, value);
        pos_ += count;
    }

private:
    T* out_;
    std::size_t total_;
    std::size_t pos_ = 0;
};
