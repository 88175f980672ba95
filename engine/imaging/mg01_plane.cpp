// The alpha plane encodings of MG01 plane entries (flags & 0x1F).
#include "image_decoders.h"

#include <algorithm>

namespace {

using PlaneBytes = OutputRun<std::uint8_t>;

enum PlaneEncoding : std::uint32_t {
    kRaw = 0x10,
    kRunLength = 0x11, // pairs at 8 bits per pixel, nibbles at 4
    kMarkerRunLength = 0x12,
};

void DecodeRaw(ByteReader in, PlaneBytes out) {
    std::uint32_t v = 0;
    while (!out.Full() && in.U8(v)) {
        out.Put(static_cast<std::uint8_t>(v));
    }
}

// (value, count) pairs; count 0 ends.
void DecodePairs(ByteReader in, PlaneBytes out) {
    std::uint32_t value = 0;
    std::uint32_t count = 0;
    while (!out.Full() && in.U8(value) && in.U8(count) && count != 0) {
        out.Repeat(static_cast<std::uint8_t>(value), count);
    }
}

// A length byte, or 0 and a u16 length; false at the end code (u16 0) or
// the end of the data.
bool ReadLength(ByteReader& in, std::uint32_t& length) {
    if (!in.U8(length)) {
        return false;
    }
    if (length == 0 && !in.U16(length)) {
        return false;
    }
    return length != 0;
}

// 4-bit values v stand for v * 17. A byte with a nonzero high nibble is a
// short run (length, value); otherwise the low nibble is the value and a
// length follows.
void DecodeNibbles(ByteReader in, PlaneBytes out) {
    std::uint32_t b = 0;
    while (!out.Full() && in.U8(b)) {
        std::uint8_t value = static_cast<std::uint8_t>((b & 0x0F) * 17);
        std::uint32_t length = b >> 4;
        if (length == 0 && !ReadLength(in, length)) {
            return;
        }
        out.Repeat(value, length);
    }
}

// The entry's count gives the marker bytes at the start of the data; a
// marker is followed by the length of a run of its own value, any other
// byte stands for itself.
void DecodeMarkers(ByteReader in, std::uint32_t markerCount, PlaneBytes out) {
    const std::uint8_t* markers = in.Take(markerCount);
    if (markers == nullptr) {
        return;
    }
    const std::uint8_t* markersEnd = markers + markerCount;
    std::uint32_t c = 0;
    while (!out.Full() && in.U8(c)) {
        if (std::find(markers, markersEnd, c) == markersEnd) {
            out.Put(static_cast<std::uint8_t>(c));
            continue;
        }
        std::uint32_t length = 0;
        if (!ReadLength(in, length)) {
            return;
        }
        out.Repeat(static_cast<std::uint8_t>(c), length);
    }
}

} // namespace

void DecodeMg01Plane(const Mg01Entry& entry, std::uint8_t* plane, std::size_t total) {
    PlaneBytes out(plane, total);
    switch (entry.flags & 0x1F) {
    case kRaw:
        DecodeRaw(entry.data, out);
        break;
    case kRunLength:
        if (entry.bitsPerPixel == 8) {
            DecodePairs(entry.data, out);
        } else if (entry.bitsPerPixel == 4) {
            DecodeNibbles(entry.data, out);
        }
        break;
    case kMarkerRunLength:
        DecodeMarkers(entry.data, entry.count, out);
        break;
    default: // unknown encodings leave the plane as it is
        break;
    }
}
