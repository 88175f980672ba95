// The engine's gateway to files: loose files in the program folder first,
// then the archive linked into the executable; it also owns the per-user
// save folder and settings file paths.
#pragma once

#include "archive.h"
#include "base/text16.h"
#include "cipher.h"
#include "platform/win32_types.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// Byte blocks returned by the file service are allocated with new[] and
// belong to the caller; this wraps one for callers that want it released
// automatically.
using ByteBlock = std::unique_ptr<std::uint8_t[]>;

class CMGFile {
public:
    CMGFile();
    virtual ~CMGFile();
    CMGFile(const CMGFile&) = delete;
    CMGFile& operator=(const CMGFile&) = delete;

    // Each takes the loose file's full path and the bare name to look up in
    // the archive; either may be absent (nullptr or empty). Blocks are new
    // arrays owned by the caller.
    //
    // All of the file's bytes, no terminator; the size goes to size (which
    // may be absent). Not found: the "%s无法找到。" message box, nullptr.
    virtual std::uint8_t* ReadAll(const char16_t* path, const char16_t* archiveName, DWORD* size);
    // A block of n bytes holding the first min(n, file size) bytes; the rest
    // of the block is zero. An archive entry's bytes are those a whole read
    // delivers. Not found: the message box, nullptr.
    virtual std::uint8_t* ReadHead(const char16_t* path, const char16_t* archiveName, DWORD n);
    // 1 when the loose file can be opened for reading or the name is in the
    // archive, else 0; never shows a message.
    virtual int Exists(const char16_t* path, const char16_t* archiveName);

    // The first file service constructed in the process, or nullptr.
    static CMGFile* Service();

    // Called once after the main window exists: keeps the owner and the
    // instance, sets a Japanese locale, computes the save folder and the
    // settings ini, and opens the archive linked into the executable (none
    // there: loose files only). Returns 1.
    int Init(HWND owner, HINSTANCE instance);

    // Loaders by name: the path is the program folder + name and the name is
    // looked up in the archive, or, in absolute-path mode, the name is the
    // path and the archive is not searched.
    std::uint8_t* LoadFile(const char16_t* name, DWORD* size);
    std::uint8_t* LoadFileHead(const char16_t* name, DWORD n);
    int FileExists(const char16_t* name);
    // LoadFile, then width and height from a BMP info header (the signed
    // 32-bit values at offsets 18 and 22; 0 when the block is shorter). A
    // missing file gives nullptr with width, height and size 0.
    std::uint8_t* LoadBitmapFile(const char16_t* name, int* width, int* height, DWORD* size);
    // key=value (signed decimal) in the application's section of the
    // settings ini. Returns 0 when the file could not be written.
    int WriteSettingInt(int value, const char16_t* key);

    // Save folder = data home + [CompanyName/] + application name + '/',
    // created as needed; CompanyName comes from the program ini and counts
    // from two characters. When the folder cannot be created the program
    // folder is used and the result is 0.
    int MakeSaveFolder();
    // Finds the archive linked into the executable (lumi_embed_archive) and
    // opens it; 0 when the executable has none or it cannot be opened.
    int OpenEmbeddedArchive();
    // Opens an archive held in memory that outlives this object: copies its
    // header, bucket and entry tables and builds the method-3 key if there
    // is none yet. 0, and no archive, when the tables do not fit in bytes.
    int OpenArchive(std::span<const std::uint8_t> bytes);

    // The entry a name finds: the bucket of its first code unit, then its
    // ANSI form compared byte for byte, case-sensitively, with the bucket's
    // names in table order. Nothing for an absent name, no archive, a name
    // with a folder part or whose ANSI form needs 32 bytes or more, and an
    // entry whose bytes reach outside the archive.
    const ArchiveEntry* FindEntry(const char16_t* name) const;
    // Undoes the entry's scrambling in place on the first length bytes of
    // its data. Method 3 deciphers whole 8-byte blocks only: bytes past the
    // entry's last whole block stay as stored.
    void Descramble(const ArchiveEntry& entry, std::uint8_t* bytes, std::size_t length) const;
    // Copies the entry's first min(n, size) delivered (descrambled) bytes
    // into out; the entry must be readable (EntryInArchive).
    void ReadEntry(const ArchiveEntry& entry, std::uint8_t* out, std::size_t n) const;

    bool HasArchive() const { return archive_.data() != nullptr; }
    std::span<const ArchiveEntry> Entries() const { return entries_; }
    bool EntryInArchive(const ArchiveEntry& entry) const;
    // The archive's resource id recorded by lumi_embed_archive (0 when none).
    WORD ArchiveResourceId() const { return archiveResourceId_; }

    const char16_t* ProgramFolder() const { return programFolder_; }
    const char16_t* AppName() const { return appName_; }
    const char16_t* ProgramIni() const { return programIni_; }
    const char16_t* SaveFolder() const { return saveFolder_; }
    const char16_t* SettingsIni() const { return settingsIni_; }
    HWND Owner() const { return owner_; }

    bool absolutePathMode = false;

private:
    void ReportMissing(const char16_t* path, const char16_t* archiveName) const;
    void BuildPath(const char16_t* name, char16_t (&path)[kPathUnits]) const;

    HWND owner_ = nullptr;
    HINSTANCE instance_ = nullptr;
    char16_t programFolder_[kPathUnits] = {};
    char16_t appName_[kPathUnits] = {};
    char16_t programIni_[kPathUnits] = {};
    char16_t saveFolder_[kPathUnits] = {};
    char16_t settingsIni_[kPathUnits] = {};

    std::span<const std::uint8_t> archive_;
    std::uint8_t header_[kArchiveHeaderSize] = {};
    std::vector<std::uint16_t> buckets_; // first, count for each bucket
    std::vector<ArchiveEntry> entries_;
    std::unique_ptr<BlowfishKey> archiveKey_;
    WORD archiveResourceId_ = 0;
};
