// Whole-file reads and crash-safe whole-file writes on the local file
// system. Engine paths are UTF-16; on disk they are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

std::string NativePath(std::u16string_view path);

// A regular file open for reading. Opening fails for anything that cannot
// be opened for reading or is not a regular file (a folder, a pipe, a
// device), so a read never blocks.
class RegularFile {
public:
    static std::optional<RegularFile> Open(const std::string& path);
    ~RegularFile();
    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&&) = delete;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    std::uint64_t Size() const { return size_; }
    // Reads up to n bytes from the start; returns how many were read (fewer
    // when the file shrank or a read failed).
    std::size_t ReadHead(std::uint8_t* out, std::size_t n);

private:
    RegularFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    int fd_;
    std::uint64_t size_;
};

// The bytes of a regular file, or nothing (see RegularFile).
std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path);

// Replaces the file with bytes so that a crash, a full disk or a failed
// write never leaves it truncated: the bytes go to a temporary file in the
// same folder, which is flushed to disk and renamed over the target. On
// any failure the temporary file is removed, the target keeps its old
// content and the result is false. A new file gets newFileMode (0600 unless
// given, as user data wants); an existing one keeps its mode. A symbolic
// link is written through to its target.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         unsigned newFileMode = 0600);
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         unsigned newFileMode = 0600);
