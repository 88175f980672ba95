#include "mg01_encode.h"

#include "lz_encode.h"

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <optional>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Pixels = std::vector<std::uint32_t>;

struct Entry {
    std::uint8_t flags = 0;
    std::uint8_t bitsPerPixel = 24;
    std::uint8_t count = 0;
    std::uint8_t escape = 0;
    Bytes data;
};

Entry NewEntry(std::uint8_t flags, std::uint8_t bitsPerPixel = 24, std::uint8_t count = 0) {
    Entry e;
    e.flags = flags;
    e.bitsPerPixel = bitsPerPixel;
    e.count = count;
    return e;
}

struct Run {
    std::uint32_t value;
    std::size_t length;
};

template <typename T> std::vector<Run> Runs(const std::vector<T>& values) {
    std::vector<Run> runs;
    for (T v : values) {
        if (!runs.empty() && runs.back().value == v) {
            ++runs.back().length;
        } else {
            runs.push_back({std::uint32_t(v), 1});
        }
    }
    return runs;
}

void PutWord(Bytes& out, std::size_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void PutBgr(Bytes& out, std::uint32_t p) {
    out.insert(out.end(), {std::uint8_t(p), std::uint8_t(p >> 8), std::uint8_t(p >> 16)});
}

// The byte value that occurs least often among those that would need
// escaping: the cheapest escape byte.
std::uint8_t RarestByte(const std::array<std::size_t, 256>& counts) {
    return std::uint8_t(std::min_element(counts.begin(), counts.end()) - counts.begin());
}

// --- Colour methods over storage-order pixels (alpha 0) ----------------------

Entry EncodeRaw(const Pixels& px, int width, int height) {
    Entry e = NewEntry(0x00);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            PutBgr(e.data, px[std::size_t(row) * width + x]);
        }
        e.data.resize((e.data.size() + 3) & ~std::size_t(3), 0);
    }
    return e;
}

// A literal pixel: B, G, R, or E, 0xFF, G, R when its blue is the escape.
void PutColourLiteral(Bytes& out, std::uint32_t p, std::uint8_t escape) {
    if ((p & 0xFF) == escape) {
        out.insert(out.end(), {escape, 0xFF, std::uint8_t(p >> 8), std::uint8_t(p >> 16)});
    } else {
        PutBgr(out, p);
    }
}

Entry EncodeRunLength(const Pixels& px) {
    std::vector<Run> runs = Runs(px);
    std::array<std::size_t, 256> literalBlues{};
    for (const Run& r : runs) {
        if (r.length % 254 == 1) {
            ++literalBlues[r.value & 0xFF];
        }
    }
    Entry e = NewEntry(0x04);
    e.escape = RarestByte(literalBlues);
    for (Run r : runs) {
        while (r.length > 0) {
            std::size_t n = std::min<std::size_t>(r.length, 254);
            if (n == 1) {
                PutColourLiteral(e.data, r.value, e.escape);
            } else {
                e.data.insert(e.data.end(), {e.escape, std::uint8_t(n)});
                PutBgr(e.data, r.value);
            }
            r.length -= n;
        }
    }
    e.data.insert(e.data.end(), {e.escape, 0});
    return e;
}

// Palette runs: with one entry E, length; with several E, index, length.
Entry EncodePaletteWith(const std::vector<Run>& runs, const Pixels& palette) {
    bool single = palette.size() == 1;
    std::size_t maxRun = single ? 254 : 255;
    std::array<std::size_t, 256> literalBlues{};
    for (const Run& r : runs) {
        if (std::find(palette.begin(), palette.end(), r.value) == palette.end()) {
            literalBlues[r.value & 0xFF] += r.length;
        }
    }
    Entry e = NewEntry(0x08);
    e.count = std::uint8_t(palette.size());
    e.escape = RarestByte(literalBlues);
    for (std::uint32_t colour : palette) {
        PutBgr(e.data, colour);
        e.data.push_back(0);
    }
    for (Run r : runs) {
        auto at = std::find(palette.begin(), palette.end(), r.value);
        if (at == palette.end()) {
            for (std::size_t k = 0; k < r.length; ++k) {
                PutColourLiteral(e.data, r.value, e.escape);
            }
            continue;
        }
        while (r.length > 0) {
            std::size_t n = std::min(r.length, maxRun);
            e.data.push_back(e.escape);
            if (!single) {
                e.data.push_back(std::uint8_t(at - palette.begin()));
            }
            e.data.push_back(std::uint8_t(n));
            r.length -= n;
        }
    }
    e.data.insert(e.data.end(), {e.escape, 0});
    if (!single) {
        e.data.push_back(0);
    }
    return e;
}

