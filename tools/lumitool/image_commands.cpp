// lumitool's image commands: what a picture holds, decoding it to PNG or
// raw pixels, and encoding artwork as MG01.
#include "base/text16.h"
#include "data/mg_file.h"
#include "imaging/surface.h"
#include "mg01_encode.h"
#include "png_io.h"
#include "tool_command.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<std::uint8_t>;

bool ReadFile(const std::string& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

// IMAGE is a file read in absolute-path mode, or ARCHIVE:NAME for an entry
// of an archive file.
bool LoadImage(const std::string& image, CSurface& surface, std::string& error) {
    CMGFile files;
    if (std::filesystem::is_regular_file(image)) {
        files.absolutePathMode = true;
        if (surface.Load(Utf8ToUtf16(image).c_str()) == 0) {
            error = image + ": not a picture the engine reads";
            return false;
        }
        return true;
    }
    std::size_t colon = image.rfind(':');
    if (colon == std::string::npos) {
        error = image + ": no such file";
        return false;
    }
    std::string archivePath = image.substr(0, colon);
    std::u16string name = Utf8ToUtf16(image.substr(colon + 1));
    Bytes archive;
    if (!ReadFile(archivePath, archive) || files.OpenArchive(archive) == 0) {
        error = archivePath + ": not an archive";
        return false;
    }
    DWORD size = 0;
    ByteBlock bytes(files.ReadAll(nullptr, name.c_str(), &size));
    if (bytes == nullptr) {
        error = image + ": no such entry";
        return false;
    }
    if (surface.LoadFromMemory(bytes.get(), size) == 0) {
        error = image + ": not a picture the engine reads";
        return false;
    }
    return true;
}

int Info(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return ToolError("usage: info IMAGE");
    }
    CSurface surface;
    std::string error;
    if (!LoadImage(args[0], surface, error)) {
        return ToolError(error);
    }
    std::printf("%d %d %d\n", surface.width, surface.height, surface.hasAlpha);
    return 0;
}

// The raw form: u32 width, u32 height (little-endian), then the pixels as
// they are held, bytes B, G, R, A, rows top-down.
Bytes RawPixels(const CSurface& surface) {
    Bytes out;
    for (std::uint32_t v : {std::uint32_t(surface.width), std::uint32_t(surface.height)}) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(std::uint8_t(v >> (8 * i)));
        }
    }
    for (int y = 0; y < surface.height; ++y) {
        const std::uint32_t* row = surface.Row(y);
        for (int x = 0; x < surface.width; ++x) {
            for (int i = 0; i < 4; ++i) {
                out.push_back(std::uint8_t(row[x] >> (8 * i)));
            }
        }
    }
    return out;
}

// PNG: straight alpha; a picture without alpha is opaque.
Picture PngPicture(const CSurface& surface) {
    Picture picture{surface.width, surface.height, {}};
    for (int y = 0; y < surface.height; ++y) {
        const std::uint32_t* row = surface.Row(y);
        for (int x = 0; x < surface.width; ++x) {
            picture.pixels.push_back(surface.hasAlpha != 0 ? row[x] : row[x] | 0xFF000000u);
        }
    }
    return picture;
}

int Decode(const std::vector<std::string>& args) {
    bool raw = !args.empty() && args[0] == "--raw";
    if (args.size() != (raw ? 3u : 2u)) {
        return ToolError("usage: decode [--raw] IMAGE OUT");
    }
    const std::string& image = args[raw ? 1 : 0];
    const std::string& out = args[raw ? 2 : 1];
    CSurface surface;
    std::string error;
    if (!LoadImage(image, surface, error)) {
        return ToolError(error);
    }
    if (raw) {
        return WriteFile(out, RawPixels(surface)) ? 0 : ToolError(out + ": cannot write");
    }
    return WritePng(out, PngPicture(surface), error) ? 0 : ToolError(error);
}

// What the loader must give back: the colour, and the alpha when the file
// carries a plane (the picture has transparency).
bool RoundTrips(const Picture& picture, const Bytes& file) {
    CSurface surface;
    if (surface.LoadFromMemory(file.data(), file.size()) == 0 || surface.width != picture.width ||
        surface.height != picture.height) {
        return false;
    }
    bool transparent = false;
    for (std::uint32_t p : picture.pixels) {
        transparent = transparent || p >> 24 != 0xFF;
    }
    if (surface.hasAlpha != (transparent ? 1 : 0)) {
        return false;
    }
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            std::uint32_t p = picture.pixels[std::size_t(y) * picture.width + x];
            std::uint32_t expected = transparent ? p : p & 0x00FFFFFFu;
            if (surface.Row(y)[x] != expected) {
                return false;
            }
        }
    }
    return true;
}

int Encode(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return ToolError("usage: encode IN.png OUT.mg [--method NAME] [--plane NAME]");
    }
    Mg01Options options;
    for (std::size_t k = 2; k < args.size(); k += 2) {
        if (k + 1 >= args.size() || (args[k] != "--method" && args[k] != "--plane")) {
            return ToolError("encode: unknown option " + args[k]);
        }
        (args[k] == "--method" ? options.method : options.plane) = args[k + 1];
    }
    Picture picture;
    std::string error;
    if (!ReadPng(args[0], picture, error)) {
        return ToolError(error);
    }
    Bytes file = EncodeMg01(picture, options, error);
    if (file.empty()) {
        return ToolError(error);
    }
    if (!RoundTrips(picture, file)) {
        return ToolError("encode: the encoded picture does not decode to the original");
    }
    return WriteFile(args[1], file) ? 0 : ToolError(args[1] + ": cannot write");
}

const std::array<ToolCommand, 3> kCommands{{
    {"info", "IMAGE  (prints WIDTH HEIGHT HASALPHA; IMAGE is a file or ARCHIVE:NAME)", Info},
    {"decode",
     "[--raw] IMAGE OUT  (PNG with straight alpha, opaque without alpha; --raw: "
     "u32 width, u32 height, then B, G, R, A bytes, rows top-down)",
     Decode},
    {"encode",
     "IN.png OUT.mg [--method raw|rle|palette|grey|mixed|lz1..3|planar1..3[+h|+v|+hv]] "
     "[--plane raw|pairs|nibbles|markers]",
     Encode},
}};

} // namespace

std::span<const ToolCommand> ImageCommands() {
    return kCommands;
}
