#include "file_io.h"

#include "base/text16.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string NativePath(std::u16string_view path) {
    return Utf16ToUtf8(path);
}

namespace {

// Closes the descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a write must replace: the path itself, or where its symbolic
// link points.
std::string WriteTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) {
            return resolved;
        }
    }
    return path;
}

} // namespace

std::optional<RegularFile> RegularFile::Open(const std::string& path) {
    // Non-blocking, so that opening a named pipe cannot hang.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    return RegularFile(fd, static_cast<std::uint64_t>(info.st_size));
}

RegularFile::RegularFile(RegularFile&& other) noexcept : fd_(other.fd_), size_(other.size_) {
    other.fd_ = -1;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t RegularFile::ReadHead(std::uint8_t* out, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path) {
    auto file = RegularFile::Open(path);
    if (!file || file->Size() > SIZE_MAX / 2) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file->Size()));
    bytes.resize(file->ReadHead(bytes.data(), bytes.size()));
    return bytes;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         unsigned newFileMode) {
    if (path.empty()) {
        return false;
    }
    std::string target = WriteTarget(path);
    std::string temporary = target + ".tmp-XXXXXX";
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC)); // mode 0600
    if (fd.Get() < 0) {
        return false;
    }
    struct stat old {};
    bool ok = true;
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            ok = false;
        } else {
            ok = ::fchmod(fd.Get(), old.st_mode & 07777) == 0;
        }
    } else if (newFileMode != 0600) {
        ok = ::fchmod(fd.Get(), newFileMode & 07777) == 0;
    }
    ok = ok && WriteAll(fd.Get(), bytes.data(), bytes.size());
    ok = ok && ::fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable; a folder that cannot be synced does
    // not undo a write that has already replaced the file.
    FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) {
        ::fsync(folder.Get());
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned newFileMode) {
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        newFileMode);
}