// The colours whose runs save the most over literals, up to 255 of them,
// or the single best colour with the cheaper two-byte runs.
Entry EncodePalette(const Pixels& px) {
    std::vector<Run> runs = Runs(px);
    std::vector<std::pair<long long, std::uint32_t>> savings;
    {
        std::vector<std::pair<std::uint32_t, long long>> byColour;
        for (const Run& r : runs) {
            byColour.push_back({r.value, 3LL * r.length - 3LL * ((r.length + 254) / 255)});
        }
        std::sort(byColour.begin(), byColour.end());
        for (const auto& [colour, saved] : byColour) {
            if (!savings.empty() && savings.back().second == colour) {
                savings.back().first += saved;
            } else {
                savings.push_back({saved - 4, colour});
            }
        }
        std::sort(savings.begin(), savings.end(), std::greater<>());
    }
    Pixels many;
    for (const auto& [saved, colour] : savings) {
        if (many.size() < 255 && (saved > 0 || many.empty())) {
            many.push_back(colour);
        }
    }
    Entry best = EncodePaletteWith(runs, Pixels{many.front()});
    if (many.size() > 1) {
        Entry several = EncodePaletteWith(runs, many);
        if (several.data.size() < best.data.size()) {
            best = std::move(several);
        }
    }
    return best;
}

bool IsGrey(std::uint32_t p) {
    return (p & 0xFF) == (p >> 8 & 0xFF) && (p & 0xFF) == (p >> 16 & 0xFF);
}

// Grey run-length and its mixed variant. Each run is written in one mode:
// grey values take one byte, colour values three; runs of 2..254 cost the
// escape and length on top. A dynamic programme picks the mode of each run
// and pays three bytes per switch.
class GreyWriter {
public:
    GreyWriter(std::uint8_t escape, bool mixed) : escape_(escape), mixed_(mixed) {}

    std::size_t Cost(Run r, bool colour) const {
        Bytes scratch;
        Write(scratch, r, colour);
        return scratch.size();
    }

    void Write(Bytes& out, Run r, bool colour) const {
        std::size_t valueBytes = colour ? 3 : 1;
        std::size_t literalBytes = valueBytes + ((r.value & 0xFF) == escape_ ? 1 : 0);
        std::size_t minRun = mixed_ ? 2 : 1;
        while (r.length > 0) {
            std::size_t n = std::min<std::size_t>(r.length, 254);
            if (n >= minRun && 2 + valueBytes < n * literalBytes) {
                out.insert(out.end(), {escape_, std::uint8_t(n)});
                PutValue(out, r.value, colour);
            } else {
                n = 1;
                if ((r.value & 0xFF) == escape_) {
                    out.insert(out.end(), {escape_, 0xFF});
                    if (colour) {
                        out.insert(out.end(),
                                   {std::uint8_t(r.value >> 8), std::uint8_t(r.value >> 16)});
                    }
                } else {
                    PutValue(out, r.value, colour);
                }
            }
            r.length -= n;
        }
    }

private:
    static void PutValue(Bytes& out, std::uint32_t p, bool colour) {
        if (colour) {
            PutBgr(out, p);
        } else {
            out.push_back(std::uint8_t(p));
        }
    }

    std::uint8_t escape_;
    bool mixed_;
};

std::uint8_t RarestFirstByte(const std::vector<Run>& runs) {
    std::array<std::size_t, 256> counts{};
    for (const Run& r : runs) {
        counts[r.value & 0xFF] += r.length;
    }
    return RarestByte(counts);
}

std::optional<Entry> EncodeGrey(const Pixels& px) {
    if (!std::all_of(px.begin(), px.end(), IsGrey)) {
        return std::nullopt;
    }
    std::vector<Run> runs = Runs(px);
    Entry e = NewEntry(0x0C);
    e.escape = RarestFirstByte(runs);
    GreyWriter writer(e.escape, false);
    for (const Run& r : runs) {
        writer.Write(e.data, r, false);
    }
    e.data.insert(e.data.end(), {e.escape, 0});
    return e;
}

