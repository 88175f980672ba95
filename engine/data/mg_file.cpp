#include "mg_file.h"

#include "base/ansi_text.h"
#include "base/format16.h"
#include "byte_order.h"
#include "file_io.h"
#include "platform/platform.h"
#include "profile.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>

// The archive blob that lumi_embed_archive links into an executable. The
// references are weak, so a program without a blob links and its lookups
// find no archive.
extern "C" {
extern const std::uint8_t lumi_archivex_begin[] __attribute__((weak));
extern const std::uint8_t lumi_archivex_end[] __attribute__((weak));
extern const std::uint16_t lumi_archivex_id __attribute__((weak));
}

namespace {

CMGFile* g_service = nullptr;

std::u16string_view View(const char16_t* text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

// mkdir with the Win32 outcome: created or already there counts as success.
bool MakeFolder(std::u16string_view path) {
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') {
        native.pop_back();
    }
    return ::mkdir(native.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

CMGFile::CMGFile() {
    std::u16string path = Sys().ExecutablePath();
    if (path.size() >= kPathUnits) {
        path.resize(kPathUnits - 1);
    }
    // The folder keeps its trailing separator; without one the whole path
    // is the file name.
    std::size_t slash = path.rfind(u'/');
    std::size_t nameStart = slash == std::u16string::npos ? 0 : slash + 1;
    CopyBounded(programFolder_, std::u16string_view(path).substr(0, nameStart));
    std::u16string_view fileName = std::u16string_view(path).substr(nameStart);
    // Linux programs have no extension as a rule; one that has one (a
    // trailing ".exe" brought from elsewhere) loses it.
    std::size_t dot = fileName.rfind(u'.');
    if (dot != std::u16string_view::npos && dot > 0) {
        fileName = fileName.substr(0, dot);
    }
    CopyBounded(appName_, fileName);
    Format16To(programIni_, u"%s%s.ini",
               {std::u16string_view(programFolder_), std::u16string_view(appName_)});
    CopyBounded(settingsIni_, programIni_);
    if (g_service == nullptr) {
        g_service = this;
    }
}

CMGFile::~CMGFile() {
    if (g_service == this) {
        g_service = nullptr;
    }
}

CMGFile* CMGFile::Service() {
    return g_service;
}

int CMGFile::Init(HWND owner, HINSTANCE instance) {
    owner_ = owner;
    instance_ = instance;
    if (std::setlocale(LC_ALL, "ja_JP.UTF-8") == nullptr) {
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    if (saveFolder_[0] == 0) {
        MakeSaveFolder();
    }
    Format16To(settingsIni_, u"%s%s.ini",
               {std::u16string_view(saveFolder_), std::u16string_view(appName_)});
    OpenEmbeddedArchive();
    return 1;
}

// --- Paths and settings ---------------------------------------------------

int CMGFile::MakeSaveFolder() {
    std::u16string folder = Sys().DataHome();
    std::error_code ignored;
    std::filesystem::create_directories(NativePath(folder), ignored);
    folder += u'/';

    char16_t company[kPathUnits] = {};
    GetPrivateProfileString(appName_, u"CompanyName", u"", company, kPathUnits, programIni_);
    std::u16string_view companyName(company);
    // A company name is one folder name: anything that would leave the data
    // home is not one.
    bool usable = companyName.size() >= 2 && companyName != u".." &&
                  companyName.find(u'/') == std::u16string_view::npos;
    if (usable && MakeFolder(folder + std::u16string(companyName))) {
        folder.append(companyName);
        folder += u'/';
    }

    folder.append(appName_);
    folder += u'/';
    if (folder.size() < kPathUnits && MakeFolder(folder)) {
        CopyBounded(saveFolder_, folder);
        return 1;
    }
    CopyBounded(saveFolder_, programFolder_);
    return 0;
}

int CMGFile::WriteSettingInt(int value, const char16_t* key) {
    std::u16string text = Format16(u"%d", {static_cast<long long>(value)});
    return WritePrivateProfileString(appName_, key, text.c_str(), settingsIni_);
}

// --- The archive -------------------------------------------------------------

int CMGFile::OpenEmbeddedArchive() {
    const std::uint8_t* begin = lumi_archivex_begin;
    const std::uint8_t* end = lumi_archivex_end;
    if (begin == nullptr || end == nullptr || end < begin) {
        return 0;
    }
    if (&lumi_archivex_id != nullptr) {
        archiveResourceId_ = lumi_archivex_id;
    }
    return OpenArchive(std::span(begin, end));
}

int CMGFile::OpenArchive(std::span<const std::uint8_t> bytes) {
    archive_ = {};
    buckets_.clear();
    entries_.clear();
    if (bytes.size() < kArchiveHeaderSize + kArchiveBucketTableSize) {
        return 0;
    }
    std::size_t count = LoadLe16(&bytes[6]);
    std::size_t tableStart = kArchiveHeaderSize + kArchiveBucketTableSize;
    if (bytes.size() - tableStart < count * kArchiveEntrySize) {
        return 0;
    }
    std::memcpy(header_, bytes.data(), kArchiveHeaderSize);
    buckets_.resize(kArchiveBucketCount * 2);
    for (std::size_t i = 0; i < buckets_.size(); ++i) {
        buckets_[i] = LoadLe16(&bytes[kArchiveHeaderSize + 2 * i]);
    }
    entries_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* at = &bytes[tableStart + i * kArchiveEntrySize];
        ArchiveEntry& entry = entries_[i];
        entry.offset = LoadLe32(at);
        entry.size = LoadLe32(at + 4);
        entry.method = LoadLe32(at + 8);
        entry.reserved = LoadLe32(at + 12);
        std::memcpy(entry.name, at + 16, kArchiveNameSize);
    }
    archive_ = bytes;
    if (!archiveKey_) {
        const std::uint8_t* maker = header_ + 16;
        std::size_t length = 0;
        while (length < kArchiveMakerSize && maker[length] != 0) {
            ++length;
        }
        archiveKey_ = std::make_unique<BlowfishKey>(std::span(maker, length));
    }
    return 1;
}

bool CMGFile::EntryInArchive(const ArchiveEntry& entry) const {
    return static_cast<std::uint64_t>(entry.offset) + entry.size <= archive_.size();
}

const ArchiveEntry* CMGFile::FindEntry(const char16_t* name) const {
    std::u16string_view request = View(name);
    if (request.empty() || !HasArchive() ||
        request.find_first_of(u"/\\") != std::u16string_view::npos) {
        return nullptr;
    }
    std::string ansi = Utf16ToAnsi(request);
    if (ansi.size() >= kArchiveNameSize) {
        return nullptr;
    }
    std::uint8_t bucket = ArchiveBucketOf(request);
    std::size_t first = buckets_[2 * bucket];
    std::size_t end = std::min<std::size_t>(first + buckets_[2 * bucket + 1], entries_.size());
    for (std::size_t i = first; i < end; ++i) {
        const ArchiveEntry& entry = entries_[i];
        if (entry.Name() == ansi) {
            return EntryInArchive(entry) ? &entry : nullptr;
        }
    }
    return nullptr;
}

void CMGFile::Descramble(const ArchiveEntry& entry, std::uint8_t* bytes, std::size_t length) const {
    switch (entry.Method()) {
    case kArchiveKeyStream:
        ApplyKeyStream(entry.size / 8, std::span(bytes, length));
        break;
    case kArchiveXorAA:
        for (std::size_t i = 0; i < length; ++i) {
            bytes[i] ^= 0xAA;
        }
        break;
    case kArchiveBlowfish:
        if (archiveKey_) {
            archiveKey_->Decipher(std::span(bytes, length));
        }
        break;
    default:
        break;
    }
}

void CMGFile::ReadEntry(const ArchiveEntry& entry, std::uint8_t* out, std::size_t n) const {
    std::size_t length = std::min<std::size_t>(n, entry.size);
    if (length == 0) {
        return;
    }
    const std::uint8_t* stored = archive_.data() + entry.offset;
    std::memcpy(out, stored, length);
    Descramble(entry, out, length);
    // A short read of a method-3 entry that ends inside one of the entry's
    // whole blocks: that block is deciphered whole and cut, so the bytes
    // match those of a whole read.
    std::size_t cut = length % BlowfishKey::kBlockSize;
    std::size_t blockStart = length - cut;
    if (entry.Method() == kArchiveBlowfish && cut != 0 &&
        blockStart + BlowfishKey::kBlockSize <= entry.size) {
        std::uint8_t block[BlowfishKey::kBlockSize];
        std::memcpy(block, stored + blockStart, sizeof block);
        Descramble(entry, block, sizeof block);
        std::memcpy(out + blockStart, block, cut);
    }
}

// --- Reading -------------------------------------------------------------------

void CMGFile::ReportMissing(const char16_t* path, const char16_t* archiveName) const {
    std::u16string_view shown = View(archiveName).empty() ? View(path) : View(archiveName);
    Sys().MessageBox(owner_, Format16(u"%s无法找到。", {shown}), u"Error", MB_OK);
}

std::uint8_t* CMGFile::ReadAll(const char16_t* path, const char16_t* archiveName, DWORD* size) {
    if (!View(path).empty()) {
        // Read errors are not checked: the block holds whatever was read.
        if (auto file = RegularFile::Open(NativePath(path)); file && file->Size() <= UINT32_MAX) {
            auto length = static_cast<DWORD>(file->Size());
            auto* block = new std::uint8_t[length]();
            file->ReadHead(block, length);
            if (size != nullptr) {
                *size = length;
            }
            return block;
        }
    }
    if (const ArchiveEntry* entry = FindEntry(archiveName)) {
        auto* block = new std::uint8_t[entry->size];
        ReadEntry(*entry, block, entry->size);
        if (size != nullptr) {
            *size = entry->size;
        }
        return block;
    }
    ReportMissing(path, archiveName);
    return nullptr;
}

std::uint8_t* CMGFile::ReadHead(const char16_t* path, const char16_t* archiveName, DWORD n) {
    if (!View(path).empty()) {
        if (auto file = RegularFile::Open(NativePath(path))) {
            auto* block = new std::uint8_t[n]();
            file->ReadHead(block, n);
            return block;
        }
    }
    if (const ArchiveEntry* entry = FindEntry(archiveName)) {
        auto* block = new std::uint8_t[n]();
        ReadEntry(*entry, block, n);
        return block;
    }
    ReportMissing(path, archiveName);
    return nullptr;
}

int CMGFile::Exists(const char16_t* path, const char16_t* archiveName) {
    if (!View(path).empty() && RegularFile::Open(NativePath(path))) {
        return 1;
    }
    return FindEntry(archiveName) != nullptr ? 1 : 0;
}

// --- Loaders by name -----------------------------------------------------------

void CMGFile::BuildPath(const char16_t* name, char16_t (&path)[kPathUnits]) const {
    Format16To(path, u"%s%s", {std::u16string_view(programFolder_), View(name)});
}

std::uint8_t* CMGFile::LoadFile(const char16_t* name, DWORD* size) {
    if (absolutePathMode) {
        return ReadAll(name, nullptr, size);
    }
    char16_t path[kPathUnits];
    BuildPath(name, path);
    return ReadAll(path, name, size);
}

std::uint8_t* CMGFile::LoadFileHead(const char16_t* name, DWORD n) {
    if (absolutePathMode) {
        return ReadHead(name, nullptr, n);
    }
    char16_t path[kPathUnits];
    BuildPath(name, path);
    return ReadHead(path, name, n);
}

int CMGFile::FileExists(const char16_t* name) {
    if (absolutePathMode) {
        return Exists(name, nullptr);
    }
    char16_t path[kPathUnits];
    BuildPath(name, path);
    return Exists(path, name);
}

std::uint8_t* CMGFile::LoadBitmapFile(const char16_t* name, int* width, int* height, DWORD* size) {
    DWORD loaded = 0;
    std::uint8_t* block = LoadFile(name, &loaded);
    int w = 0;
    int h = 0;
    if (block != nullptr && loaded >= 26) {
        w = static_cast<std::int32_t>(LoadLe32(block + 18));
        h = static_cast<std::int32_t>(LoadLe32(block + 22));
    }
    if (width != nullptr) {
        *width = w;
    }
    if (height != nullptr) {
        *height = h;
    }
    if (size != nullptr) {
        *size = block != nullptr ? loaded : 0;
    }
    return block;
}
