// The picture formats the loader reads, each decoding a whole file held in
// memory into a surface. 1 on success (a truncated file gives a truncated
// picture), 0 when the file cannot be a picture of that format.
#pragma once

#include "byte_reader.h"

class CSurface;

int DecodeMg01(CSurface& surface, ByteReader file);
int DecodeTga(CSurface& surface, ByteReader file);
int DecodeBmp(CSurface& surface, ByteReader file);

// One MG01 entry: its header fields and its data, bounded by the entry's
// length and the end of the file.
struct Mg01Entry {
    std::uint32_t flags = 0;
    int width = 0;
    int height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t count = 0;  // palette entries or marker bytes
    std::uint32_t escape = 0; // escape byte of the colour run-length methods
    ByteReader data;
};

// Decodes a colour entry into the surface, which has the entry's size.
void DecodeMg01Colour(const Mg01Entry& entry, CSurface& surface);
// Decodes a plane entry into total bytes; bytes it does not reach stay.
void DecodeMg01Plane(const Mg01Entry& entry, std::uint8_t* plane, std::size_t total);