Entry EncodeMixed(const Pixels& px) {
    std::vector<Run> runs = Runs(px);
    Entry e = NewEntry(0x0D);
    e.escape = RarestFirstByte(runs);
    GreyWriter writer(e.escape, true);
    // best[i][m]: cheapest bytes for the first i runs ending in mode m
    // (0 grey, 1 colour); the stream starts in grey mode.
    constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max() / 2;
    std::size_t n = runs.size();
    std::vector<std::array<std::size_t, 2>> best(n + 1, {kNever, kNever});
    std::vector<std::array<int, 2>> from(n + 1, {0, 0});
    best[0] = {0, kNever};
    for (std::size_t i = 0; i < n; ++i) {
        for (int mode = 0; mode < 2; ++mode) {
            if (mode == 0 && !IsGrey(runs[i].value)) {
                continue;
            }
            std::size_t cost = writer.Cost(runs[i], mode == 1);
            for (int previous = 0; previous < 2; ++previous) {
                std::size_t total = best[i][previous] + cost + (previous != mode ? 3 : 0);
                if (total < best[i + 1][mode]) {
                    best[i + 1][mode] = total;
                    from[i + 1][mode] = previous;
                }
            }
        }
    }
    std::vector<int> modes(n);
    int mode = best[n][0] <= best[n][1] ? 0 : 1;
    for (std::size_t i = n; i > 0; --i) {
        modes[i - 1] = mode;
        mode = from[i][mode];
    }
    int current = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (modes[i] != current) {
            current = modes[i];
            e.data.insert(e.data.end(), {e.escape, 1, std::uint8_t(current)});
        }
        writer.Write(e.data, runs[i], current == 1);
    }
    e.data.insert(e.data.end(), {e.escape, 0});
    return e;
}

Entry EncodeLzDirect(const Pixels& px, int method) {
    Bytes bytes;
    bytes.reserve(px.size() * 4);
    for (std::uint32_t p : px) {
        PutBgr(bytes, p);
        bytes.push_back(0);
    }
    Entry e = NewEntry(0x20);
    e.data = LzEncode(method, bytes.data(), bytes.size());
    return e;
}

Entry EncodeLzPlanar(const Pixels& px, int method) {
    Bytes planes(px.size() * 3);
    for (std::size_t k = 0; k < px.size(); ++k) {
        planes[k] = std::uint8_t(px[k]);
        planes[px.size() + k] = std::uint8_t(px[k] >> 8);
        planes[2 * px.size() + k] = std::uint8_t(px[k] >> 16);
    }
    Entry e = NewEntry(0x24);
    e.data = LzEncode(method, planes.data(), planes.size());
    return e;
}

// The inverse of the loader's deltas, which undo the horizontal one first.
Pixels ApplyDeltas(Pixels px, int width, int height, int deltas) {
    if ((deltas & 2) != 0) {
        for (int row = height - 1; row >= 1; --row) {
            for (int x = 0; x < width; ++x) {
                px[std::size_t(row) * width + x] ^= px[std::size_t(row - 1) * width + x];
            }
        }
    }
    if ((deltas & 1) != 0) {
        for (int row = 0; row < height; ++row) {
            std::uint32_t* p = px.data() + std::size_t(row) * width;
            for (int x = width - 1; x >= 1; --x) {
                p[x] ^= p[x - 1];
            }
        }
    }
    return px;
}

std::optional<Entry> EncodeColour(const std::string& method, const Pixels& px, int width,
                                  int height) {
    if (method == "raw") {
        return EncodeRaw(px, width, height);
    }
    if (method == "rle") {
        return EncodeRunLength(px);
    }
    if (method == "palette") {
        return EncodePalette(px);
    }
    if (method == "grey") {
        return EncodeGrey(px);
    }
    if (method == "mixed") {
        return EncodeMixed(px);
    }
    for (int lz = 1; lz <= 3; ++lz) {
        if (method == "lz" + std::to_string(lz)) {
            return EncodeLzDirect(px, lz);
        }
        if (method == "planar" + std::to_string(lz)) {
            return EncodeLzPlanar(px, lz);
        }
    }
    return std::nullopt;
}

// --- Plane encodings over storage-order alpha bytes ---------------------------

Entry PlaneRaw(const Bytes& alpha) {
    Entry e = NewEntry(0x10, 8);
    e.data = alpha;
    return e;
}

