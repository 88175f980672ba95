#!/usr/bin/env python3
"""Writes MG01, TGA and BMP pictures with an implementation of the formats
of its own, then checks that `lumitool decode --raw` gives back exactly the
pixels each file describes and `lumitool info` the right has-alpha flag.

usage: reference_pictures.py LUMITOOL WORKDIR
"""

import random
import struct
import subprocess
import sys
from pathlib import Path

# A picture here is (width, height, pixels) with pixels in storage order
# (bottom row first) as 0xAARRGGBB ints.


def u16(v):
    return struct.pack("<H", v)


def u32(v):
    return struct.pack("<I", v)


def make_pixels(width, height, seed, grey=False, flat_rows=0):
    """Flat rows at the bottom, then a gradient mixed with noise."""
    rng = random.Random(seed)
    pixels = []
    for row in range(height):
        for x in range(width):
            if row < flat_rows:
                b, g, r = 0x30, 0x60, 0x90
            elif rng.random() < 0.3:
                b, g, r = rng.randrange(256), rng.randrange(256), rng.randrange(256)
            else:
                b, g, r = (x * 5) & 0xFF, (row * 9) & 0xFF, (x + row) & 0xFF
            if grey:
                g = r = b
            pixels.append(b | g << 8 | r << 16)
    return pixels


def make_alpha(count, seed, nibbles=False):
    rng = random.Random(seed)
    alpha = []
    while len(alpha) < count:
        value = rng.choice([0, 255, 0xF6, rng.randrange(256)])
        if nibbles:
            value = value // 17 * 17
        alpha.extend([value] * rng.choice([1, 1, 2, 5, 40, 300]))
    return alpha[:count]


# --- LZ streams ----------------------------------------------------------------
# A greedy parser over a plain window search; each method writes its own
# token forms, cycling through the alternatives so that all of them occur.


def find_match(data, pos, max_dist, max_len):
    best_len, best_dist = 0, 0
    limit = min(max_len, len(data) - pos)
    for dist in range(1, min(max_dist, 600, pos) + 1):
        n = 0
        while n < limit and data[pos - dist + n] == data[pos + n]:
            n += 1
        if n > best_len:
            best_len, best_dist = n, dist
            if n == limit:
                break
    return best_len, best_dist


def lz_parse(data, max_dist, max_len, min_len=3):
    """Yields ('lit', bytes) and ('match', length, distance)."""
    pos, lit_start = 0, 0
    tokens = []
    while pos < len(data):
        length, dist = find_match(data, pos, max_dist, max_len)
        if length >= min_len:
            if lit_start < pos:
                tokens.append(("lit", data[lit_start:pos]))
            tokens.append(("match", length, dist))
            pos += length
            lit_start = pos
        else:
            pos += 1
    if lit_start < len(data):
        tokens.append(("lit", data[lit_start:]))
    return tokens


def lz_method1(data):
    out = bytearray([1])
    for t in lz_parse(data, 255, 248):
        if t[0] == "lit":
            lit = t[1]
            for i in range(0, len(lit), 8):
                chunk = lit[i:i + 8]
                out.append(len(chunk) - 1)
                out += chunk
        else:
            out += bytes([t[1] + 7, t[2]])
    return bytes(out)


def lz_method2(data):
    out = bytearray([2])
    tokens = lz_parse(data, 1023, 65535)
    i = 0
    while i < len(tokens):
        t = tokens[i]
        if t[0] == "lit":
            lit = t[1]
            if len(lit) > 255:
                # Long literal; its second token is the next match if there
                # is one, else an empty long match.
                out += bytes([8, 4]) + u16(len(lit)) + lit
                nxt = tokens[i + 1] if i + 1 < len(tokens) else None
                if nxt is not None and nxt[0] == "match":
                    out += m2_long_match(nxt[1], nxt[2])
                    i += 1
                else:
                    out += bytes([0, 0x55, 0]) + u16(0)
            elif len(lit) >= 8 and len(lit) % 2 == 0:
                out += bytes([8, len(lit)]) + lit
            else:
                for j in range(0, len(lit), 8):
                    chunk = lit[j:j + 8]
                    out.append(len(chunk) - 1)
                    out += chunk
        else:
            length, dist = t[1], t[2]
            if dist <= 255 and 2 <= length <= 248 and length % 3 != 0:
                out += bytes([length + 7, dist])
            else:
                out.append(8)
                out += m2_long_match(length, dist)
        i += 1
    return bytes(out)


