#!/usr/bin/env python3
"""Writes archives, tables, scrambled containers and settings files with an
implementation of the formats of its own (nothing here shares code with the
engine), then checks that lumitool reads every one back exactly, that what
lumitool packs has the layout this script expects, and that malformed files
give a one-line error and a nonzero exit instead of a crash.

usage: independent_formats.py --lumitool PATH --work DIR
"""

import argparse
import json
import os
import shutil
import struct
import subprocess
import sys

# --- Primitives -----------------------------------------------------------------


def pi_words(count):
    """The first count 32-bit words of pi's fractional hexadecimal digits
    (Machin's formula in integer arithmetic)."""
    bits = count * 32 + 64
    one = 1 << bits

    def arctan_inverse(x):
        total = term = one // x
        n, sign = 1, -1
        while term:
            term //= x * x
            n += 2
            total += sign * (term // n)
            sign = -sign
        return total

    fraction = (16 * arctan_inverse(5) - 4 * arctan_inverse(239)) - 3 * one
    fraction >>= 64
    return [(fraction >> (32 * (count - 1 - i))) & 0xFFFFFFFF for i in range(count)]


PI = pi_words(18 + 4 * 256)
MASK = 0xFFFFFFFF


class Blowfish:
    """Blowfish with the block halves read and written little-endian."""

    def __init__(self, key):
        self.p = PI[:18]
        self.s = [PI[18 + 256 * i : 18 + 256 * (i + 1)] for i in range(4)]
        if key:
            k = 0
            for i in range(18):
                word = 0
                for _ in range(4):
                    word = (word << 8) | key[k % len(key)]
                    k += 1
                self.p[i] ^= word
        left = right = 0
        for i in range(0, 18, 2):
            left, right = self.encipher_words(left, right)
            self.p[i], self.p[i + 1] = left, right
        for box in self.s:
            for i in range(0, 256, 2):
                left, right = self.encipher_words(left, right)
                box[i], box[i + 1] = left, right

    def f(self, x):
        s = self.s
        return (((s[0][x >> 24] + s[1][(x >> 16) & 255]) & MASK) ^ s[2][(x >> 8) & 255]) + s[3][
            x & 255
        ] & MASK

    def encipher_words(self, left, right):
        for i in range(16):
            left ^= self.p[i]
            right ^= self.f(left)
            left, right = right, left
        left, right = right, left
        return left ^ self.p[17], right ^ self.p[16]

    def decipher_words(self, left, right):
        for i in range(17, 1, -1):
            left ^= self.p[i]
            right ^= self.f(left)
            left, right = right, left
        left, right = right, left
        return left ^ self.p[0], right ^ self.p[1]

    def encipher(self, data):
        """Whole 8-byte blocks; a partial block at the end stays as it is."""
        out = bytearray(data)
        for at in range(0, len(out) - len(out) % 8, 8):
            left, right = struct.unpack_from("<II", out, at)
            struct.pack_into("<II", out, at, *self.encipher_words(left, right))
        return bytes(out)


assert Blowfish(bytes(8)).encipher_words(0, 0) == (0x4EF99745, 0x6198DD78)


def key_stream(start, data):
    state = start & MASK
    out = bytearray()
    for b in data:
        state = (state * 214013 + 2531011) & MASK
        out.append(b ^ ((state >> 16) & 0xFF))
    return bytes(out)


def crc16(data):
    crc = 0xFFFF
    for b in data:
        crc ^= b << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) & 0xFFFF if crc & 0x8000 else (crc << 1) & 0xFFFF
    return crc


assert crc16(b"123456789") == 0x29B1

# --- Writers ----------------------------------------------------------------------


def bucket_of(name):
    """Low byte of the first UTF-16 code unit."""
    return name.encode("utf-16-le")[0]