Entry PlanePairs(const Bytes& alpha) {
    Entry e = NewEntry(0x11, 8);
    for (Run r : Runs(alpha)) {
        while (r.length > 0) {
            std::size_t n = std::min<std::size_t>(r.length, 255);
            e.data.insert(e.data.end(), {std::uint8_t(r.value), std::uint8_t(n)});
            r.length -= n;
        }
    }
    e.data.insert(e.data.end(), {0, 0});
    return e;
}

// A length as the plane encodings write it: a byte, or 0 and a u16.
void PutLength(Bytes& out, std::size_t n) {
    if (n <= 255) {
        out.push_back(std::uint8_t(n));
    } else {
        out.push_back(0);
        PutWord(out, n);
    }
}

std::optional<Entry> PlaneNibbles(const Bytes& alpha) {
    if (!std::all_of(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a % 17 == 0; })) {
        return std::nullopt;
    }
    Entry e = NewEntry(0x11, 4);
    for (Run r : Runs(alpha)) {
        std::uint8_t v = std::uint8_t(r.value / 17);
        while (r.length > 0) {
            std::size_t n = std::min<std::size_t>(r.length, 65535);
            if (n <= 15) {
                e.data.push_back(std::uint8_t(n << 4 | v));
            } else {
                e.data.push_back(v);
                PutLength(e.data, n);
            }
            r.length -= n;
        }
    }
    e.data.insert(e.data.end(), {0, 0, 0, 0});
    return e;
}

Entry PlaneMarkersWith(const std::vector<Run>& runs, const Bytes& markers) {
    Entry e = NewEntry(0x12, 8, std::uint8_t(markers.size()));
    e.data = markers;
    for (Run r : runs) {
        bool marker = std::find(markers.begin(), markers.end(), r.value) != markers.end();
        if (!marker) {
            e.data.insert(e.data.end(), r.length, std::uint8_t(r.value));
            continue;
        }
        while (r.length > 0) {
            std::size_t n = std::min<std::size_t>(r.length, 65535);
            e.data.push_back(std::uint8_t(r.value));
            PutLength(e.data, n);
            r.length -= n;
        }
    }
    e.data.insert(e.data.end(), {markers.front(), 0, 0, 0});
    return e;
}

// Markers are the values whose runs save more than their single
// occurrences cost; at least one, for the end code.
Entry PlaneMarkers(const Bytes& alpha) {
    std::vector<Run> runs = Runs(alpha);
    std::array<long long, 256> savings{};
    for (const Run& r : runs) {
        long long length = static_cast<long long>(r.length);
        long long cost = length <= 255 ? 2 : 4 * ((length + 65534) / 65535);
        savings[r.value] += length - cost;
    }
    std::vector<std::pair<long long, std::uint8_t>> order;
    for (int v = 0; v < 256; ++v) {
        order.push_back({savings[v] - 1, std::uint8_t(v)});
    }
    std::sort(order.begin(), order.end(), std::greater<>());
    Bytes markers;
    for (const auto& [saved, v] : order) {
        if (markers.empty() || (saved > 0 && markers.size() < 255)) {
            markers.push_back(v);
        }
    }
    return PlaneMarkersWith(runs, markers);
}

std::optional<Entry> EncodePlane(const std::string& encoding, const Bytes& alpha) {
    if (encoding == "raw") {
        return PlaneRaw(alpha);
    }
    if (encoding == "pairs") {
        return PlanePairs(alpha);
    }
    if (encoding == "nibbles") {
        return PlaneNibbles(alpha);
    }
    if (encoding == "markers") {
        return PlaneMarkers(alpha);
    }
    return std::nullopt;
}

// --- The file ----------------------------------------------------------------

void PutEntry(Bytes& out, const Entry& e, int width, int height) {
    std::size_t length = (20 + e.data.size() + 3) & ~std::size_t(3);
    out.insert(out.end(), {0, 0, e.flags, 0, 0, 0, 0, 0});
    PutWord(out, length);
    PutWord(out, length >> 16);
    PutWord(out, std::size_t(width));
    PutWord(out, std::size_t(height));
    out.insert(out.end(), {e.bitsPerPixel, e.count, e.escape, 0});
    out.insert(out.end(), e.data.begin(), e.data.end());
    out.resize(out.size() + (length - 20 - e.data.size()), 0);
}

