// Picking the decoder: MG01 by its magic, an uncompressed true-colour TGA
// by its first four bytes, anything else is taken as a BMP.
#include "data/mg_file.h"
#include "image_decoders.h"
#include "surface.h"

#include <cstring>

int CSurface::Load(const char16_t* name) {
    CMGFile* files = CMGFile::Service();
    if (files == nullptr) {
        return 0;
    }
    DWORD size = 0;
    ByteBlock bytes(files->LoadFile(name, &size));
    if (bytes == nullptr) {
        return 0;
    }
    return LoadFromMemory(bytes.get(), size);
}

int CSurface::LoadFromMemory(const std::uint8_t* bytes, std::size_t size) {
    Release();
    if (bytes == nullptr) {
        return 0;
    }
    ByteReader file(bytes, size);
    static const std::uint8_t kMg01[4] = {'M', 'G', '0', '1'};
    static const std::uint8_t kTrueColourTga[4] = {0x00, 0x00, 0x02, 0x00};
    int loaded = 0;
    if (size >= 4 && std::memcmp(bytes, kMg01, 4) == 0) {
        loaded = DecodeMg01(*this, file);
    } else if (size >= 4 && std::memcmp(bytes, kTrueColourTga, 4) == 0) {
        loaded = DecodeTga(*this, file);
    } else {
        loaded = DecodeBmp(*this, file);
    }
    if (loaded == 0) {
        Release();
    }
    return loaded;
}