def m2_long_match(length, dist):
    c = dist >> 8
    if length <= 255:
        return bytes([c, dist & 0xFF, length])
    return bytes([c, dist & 0xFF, 0]) + u16(length)


def lz_method3(data):
    out = bytearray([3])
    for t in lz_parse(data, 8191, 65535):
        if t[0] == "lit":
            lit = t[1]
            if len(lit) <= 64 and len(lit) % 2 == 1:
                out.append(len(lit) - 1)
            else:
                out += bytes([0x40 | len(lit) >> 8, len(lit) & 0xFF])
            out += lit
        else:
            length, dist = t[1], t[2]
            c = 0x80
            wide = dist > 0x1F or length % 2 == 0
            c |= 0x40 | dist >> 8 if wide else dist
            if length > 255:
                c |= 0x20
            out.append(c)
            if wide:
                out.append(dist & 0xFF)
            out += u16(length) if length > 255 else bytes([length])
    return bytes(out)


LZ = {1: lz_method1, 2: lz_method2, 3: lz_method3}


# --- MG01 colour methods -------------------------------------------------------


def bgr(p):
    return bytes([p & 0xFF, p >> 8 & 0xFF, p >> 16 & 0xFF])


def runs(values):
    out = []
    for v in values:
        if out and out[-1][0] == v:
            out[-1][1] += 1
        else:
            out.append([v, 1])
    return out


def colour_raw(pixels, width, height):
    data = bytearray()
    for row in range(height):
        line = b"".join(bgr(p) for p in pixels[row * width:(row + 1) * width])
        data += line + bytes(-len(line) % 4)
    return 0x00, 0, bytes(data)


def colour_literal(p, esc):
    if p & 0xFF == esc:
        return bytes([esc, 0xFF, p >> 8 & 0xFF, p >> 16 & 0xFF])
    return bgr(p)


def colour_rle(pixels, esc):
    data = bytearray()
    for v, n in runs(pixels):
        while n > 0:
            k = min(n, 254)
            if k == 1:
                data += colour_literal(v, esc)
            else:
                data += bytes([esc, k]) + bgr(v)
            n -= k
    return 0x04, 0, bytes(data + bytes([esc, 0]))


def colour_palette(pixels, esc, palette):
    data = bytearray()
    for c in palette:
        data += bgr(c) + b"\0"
    for v, n in runs(pixels):
        if v not in palette:
            data += b"".join(colour_literal(v, esc) for _ in range(n))
            continue
        while n > 0:
            k = min(n, 200)
            if len(palette) == 1:
                data += bytes([esc, k])
            else:
                data += bytes([esc, palette.index(v), k])
            n -= k
    data += bytes([esc, 0]) if len(palette) == 1 else bytes([esc, 0, 0])
    return 0x08, len(palette), bytes(data)


def grey_rle(pixels, esc, mixed):
    """Grey mode for grey runs; in mixed mode, colour mode for the rest."""
    data = bytearray()
    mode = 0
    for v, n in runs(pixels):
        is_grey = v == (v & 0xFF) * 0x010101
        want = 0 if is_grey else 1
        if mixed and want != mode:
            data += bytes([esc, 1, want * 7])  # any nonzero byte means colour
            mode = want
        value = bgr(v) if mode else bytes([v & 0xFF])
        while n > 0:
            k = min(n, 254)
            if k >= 2 and (k >= 4 or v & 0xFF == esc):
                data += bytes([esc, k]) + value
            else:
                k = 1
                if v & 0xFF == esc:
                    data += bytes([esc, 0xFF]) + (value[1:] if mode else b"")
                else:
                    data += value
            n -= k
    return (0x0D if mixed else 0x0C), 0, bytes(data + bytes([esc, 0]))


def colour_lz_direct(pixels, method, alpha):
    raw = b"".join(bgr(p) + bytes([a]) for p, a in zip(pixels, alpha))
    return 0x20, 0, LZ[method](raw)


def colour_lz_planar(pixels, method):
    planes = bytes(p & 0xFF for p in pixels) + bytes(p >> 8 & 0xFF for p in pixels) + \
        bytes(p >> 16 & 0xFF for p in pixels)
    return 0x24, 0, LZ[method](planes)


