#!/usr/bin/env python3
"""Checks the built archives against what the programs load from them.

    check_archives.py LUMITOOL NAME=ARCHIVE...

For every archive: the entry list is exactly the expected names; every image
has its exact pixel size (lumitool info) and, where a window is shaped by it
or a blend needs it, an alpha plane; every cell, tile and strip the programs
cut from a sheet has visible pixels, and the places the programs draw onto
are opaque; every sound is 16-bit PCM mono RIFF WAVE at 22050 Hz, never
clipped, alarm calls last at least 8 seconds and the voices share one
loudness. Prints every problem; exit 1 when there is any.
"""

import math
import struct
import subprocess
import sys
import tempfile
import os

DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
VOICES = ["pell", "dara", "sorn", "hanet", "brisa"]
ALARMS = ["pell-50.wav", "dara-50.wav", "sorn-52.wav", "hanet-49.wav", "brisa-47.wav"]


def rects(*items):
    return list(items)


# Cells of each sheet that must hold something: (x, y, w, h).
def monthly_parts():
    cells = [((d - 1) % 10 * 25, (d - 1) // 10 * 20, 25, 20) for d in range(1, 32)]
    cells += [(16 * digit, 80, 16, 20) for digit in range(10)]
    cells += [(176, 80, 25, 20), (211, 72, 28, 24)]
    return cells


def button_cells(cell_h):
    return [(x, y, 32, cell_h) for x in (0, 32, 64) for y in (0, cell_h, 2 * cell_h)]


def weekday_cells():
    return ([(8 * d, 0, 8, 10) for d in range(10)] + [(83, 0, 4, 10)] +
            [(0, 12 + 16 * w, 80, 14) for w in range(7)])


def hand_strips(width, height, clips):
    # the hand or shadow must reach up from the pivot inside its clip
    cells = []
    for left, top, right, bottom in clips:
        cells.append((left, top, right - left, height // 2 - top))
    return cells


CLIPS_200 = [(2, 8, 30, 110), (38, 38, 60, 106), (66, 8, 94, 110), (102, 38, 124, 106)]
CLIPS_128 = [(8, 18, 24, 68), (40, 32, 56, 60), (72, 18, 88, 68), (104, 32, 120, 60)]


def d01_cells():
    return [(10 * d, 0, 10, 16) for d in range(10)] + [(0, 16 + 25 * w, 50, 25) for w in range(7)]


def d00_cells():
    return ([(20 * d, 0, 20, 40) for d in range(10)] + [(200, 0, 20, 40)] +
            [(10 * d, 40, 10, 11) for d in range(10)] + [(102, 40, 5, 11)] +
            [(0, 61 + 12 * w, 64, 12) for w in range(7)])


def d02_cells():
    return [(40 * d, 0, 40, 44) for d in range(10)] + [(400, 0, 40, 44), (0, 50, 40, 20), (40, 50, 40, 20)]


def d03_cells():
    return ([(20 * d, 0, 20, 26) for d in range(10)] + [(10 * d, 28, 10, 16) for d in range(10)] +
            [(0, 46, 32, 12), (32, 46, 32, 12)] + [(10 * d, 60, 10, 12) for d in range(10)] +
            [(0, 76 + 15 * w, 80, 14) for w in range(7)])


# Areas of a picture that must be opaque because the program draws onto them
# with blends that keep the destination's alpha.
FACE1_OPAQUE = [(cx - 5, cy - 5, 10, 10) for cx, cy in
                ((55, 28), (64, 23), (78, 18), (87, 16), (102, 15), (111, 15), (77, 42), (86, 39),
                 (101, 36), (110, 36), (127, 39), (136, 42))] + [(100, 100, 1, 1)]
DAY_PAGE_OPAQUE = [(133, 0, 56, 10), (120, 174, 80, 10)]


def expected_archives():
    """name -> {entry: (width, height, needs alpha, cells, opaque areas) or "wav"}"""
    voices = {f"{v}-{n}.wav": "wav" for v in VOICES for n in range(12, 24)}
    voices.update({a: "wav" for a in ALARMS})
    monthly = {f"{m:02d}.mg": (369, 222, False, [], []) for m in range(1, 13)}
    monthly.update({
        "cal_parts01.mg": (250, 100, True, monthly_parts(), []),
        "cal_button01.mg": (96, 72, True, button_cells(24), []),
        "win_schedule.mg": (304, 222, True, [], []),
        "snd_se001.wav": "wav",
    })
    daily = {f"{m:02d}{d:02d}.mg": (320, 184, True, [], DAY_PAGE_OPAQUE)
             for m in range(1, 13) for d in range(1, DAYS[m - 1] + 1)}
    daily.update({
        "weekday.mg": (88, 122, True, weekday_cells(), []),
        "cal_button01.mg": (96, 96, True, button_cells(32), []),
        "snd_se001.wav": "wav",
    })
    faces = {
        "clock1": {"analog_01.mg": (200, 200, True, [], FACE1_OPAQUE),
                   "parts_03.mg": (200, 200, True, hand_strips(200, 200, CLIPS_200), []),
                   "parts_d01.mg": (100, 191, True, d01_cells(), [])},
        "clock2": {"analog_02.mg": (132, 400, True, [], [(68, 336, 1, 1)]),
                   "parts_02.mg": (128, 128, True, hand_strips(128, 128, CLIPS_128), [])},
        "clock3": {"digital_01.mg": (200, 250, True, [], [(6, 87, 82, 40), (15, 131, 67, 23)]),
                   "parts_d00.mg": (220, 145, True, d00_cells(), [])},
        "clock4": {"digital_02.mg": (267, 200, True, [], [(29, 136, 217, 49)]),
                   "parts_d02.mg": (440, 70, True, d02_cells(), [])},
        "clock5": {"analog_03.mg": (200, 200, True, [], [(100, 100, 1, 1)]),
                   "parts_03.mg": (200, 200, True, hand_strips(200, 200, CLIPS_200), [])},
        "clock6": {"analog_04.mg": (200, 200, True, [], [(100, 100, 1, 1)]),
                   "parts_03.mg": (200, 200, True, hand_strips(200, 200, CLIPS_200), [])},
        "clock7": {"digital_03.mg": (350, 105, True, [], [(10, 7, 330, 26)]),
                   "parts_d03.mg": (280, 181, True, d03_cells(), [])},
    }
    result = {"monthly": monthly, "daily": daily}
    for name, images in faces.items():
        result[name] = dict(images, **voices)
    return result


def run(argv, binary=False):
    result = subprocess.run(argv, capture_output=True)
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(argv)}: {result.stderr.decode(errors='replace').strip()}")
    return result.stdout if binary else result.stdout.decode()


def decode_alpha(lumitool, image):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "raw")
        run([lumitool, "decode", "--raw", image, out])
        data = open(out, "rb").read()
    width, height = struct.unpack_from("<II", data, 0)
    return width, data[8 + 3::4]


def check_image(lumitool, archive, name, wanted_image, problems):
    width, height, needs_alpha, cells, opaque = wanted_image
    info = run([lumitool, "info", f"{archive}:{name}"]).split()
    if len(info) != 3 or (int(info[0]), int(info[1])) != (width, height):
        problems.append(f"{name}: size {' '.join(info[:2])}, expected {width} {height}")
        return
    if needs_alpha and info[2] != "1":
        problems.append(f"{name}: has no alpha plane")
    if not cells and not opaque:
        return
    w, alpha = decode_alpha(lumitool, f"{archive}:{name}")
    for x, y, cw, ch in cells:
        if not any(alpha[(y + j) * w + x + i] for j in range(ch) for i in range(cw)):
            problems.append(f"{name}: the cell at ({x}, {y}) {cw}x{ch} is empty")
    for x, y, cw, ch in opaque:
        if any(alpha[(y + j) * w + x + i] != 255 for j in range(ch) for i in range(cw)):
            problems.append(f"{name}: the area at ({x}, {y}) {cw}x{ch} is not opaque")


def wav_facts(data):
    """(format, channels, rate, bits, samples) of a RIFF WAVE file, or a reason."""
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        return "not a RIFF WAVE file"
    pos, fmt, samples = 12, None, None
    while pos + 8 <= len(data):
        chunk, size = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        body = data[pos + 8:pos + 8 + size]
        if chunk == b"fmt ":
            fmt = struct.unpack_from("<HHIIHH", body, 0)
        elif chunk == b"data":
            samples = struct.unpack(f"<{len(body) // 2}h", body[:len(body) // 2 * 2])
        pos += 8 + size + (size & 1)
    if fmt is None or samples is None:
        return "no fmt or data chunk"
    return fmt[0], fmt[1], fmt[2], fmt[5], samples


def check_sound(lumitool, archive, name, problems, loudness):
    facts = wav_facts(run([lumitool, "cat", archive, name], binary=True))
    if isinstance(facts, str):
        problems.append(f"{name}: {facts}")
        return
    tag, channels, rate, bits, samples = facts
    if (tag, channels, rate, bits) != (1, 1, 22050, 16):
        problems.append(f"{name}: format {tag}, {channels} channels, {rate} Hz, {bits} bits")
        return
    if not samples:
        problems.append(f"{name}: no samples")
        return
    peak = max(abs(s) for s in samples)
    if peak >= 32767:
        problems.append(f"{name}: clips (peak {peak})")
    seconds = len(samples) / rate
    if name in ALARMS and seconds < 8.0:
        problems.append(f"{name}: lasts {seconds:.2f} s, an alarm call needs at least 8 s")
    if name != "snd_se001.wav":
        rms = math.sqrt(sum(s * s for s in samples) / len(samples)) / 32768
        loudness[name] = 20 * math.log10(max(rms, 1e-9))


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    lumitool = argv[0]
    expected = expected_archives()
    problems = []
    checked = 0
    for arg in argv[1:]:
        name, _, archive = arg.partition("=")
        wanted = expected[name]
        listing = run([lumitool, "list", archive])
        present = {line.split("\t")[0] for line in listing.splitlines() if line}
        for missing in sorted(set(wanted) - present):
            problems.append(f"{name}: {missing} is missing")
        for extra in sorted(present - set(wanted)):
            problems.append(f"{name}: {extra} is not loaded by the program")
        loudness = {}
        for entry in sorted(set(wanted) & present):
            wanted_image = wanted[entry]
            found = []
            if wanted_image == "wav":
                check_sound(lumitool, archive, entry, found, loudness)
            else:
                check_image(lumitool, archive, entry, wanted_image, found)
            problems += [f"{name}: {p}" for p in found]
            checked += 1
        if loudness:
            low, high = min(loudness.values()), max(loudness.values())
            if high - low > 1.5:
                problems.append(f"{name}: voice loudness ranges from {low:.1f} to {high:.1f} dBFS")
    for problem in problems:
        print(problem)
    print(f"{checked} entries checked in {len(argv) - 1} archives, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