def scramble(method, data, maker_key):
    if method == 1:
        return key_stream(len(data) // 8, data)
    if method == 2:
        return bytes(b ^ 0xAA for b in data)
    if method == 3:
        return Blowfish(maker_key).encipher(data)
    return data


def write_archive(entries, maker=b""):
    """entries: (name, plain bytes, method). Sorted by bucket, then by the
    bytes of the name, so that every bucket is one run."""
    ordered = sorted(entries, key=lambda e: (bucket_of(e[0]), e[0].encode("utf-8")))
    n = len(ordered)
    data_offset = 32 + 1024 + 48 * n
    buckets = [[0, 0] for _ in range(256)]
    table = bytearray()
    data = bytearray()
    for index, (name, plain, method) in enumerate(ordered):
        b = buckets[bucket_of(name)]
        if b[1] == 0:
            b[0] = index
        b[1] += 1
        stored = scramble(method, plain, maker)
        encoded = name.encode("utf-8")
        assert len(encoded) < 32
        table += struct.pack("<IIII", data_offset + len(data), len(stored), method, 0)
        table += encoded.ljust(32, b"\0")
        data += stored
    header = b"IDX2" + struct.pack("<HHII", 0x0201, n, data_offset + len(data), data_offset)
    header += maker.ljust(16, b"\0")
    return header + b"".join(struct.pack("<HH", *b) for b in buckets) + table + data


def container(text, path_text, seed):
    """The scrambled table container around ANSI text."""
    plain = text + b"\0" * (-len(text) % 8)
    units = path_text[-8:] if len(path_text) > 8 else path_text
    key = units.encode("utf-16-le").ljust(16, b"\0")
    mixed = key_stream(seed, plain)
    check = crc16(mixed)
    body = Blowfish(key).encipher(mixed)
    return struct.pack("<IHHHHI", 0x4E454C00, 0x0100, 0, seed, check, len(plain)) + key + body


def table_text(rows):
    return "".join("\t".join(row) + "\r\n" for row in rows)


def settings_binary(section, entries, count=None):
    """entries: (type, key, value)."""
    out = bytearray(b"B" + bytes(7))
    out += struct.pack("<I", len(entries) if count is None else count) + bytes(4)
    out += struct.pack("<i", len(section)) + section
    for kind, key, value in entries:
        out += struct.pack("<BBi", kind, 0x5A, len(key)) + key
        if kind == 1:
            out += struct.pack("<i", value)
        elif kind == 2:
            out += struct.pack("<f", value)
        elif kind == 3:
            out += struct.pack("<I", 0x12340000 | len(value)) + value
    return bytes(out)


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


# --- Checks --------------------------------------------------------------------------


class Checker:
    def __init__(self, tool, work):
        self.tool = tool
        self.work = work
        self.failures = []
        self.count = 0

    def path(self, name):
        return os.path.join(self.work, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def run(self, *args):
        return subprocess.run([self.tool, *args], capture_output=True, timeout=60)

    def expect(self, label, ok, detail=""):
        self.count += 1
        if not ok:
            self.failures.append(f"{label}: {detail}")

    def ok(self, label, *args):
        """Runs lumitool, expects success, returns stdout."""
        result = self.run(*args)
        self.expect(
            label,
            result.returncode == 0 and result.stderr == b"",
            f"exit {result.returncode}, stderr {result.stderr!r}",
        )
        return result.stdout

    def fails(self, label, *args, code=None):
        result = self.run(*args)
        lines = result.stderr.decode("utf-8", "replace").splitlines()
        good = result.returncode > 0 and len(lines) == 1 and lines[0].startswith("lumitool: ")
        if code is not None:
            good = good and result.returncode == code
        self.expect(label, good, f"exit {result.returncode}, stderr {result.stderr!r}")


def check_archives(c):
    plain_entries = [
        ("analog_01.mg", bytes(range(256)) * 3, 0),
        ("voice_00.wav", b"RIFF" + bytes(i * 7 & 255 for i in range(997)), 1),
        ("holidays.txt", "0101\t元旦\r\n".encode("utf-8"), 2),
        ("parts_d01.mg", bytes((i * 13 + 5) & 255 for i in range(203)), 3),  # 25 blocks + 3 bytes
        ("tiny3.bin", b"abc", 3),  # shorter than one block
        ("empty.dat", b"", 1),
        ("中文字.txt", "一二三".encode("utf-8"), 2),
        ("-minus.txt", b"shares bucket 0x2D", 0),
        ("abcdefghijklmnopqrstuvwxyz01234", b"31-byte name", 0),
    ]
    for maker in (b"PyMaker", b"", b"SixteenByteMaker"):
        archive = c.write("python.idx2", write_archive(plain_entries, maker))
        ordered = sorted(plain_entries, key=lambda e: (bucket_of(e[0]), e[0].encode("utf-8")))
        listing = "".join(f"{n}\t{len(d)}\t{m}\n" for n, d, m in ordered).encode("utf-8")
        got = c.ok(f"list (maker {maker})", "list", archive)
        c.expect(f"list output (maker {maker})", got == listing, f"{got!r}")
        for name, data, method in plain_entries:
            got = c.ok(f"cat {name}", "cat", archive, name)
            c.expect(f"cat {name} (method {method}, maker {maker})", got == data, f"{got[:40]!r}")
        out = c.path("unpacked")
        shutil.rmtree(out, ignore_errors=True)
        c.ok("unpack", "unpack", archive, out)
        for name, data, _ in plain_entries:
            try:
                with open(os.path.join(out, name), "rb") as f:
                    c.expect(f"unpacked {name}", f.read() == data)
            except OSError as error:
                c.expect(f"unpacked {name}", False, str(error))

    archive = c.write("python.idx2", write_archive(plain_entries, b"PyMaker"))
    c.fails("cat: case differs", "cat", archive, "Analog_01.mg", code=1)
    c.fails("cat: folder part", "cat", archive, "x/analog_01.mg", code=1)
    c.fails("cat: 32-byte name", "cat", archive, "abcdefghijklmnopqrstuvwxyz012345", code=1)
    c.fails("cat: missing", "cat", archive, "nothing.mg", code=1)

    # Misfiled: the non-ASCII name under the first byte of its UTF-8 form.
    misfiled = bytearray(write_archive([("中.txt", b"x", 0)]))
    struct.pack_into("<HH", misfiled, 32 + 4 * 0x2D, 0, 0)
    struct.pack_into("<HH", misfiled, 32 + 4 * 0xE4, 0, 1)
    misfiled = c.write("misfiled.idx2", bytes(misfiled))
    c.fails("cat: misfiled non-ASCII name", "cat", misfiled, "中.txt", code=1)
    c.expect("list: misfiled", c.ok("list misfiled", "list", misfiled) == "中.txt\t1\t0\n".encode())

    # Malformed archives.
    full = write_archive(plain_entries[:3], b"m")
    for cut in (0, 20, 1055, 1056 + 48 * 3 - 1):
        bad = c.write("cut.idx2", full[:cut])
        c.fails(f"list: tables cut at {cut}", "list", bad)
        c.fails(f"cat: tables cut at {cut}", "cat", bad, "analog_01.mg")
    out_of_range = bytearray(full)
    struct.pack_into("<I", out_of_range, 32 + 1024 + 4, len(full))  # first entry's size
    bad = c.write("range.idx2", bytes(out_of_range))
    first = sorted(plain_entries[:3], key=lambda e: (bucket_of(e[0]), e[0].encode()))[0][0]
    c.fails("cat: entry out of range", "cat", bad, first, code=1)
    c.fails("unpack: entry out of range", "unpack", bad, c.path("never"))
    c.expect("unpack wrote nothing", not os.path.exists(c.path("never")))
    c.ok("list: entry out of range is listed", "list", bad)
    traversal = bytearray(write_archive([("abc", b"evil", 0)]))
    traversal[32 + 1024 + 16 : 32 + 1024 + 16 + 6] = b"../abc"
    bad = c.write("traversal.idx2", bytes(traversal))
    c.fails("unpack: folder in a name", "unpack", bad, c.path("trav/inner"))
    c.expect("unpack: nothing outside", not os.path.exists(c.path("trav/abc")))
    c.fails("list: missing file", "list", c.path("no-such.idx2"))
    c.fails("list: a folder", "list", c.work)


def read_archive(data):
    """An independent reader of what lumitool packs."""
    magic, version, n, total, data_offset = struct.unpack_from("<4sHHII", data, 0)
    maker = data[16:32]
    buckets = [struct.unpack_from("<HH", data, 32 + 4 * b) for b in range(256)]
    entries = []
    for i in range(n):
        offset, size, method, reserved = struct.unpack_from("<IIII", data, 1056 + 48 * i)
        name = data[1056 + 48 * i + 16 : 1056 + 48 * i + 48].split(b"\0")[0]
        entries.append((name.decode("utf-8"), offset, size, method, reserved))
    return magic, version, n, total, data_offset, maker, buckets, entries


def check_pack(c):
    src = c.path("skin")
    shutil.rmtree(src, ignore_errors=True)
    os.makedirs(os.path.join(src, "subfolder"))
    files = {
        "b.wav": b"RIFF....WAVE",
        "a.mg": b"MG01" + bytes(50),
        "Z.mg": b"upper case sorts first",
        "中.txt": "字".encode("utf-8"),
        "-dash": "same bucket as 中".encode("utf-8"),
        "empty": b"",
    }
    for name, data in files.items():
        with open(os.path.join(src, name), "wb") as f:
            f.write(data)
    with open(os.path.join(src, "subfolder", "skipped"), "wb") as f:
        f.write(b"not packed")
    out = c.path("packed.idx2")
    c.ok("pack", "pack", src, out, "--maker", "SkinMaker")
    with open(out, "rb") as f:
        data = f.read()
    magic, version, n, total, data_offset, maker, buckets, entries = read_archive(data)
    c.expect("pack: magic", magic == b"IDX2")
    c.expect("pack: version", version == 0x0201)
    c.expect("pack: count", n == len(files), f"{n}")
    c.expect("pack: total size", total == len(data))
    c.expect("pack: data offset", data_offset == 32 + 1024 + 48 * n)
    c.expect("pack: maker", maker == b"SkinMaker".ljust(16, b"\0"))
    names = [e[0] for e in entries]
    expected = sorted(files, key=lambda k: (bucket_of(k), k.encode("utf-8")))
    c.expect("pack: order", names == expected, f"{names}")
    for b in range(256):
        members = [i for i, name in enumerate(names) if bucket_of(name) == b]
        want = (members[0], len(members)) if members else (0, 0)
        c.expect(f"pack: bucket {b}", buckets[b] == want, f"{buckets[b]} != {want}")
    at = data_offset
    for name, offset, size, method, reserved in entries:
        c.expect(f"pack: {name} placed", offset == at and method == 0 and reserved == 0)
        c.expect(f"pack: {name} bytes", data[offset : offset + size] == files[name])
        at += size
    c.fails("pack: maker too long", "pack", src, c.path("x.idx2"), "--maker", "x" * 17)
    c.fails("pack: missing folder", "pack", c.path("no-such-folder"), c.path("x.idx2"))
    c.fails("pack: unknown option", "pack", src, c.path("x.idx2"), "--level", "9")
    long_src = c.path("longnames")
    shutil.rmtree(long_src, ignore_errors=True)
    os.makedirs(long_src)
    with open(os.path.join(long_src, "n" * 32), "wb") as f:
        f.write(b"x")
    c.fails("pack: 32-byte name", "pack", long_src, c.path("x.idx2"))


def utf16(text, mark=True):
    return (b"\xff\xfe" if mark else b"") + text.encode("utf-16-le")


def check_tables(c):
    rows = [["0101", "元旦", "New Year's Day"], ["0211", "建国記念の日", ""], ["x", "", "z"]]
    text = table_text(rows)
    cases = [
        ("ansi.txt", text.encode("utf-8"), None, rows),
        ("gbk.txt", table_text([["中文", "GBK"]]).encode("gbk"), None, [["中文", "GBK"]]),
        ("utf16.txt", utf16(text), None, rows),
        ("utf16-nomark.txt", utf16(text, False), None, rows),
        ("utf16-read2.txt", utf16(text), "2", rows),
        ("ansi-read1.txt", text.encode("utf-8"), "1", rows),
        ("short-row.txt", b"a\tb\tc\r\nd\r\n", None, [["a", "b", "c"], ["d", None, None]]),
        ("spill.txt", b"a\tb\r\nc\td\te\r\nf\tg\r\n", None, [["a", "b"], ["c", "d"], ["e", None]]),
        ("no-last-crlf.txt", b"a\tb\r\nc\td", None, [["a", "b"]]),
        ("lf-only.txt", b"a\tb\nc\td\n", None, [["a", "b\nc"], ["d\n", None]]),
        ("empty.txt", b"", None, []),
        ("controls.txt", 'q"\\\x01\x7f\tend\r\n'.encode("utf-8"), None, [['q"\\\x01\x7f', "end"]]),
    ]
    for seed, path_text in ((0, "/home/u/.local/share/LumiMonthly/sch202401.dat"),
                            (12345, "a.dat"), (32767, "中文.dat")):
        name = f"scrambled-{seed}.dat"
        cases.append((name, container(text.encode("utf-8"), path_text, seed), None, rows))
    cases.append(("scrambled-read3.dat", container(text.encode("utf-8"), "b", 1), "3", rows))
    cases.append(("scrambled-empty.dat", container(b"", "x", 77), None, []))
    for name, data, read_format, expected_rows in cases:
        path = c.write(name, data)
        args = ["table", path] + (["--read-format", read_format] if read_format else [])
        got = c.ok(f"table {name}", *args)
        columns = len(expected_rows[0]) if expected_rows else 1
        expected = {"created": True, "rows": len(expected_rows), "columns": columns,
                    "cells": expected_rows}
        want = (json.dumps(expected, ensure_ascii=False) + "\n").encode("utf-8")
        c.expect(f"table {name} output", got == want, f"\n got  {got!r}\n want {want!r}")

    good = bytearray(container(text.encode("utf-8"), "k.dat", 99))
    empty = (json.dumps({"created": True, "rows": 0, "columns": 1, "cells": []}) + "\n").encode()
    for label, data in (
        ("check value", bytes(good[:10]) + bytes([good[10] ^ 1]) + bytes(good[11:])),
        ("data byte", bytes(good[:-1]) + bytes([good[-1] ^ 0x80])),
        ("key byte", bytes(good[:20]) + bytes([good[20] ^ 4]) + bytes(good[21:])),
        ("cut data", bytes(good[:-8])),
        ("cut header", bytes(good[:20])),
        ("length too large", bytes(good[:12]) + struct.pack("<I", 0xFFFFFFF8) + bytes(good[16:])),
    ):
        path = c.write("bad-container.dat", data)
        got = c.ok(f"table: container {label}", "table", path)
        c.expect(f"table: container {label} is empty", got == empty, f"{got!r}")

    garbage = bytes((i * 7919 + 13) & 255 for i in range(3000))
    path = c.write("garbage.dat", garbage)
    for read_format in ("0", "1", "2", "3"):
        got = c.ok(f"table: garbage as {read_format}", "table", path, "--read-format", read_format)
        try:
            json.loads(got)
            c.expect(f"table: garbage as {read_format} is JSON", True)
        except ValueError:
            c.expect(f"table: garbage as {read_format} is JSON", False, f"{got[:80]!r}")
    c.fails("table: missing file", "table", c.path("no-such.txt"))
    c.fails("table: bad read format", "table", path, "--read-format", "9")
    c.fails("table: read format not a number", "table", path, "--read-format", "two")


def check_settings(c):
    text = (
        b"[LumiClock]\r\n; alarm\r\nAlermEnable0=1\r\nAlermHour0 = 7\r\nScale=1.5f\r\n"
        b"Half=.5f\r\nNeg=-7\r\nPlain=1.5\r\nSound=\"C:\\voices\\a b.wav\"\r\nName=abc\r\n"
        b"Note=value;kept\r\nEmpty=\"\"\r\n"
        + "Chinese=\"中文\"\r\n".encode("utf-8")
    )
    expected_text = {
        "section": "LumiClock",
        "entries": [
            ("AlermEnable0", "int", 1), ("AlermHour0", "int", 7), ("Chinese", "string", "中文"),
            ("Empty", "string", ""), ("Half", "float", 0.5), ("Name", "string", "abc"),
            ("Neg", "int", -7), ("Note", "string", "value;kept"), ("Plain", "int", 1),
            ("Scale", "float", 1.5), ("Sound", "string", "C:\\voices\\a b.wav"),
        ],
    }
    binary = settings_binary(
        b"LumiClock2",
        [(1, b"Hour", -3), (2, b"Gain", 0.1), (3, b"File", "声.wav".encode("utf-8")),
         (7, b"Odd", None), (1, b"Hour", 8), (3, b"", b"")],
    )
    expected_binary = {
        "section": "LumiClock2",
        "entries": [("", "string", ""), ("File", "string", "声.wav"), ("Gain", "float", f32(0.1)),
                    ("Hour", "int", 8), ("Odd", "none", None)],
    }
    truncated = settings_binary(b"S", [(1, b"A", 5), (3, b"B", b"long text")], count=1000)[:-4]
    expected_truncated = {"section": "S", "entries": [("A", "int", 5)]}
    for name, data, expected in (
        ("text.ini", text, expected_text),
        ("binary.ini", binary, expected_binary),
        ("truncated.ini", truncated, expected_truncated),
        ("header-only.ini", b"[X]", {"section": "X", "entries": []}),
        ("empty.ini", b"", {"section": "", "entries": []}),
    ):
        path = c.write(name, data)
        got = c.ok(f"settings {name}", "settings", path)
        try:
            parsed = json.loads(got)
        except ValueError:
            c.expect(f"settings {name} is JSON", False, f"{got!r}")
            continue
        c.expect(f"settings {name} section", parsed["section"] == expected["section"])
        entries = [(e["key"], e["type"], e["value"]) for e in parsed["entries"]]
        want = expected["entries"]
        same = len(entries) == len(want) and all(
            k == wk and t == wt and (f32(v) == wv if t == "float" else v == wv)
            for (k, t, v), (wk, wt, wv) in zip(entries, want)
        )
        c.expect(f"settings {name} entries", same, f"\n got  {entries}\n want {want}")
    # Floats print as floats; the output is stable.
    got = c.ok("settings format", "settings", c.path("text.ini"))
    c.expect("settings format", b'{"key": "Scale", "type": "float", "value": 1.5}' in got, f"{got!r}")
    garbage = bytes((i * 104729 + 7) & 255 for i in range(4000))
    for first in (b"[", b"\x01"):
        path = c.write("garbage.ini", first + garbage)
        got = c.ok(f"settings: garbage after {first!r}", "settings", path)
        try:
            json.loads(got)
            c.expect(f"settings: garbage after {first!r} is JSON", True)
        except ValueError:
            c.expect(f"settings: garbage after {first!r} is JSON", False, f"{got[:80]!r}")
    c.fails("settings: missing file", "settings", c.path("no-such.ini"))


def check_usage(c):
    c.fails("no arguments to list", "list")
    c.fails("too many arguments to cat", "cat", "a", "b", "c")
    result = c.run("no-such-command")
    c.expect("unknown command", result.returncode not in (0,) and result.returncode > 0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lumitool", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    c = Checker(args.lumitool, args.work)
    for check in (check_archives, check_pack, check_tables, check_settings, check_usage):
        check(c)
    for failure in c.failures:
        print("FAILED", failure)
    print(f"{c.count - len(c.failures)} of {c.count} checks passed")
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main())