def xor_deltas(pixels, width, height, flags):
    """What a writer stores so that the reader's undo (horizontal pass
    first, then vertical) restores pixels."""
    p = list(pixels)
    if flags & 2:
        for row in range(height - 1, 0, -1):
            for x in range(width):
                p[row * width + x] ^= p[(row - 1) * width + x]
    if flags & 1:
        for row in range(height):
            for x in range(width - 1, 0, -1):
                p[row * width + x] ^= p[row * width + x - 1]
    return p


# --- MG01 planes -------------------------------------------------------------


def plane_raw(alpha):
    return 0x10, 8, 0, bytes(alpha)


def plane_pairs(alpha):
    data = bytearray()
    for v, n in runs(alpha):
        while n > 0:
            k = min(n, 255)
            data += bytes([v, k])
            n -= k
    return 0x11, 8, 0, bytes(data + b"\0\0")


def length_field(n):
    return bytes([n]) if n <= 255 else b"\0" + u16(n)


def plane_nibbles(alpha):
    data = bytearray()
    for v, n in runs(alpha):
        value = v // 17
        if n <= 15 and n % 2:
            data.append(n << 4 | value)
        else:
            data += bytes([value]) + length_field(n)
    return 0x11, 4, 0, bytes(data + b"\0\0\0\0")


def plane_markers(alpha, markers):
    data = bytearray(markers)
    for v, n in runs(alpha):
        if v in markers:
            data += bytes([v]) + length_field(n)
        else:
            data += bytes([v]) * n
    # The last run may be cut at the plane's end: add one that overshoots.
    data += bytes([markers[0], 9])
    return 0x12, 8, len(markers), bytes(data)


# --- Files ---------------------------------------------------------------------


def mg01_entry(flags, width, height, bpp, count, escape, data):
    length = (20 + len(data) + 3) & ~3
    header = u16(0) + bytes([flags, 0]) + u32(0) + u32(length) + u16(width) + u16(height) + \
        bytes([bpp, count, escape, 0])
    return header + data + bytes(length - 20 - len(data))


def mg01_file(entries, version=256):
    table = 32 if version > 256 else 16
    base = table + 4 * len(entries)
    head = b"MG01" + u32(version) + u16(len(entries)) + u16(table) + u16(base) + u16(0)
    if version > 256:
        head += u32(1) + u32(2) + u32(3) + u32(4)
    offsets, body = b"", b""
    for e in entries:
        offsets += u32(len(body))
        body += e
    return head + offsets + body


def tga_file(width, height, depth, rows_bottom_first):
    return bytes([0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0]) + u16(width) + u16(height) + \
        bytes([depth, 8]) + rows_bottom_first


def bmp_file(width, height, bits, pixel_rows, palette=b"", compression=0, masks=b"",
             colors_used=0):
    info = u32(40) + u32(width & 0xFFFFFFFF) + u32(height & 0xFFFFFFFF) + u16(1) + u16(bits) + \
        u32(compression) + u32(len(pixel_rows)) + u32(2835) + u32(2835) + u32(colors_used) + u32(0)
    off = 14 + len(info) + len(masks) + len(palette)
    return b"BM" + u32(off + len(pixel_rows)) + u32(0) + u32(off) + info + masks + palette + \
        pixel_rows


# --- The cases -----------------------------------------------------------------