Bytes AssembleFile(const std::vector<Entry>& entries, int width, int height) {
    std::size_t table = 16;
    std::size_t base = table + 4 * entries.size();
    Bytes out{'M', 'G', '0', '1', 0, 1, 0, 0};
    PutWord(out, entries.size());
    PutWord(out, table);
    PutWord(out, base);
    PutWord(out, 0);
    Bytes body;
    for (const Entry& e : entries) {
        std::size_t offset = body.size();
        PutWord(out, offset);
        PutWord(out, offset >> 16);
        PutEntry(body, e, width, height);
    }
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

struct ColourChoice {
    std::string method;
    int deltas = 0;
};

bool ParseMethod(const std::string& name, ColourChoice& choice) {
    static const std::array<std::pair<const char*, int>, 3> suffixes{
        {{"+hv", 3}, {"+h", 1}, {"+v", 2}}};
    choice = {name, 0};
    for (const auto& [suffix, deltas] : suffixes) {
        std::string s = suffix;
        if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0) {
            choice = {name.substr(0, name.size() - s.size()), deltas};
            break;
        }
    }
    const auto& methods = Mg01ColourMethods();
    bool known = std::find(methods.begin(), methods.end(), choice.method) != methods.end();
    bool deltasAllowed = choice.method != "grey" && choice.method != "mixed";
    return known && (choice.deltas == 0 || deltasAllowed);
}

std::optional<Entry> Smallest(std::vector<std::optional<Entry>> candidates) {
    std::optional<Entry> best;
    for (auto& c : candidates) {
        if (c && (!best || c->data.size() < best->data.size())) {
            best = std::move(c);
        }
    }
    return best;
}

} // namespace

const std::vector<std::string>& Mg01ColourMethods() {
    static const std::vector<std::string> methods{"raw",     "rle",     "palette", "grey",
                                                  "mixed",   "lz1",     "lz2",     "lz3",
                                                  "planar1", "planar2", "planar3"};
    return methods;
}

const std::vector<std::string>& Mg01PlaneEncodings() {
    static const std::vector<std::string> encodings{"raw", "pairs", "nibbles", "markers"};
    return encodings;
}

Bytes EncodeMg01(const Picture& picture, const Mg01Options& options, std::string& error) {
    const int width = picture.width;
    const int height = picture.height;
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF ||
        picture.pixels.size() != std::size_t(width) * height) {
        error = "the picture does not fit the format's 16-bit width and height";
        return {};
    }
    // Storage order: the bottom row first.
    Pixels colour(picture.pixels.size());
    Bytes alpha(picture.pixels.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = picture.pixels[std::size_t(y) * width + x];
            std::size_t k = std::size_t(height - 1 - y) * width + x;
            colour[k] = p & 0x00FFFFFF;
            alpha[k] = std::uint8_t(p >> 24);
        }
    }
    std::vector<ColourChoice> choices;
    if (!options.method.empty()) {
        ColourChoice forced;
        if (!ParseMethod(options.method, forced)) {
            error = "unknown colour method: " + options.method;
            return {};
        }
        choices.push_back(forced);
    } else {
        for (const std::string& m : Mg01ColourMethods()) {
            bool deltas = m != "grey" && m != "mixed";
            for (int d = 0; d <= (deltas ? 3 : 0); ++d) {
                choices.push_back({m, d});
            }
        }
    }
    std::vector<std::optional<Entry>> colourCandidates;
    for (const ColourChoice& choice : choices) {
        std::optional<Entry> e = EncodeColour(
            choice.method, ApplyDeltas(colour, width, height, choice.deltas), width, height);
        if (e) {
            e->flags |= std::uint8_t(choice.deltas);
        }
        colourCandidates.push_back(std::move(e));
    }
    std::optional<Entry> colourEntry = Smallest(std::move(colourCandidates));
    if (!colourEntry) {
        error = "the colour method does not fit this picture: " + options.method;
        return {};
    }
    bool transparent =
        std::any_of(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a != 255; });
    if (!transparent) {
        return AssembleFile({*colourEntry}, width, height);
    }
    std::vector<std::optional<Entry>> planeCandidates;
    for (const std::string& name : Mg01PlaneEncodings()) {
        if (options.plane.empty() || options.plane == name) {
            planeCandidates.push_back(EncodePlane(name, alpha));
        }
    }
    std::optional<Entry> planeEntry = Smallest(std::move(planeCandidates));
    if (!planeEntry) {
        error = "the plane encoding does not fit this picture: " + options.plane;
        return {};
    }
    colourEntry->flags |= 0x80;
    return AssembleFile({*colourEntry, *planeEntry}, width, height);
}