def cases():
    """Yields (name, file bytes, width, height, storage pixels, has alpha)."""
    w, h = 45, 31
    pixels = make_pixels(w, h, 1, flat_rows=8)
    grey = make_pixels(w, h, 2, grey=True, flat_rows=8)
    mixed = [p if i % 97 < 60 else (p & 0xFF) * 0x010101 for i, p in enumerate(pixels)]
    alpha = make_alpha(w * h, 3)
    esc = 0x30  # the flat colour's blue: escaped literals occur

    colour_methods = {
        "raw": lambda px: colour_raw(px, w, h),
        "rle": lambda px: colour_rle(px, esc),
        "palette1": lambda px: colour_palette(px, esc, [0x906030]),
        "palette3": lambda px: colour_palette(px, esc, [0x906030, px[200], px[300]]),
        "lz1": lambda px: colour_lz_direct(px, 1, [0] * len(px)),
        "lz2": lambda px: colour_lz_direct(px, 2, [0] * len(px)),
        "lz3": lambda px: colour_lz_direct(px, 3, [0] * len(px)),
        "planar1": lambda px: colour_lz_planar(px, 1),
        "planar2": lambda px: colour_lz_planar(px, 2),
        "planar3": lambda px: colour_lz_planar(px, 3),
    }
    for name, encode in colour_methods.items():
        for deltas in (0, 1, 2, 3):
            method, count, data = encode(xor_deltas(pixels, w, h, deltas))
            entry = mg01_entry(method | deltas, w, h, 24, count, esc, data)
            yield f"{name}_d{deltas}", mg01_file([entry]), w, h, pixels, False

    for name, px, mixed_mode in (("grey", grey, False), ("mixed", mixed, True)):
        method, count, data = grey_rle(px, esc, mixed_mode)
        # The vertical delta flag means nothing to the grey methods.
        entry = mg01_entry(method | 2, w, h, 24, count, esc, data)
        yield name, mg01_file([entry]), w, h, px, False

    for method in (0x28, 0x2C):
        entry = mg01_entry(method, w, h, 24, 0, 0, b"\1\2\3\4")
        yield f"empty_{method:x}", mg01_file([entry]), w, h, [0] * (w * h), False

    # LZ direct pixels carry their own alpha; the deltas clear it where they
    # rewrite (every column but the first, every row but the bottom).
    for deltas in (0, 1, 2):
        method, count, data = colour_lz_direct(xor_deltas(pixels, w, h, deltas), 2, alpha)
        entry = mg01_entry(method | deltas, w, h, 24, count, 0, data)
        expected = []
        for k, p in enumerate(pixels):
            row, x = divmod(k, w)
            kept = not (deltas & 1 and x > 0) and not (deltas & 2 and row > 0)
            expected.append(p | (alpha[k] << 24 if kept else 0))
        yield f"lz_alpha_d{deltas}", mg01_file([entry]), w, h, expected, False

    nibble_alpha = make_alpha(w * h, 4, nibbles=True)
    planes = {
        "raw": (alpha, plane_raw(alpha)),
        "pairs": (alpha, plane_pairs(alpha)),
        "nibbles": (nibble_alpha, plane_nibbles(nibble_alpha)),
        "marker1": (alpha, plane_markers(alpha, [0xFF])),
        "marker2": (alpha, plane_markers(alpha, [0xFF, 0xF6])),
        "marker3": (alpha, plane_markers(alpha, [0x00, 0xFF, 0xF6])),
    }
    method, count, data = colour_rle(pixels, esc)
    colour_entry = mg01_entry(method | 0x80, w, h, 24, count, esc, data)
    for name, (a, (flags, bpp, count, data)) in planes.items():
        plane = mg01_entry(flags, w, h, bpp, count, 0, data)
        expected = [p | v << 24 for p, v in zip(pixels, a)]
        yield f"plane_{name}", mg01_file([colour_entry, plane]), w, h, expected, True
        if name == "pairs":
            yield "version_257", mg01_file([colour_entry, plane], 257), w, h, expected, True
    yield "flag_without_plane", mg01_file([colour_entry]), w, h, pixels, False

    # TGA: 32-bit rows bottom first; other depths load blank.
    tga_pixels = [p | a << 24 for p, a in zip(pixels, alpha)]
    yield "tga32", tga_file(w, h, 32, b"".join(u32(p) for p in tga_pixels)), w, h, tga_pixels, True
    yield "tga24", tga_file(w, h, 24, b"".join(bgr(p) for p in pixels)), w, h, [0] * (w * h), False

    yield from bmp_cases()


def bmp_rows(values, width, height, pack):
    """Rows bottom first, each padded to four bytes."""
    out = b""
    for row in range(height):
        line = pack(values[row * width:(row + 1) * width])
        out += line + bytes(-len(line) % 4)
    return out


def bmp_cases():
    w, h = 13, 7
    rng = random.Random(9)
    palette_colours = [rng.randrange(1 << 24) for _ in range(16)]
    palette = b"".join(bgr(c) + b"\0" for c in palette_colours)
    idx = [rng.randrange(16) for _ in range(w * h)]
    nibbles = lambda vals: bytes((vals[i] << 4) | (vals[i + 1] if i + 1 < len(vals) else 0)
                                 for i in range(0, len(vals), 2))
    yield "bmp4", bmp_file(w, h, 4, bmp_rows(idx, w, h, nibbles), palette), w, h, \
        [palette_colours[i] for i in idx], False
    idx8 = [rng.randrange(16) for _ in range(w * h)]
    yield "bmp8", bmp_file(w, h, 8, bmp_rows(idx8, w, h, bytes), palette, colors_used=16), w, h, \
        [palette_colours[i] for i in idx8], False

    words = [rng.randrange(1 << 16) for _ in range(w * h)]
    pack16 = lambda vals: b"".join(u16(v) for v in vals)
    as555 = [(v >> 10 & 31) << 19 | (v >> 5 & 31) << 11 | (v & 31) << 3 for v in words]
    as565 = [(v >> 11 & 31) << 19 | (v >> 5 & 63) << 10 | (v & 31) << 3 for v in words]
    yield "bmp16_555", bmp_file(w, h, 16, bmp_rows(words, w, h, pack16)), w, h, as555, False
    masks565 = u32(0xF800) + u32(0x07E0) + u32(0x001F)
    yield "bmp16_565", bmp_file(w, h, 16, bmp_rows(words, w, h, pack16), compression=3,
                                masks=masks565), w, h, as565, False

    px = [rng.randrange(1 << 32) for _ in range(w * h)]
    yield "bmp24", bmp_file(w, h, 24, bmp_rows(px, w, h, lambda v: b"".join(bgr(p) for p in v))), \
        w, h, [p & 0xFFFFFF for p in px], False
    yield "bmp32", bmp_file(w, h, 32, bmp_rows(px, w, h, lambda v: b"".join(u32(p) for p in v))), \
        w, h, px, False
    rgbx = lambda v: b"".join(bytes([p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, 0x77]) for p in v)
    masks_rgb = u32(0xFF) + u32(0xFF00) + u32(0xFF0000)
    yield "bmp32_rgbx", bmp_file(w, h, 32, bmp_rows(px, w, h, rgbx), compression=3,
                                 masks=masks_rgb), w, h, [p & 0xFFFFFF for p in px], False
    # Top-down: the first stored row is the top one.
    top_down = bmp_rows(px[::-1], w, h, lambda v: b"".join(bgr(p) for p in v[::-1]))
    yield "bmp24_top_down", bmp_file(w, -h, 24, top_down), w, h, [p & 0xFFFFFF for p in px], False
    yield "bmp1", bmp_file(w, h, 1, bytes(4 * h), b"\0\0\0\0\xff\xff\xff\0"), w, h, \
        [0] * (w * h), False


def raw_expected(width, height, pixels):
    out = u32(width) + u32(height)
    for row in range(height - 1, -1, -1):
        out += b"".join(u32(p) for p in pixels[row * width:(row + 1) * width])
    return out


def main():
    lumitool, workdir = sys.argv[1], Path(sys.argv[2])
    workdir.mkdir(parents=True, exist_ok=True)
    failures = 0
    count = 0
    for name, data, width, height, pixels, has_alpha in cases():
        count += 1
        path = workdir / f"{name}.pic"
        out = workdir / f"{name}.raw"
        path.write_bytes(data)
        info = subprocess.run([lumitool, "info", str(path)], capture_output=True, text=True)
        decode = subprocess.run([lumitool, "decode", "--raw", str(path), str(out)],
                                capture_output=True, text=True)
        expected_info = f"{width} {height} {int(has_alpha)}"
        problems = []
        if info.returncode != 0 or info.stdout.strip() != expected_info:
            problems.append(f"info gave {info.stdout.strip()!r} {info.stderr.strip()!r}, "
                            f"expected {expected_info!r}")
        if decode.returncode != 0:
            problems.append(f"decode failed: {decode.stderr.strip()}")
        else:
            got = out.read_bytes()
            want = raw_expected(width, height, pixels)
            if got != want:
                first = next((i for i in range(min(len(got), len(want))) if got[i] != want[i]),
                             min(len(got), len(want)))
                problems.append(f"raw pixels differ from byte {first} "
                                f"(got {len(got)} bytes, expected {len(want)})")
        for problem in problems:
            print(f"{name}: {problem}")
        failures += bool(problems)
    print(f"{count - failures} of {count} pictures decode as written")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
