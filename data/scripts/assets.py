#!/usr/bin/env python3
"""Build stages of the asset pipeline. Each stage redoes only what is out of
date (an output older than its input, or than the tool that makes it), so
a build after a one-file change touches one file.

    assets.py render OUTDIR SVG...
        SVG -> PNG with rsvg-convert, at the size the SVG declares
    assets.py encode [--methods M1,M2,...] LUMITOOL OUTDIR PNG...
        PNG -> MG01 with "lumitool encode": by default the tool's own search
        over every method; with --methods only those are tried and the
        smallest result is kept (the day pages use this: the full search
        costs about twenty times as much for a few percent)
    assets.py stage DIR FILE...
        makes DIR hold exactly the given files (hard links, or copies), so
        that "lumitool pack DIR" packs exactly them
    assets.py icons OUTDIR SVG...
        each program icon at 16, 32, 48 and 64 pixels: OUTDIR/NAME-SIZE.png

Two jobs run at a time; any failure stops the stage with exit 1.
"""

import concurrent.futures
import os
import shutil
import subprocess
import sys

JOBS = 2


def stale(output, *inputs):
    try:
        built = os.stat(output).st_mtime_ns
    except FileNotFoundError:
        return True
    return any(os.stat(i).st_mtime_ns > built for i in inputs)


def stem(path):
    return os.path.splitext(os.path.basename(path))[0]


def run_all(commands):
    """Runs (description, argv) pairs two at a time; returns True when all succeed."""
    failed = []

    def one(item):
        description, argv = item
        result = subprocess.run(argv, capture_output=True, text=True)
        if result.returncode != 0:
            failed.append(f"{description}: {result.stderr.strip() or 'exit ' + str(result.returncode)}")

    with concurrent.futures.ThreadPoolExecutor(JOBS) as pool:
        list(pool.map(one, commands))
    for message in failed:
        print(message, file=sys.stderr)
    return not failed


def render(outdir, svgs):
    os.makedirs(outdir, exist_ok=True)
    work = []
    for svg in svgs:
        png = os.path.join(outdir, stem(svg) + ".png")
        if stale(png, svg):
            work.append((svg, ["rsvg-convert", "--format", "png", "--output", png, svg]))
    return run_all(work)


def icons(outdir, svgs):
    os.makedirs(outdir, exist_ok=True)
    work = []
    for svg in svgs:
        for size in (16, 32, 48, 64):
            png = os.path.join(outdir, f"{stem(svg)}-{size}.png")
            if stale(png, svg):
                work.append((f"{svg} at {size}", ["rsvg-convert", "--format", "png", "--width", str(size),
                                                  "--height", str(size), "--output", png, svg]))
    return run_all(work)


def encode(lumitool, outdir, pngs, methods=None):
    os.makedirs(outdir, exist_ok=True)
    work = []
    for png in pngs:
        mg = os.path.join(outdir, stem(png) + ".mg")
        if stale(mg, png):
            if methods:
                helper = [sys.executable, os.path.abspath(__file__), "encode-one", lumitool, png, mg] + methods
                work.append((png, helper))
            else:
                work.append((png, [lumitool, "encode", png, mg]))
    return run_all(work)


def encode_one(lumitool, png, mg, methods):
    """Encodes with each method and keeps the smallest file."""
    best = None
    for method in methods:
        candidate = f"{mg}.{method}"
        result = subprocess.run([lumitool, "encode", png, candidate, "--method", method],
                                capture_output=True, text=True)
        if result.returncode != 0:
            print(f"{png} ({method}): {result.stderr.strip()}", file=sys.stderr)
            continue
        size = os.path.getsize(candidate)
        if best is None or size < best[0]:
            if best:
                os.remove(best[1])
            best = (size, candidate)
        else:
            os.remove(candidate)
    if best is None:
        return False
    os.replace(best[1], mg)
    return True


def stage(folder, files):
    os.makedirs(folder, exist_ok=True)
    wanted = {os.path.basename(f): f for f in files}
    if len(wanted) != len(files):
        print("stage: two inputs share a file name", file=sys.stderr)
        return False
    for name in os.listdir(folder):
        if name not in wanted:
            os.remove(os.path.join(folder, name))
    for name, source in wanted.items():
        target = os.path.join(folder, name)
        if os.path.exists(target) and os.path.samefile(source, target):
            continue
        if os.path.exists(target):
            os.remove(target)
        try:
            os.link(source, target)
        except OSError:
            shutil.copy2(source, target)
    return True


def main(argv):
    if len(argv) >= 2 and argv[0] == "render":
        ok = render(argv[1], argv[2:])
    elif len(argv) >= 2 and argv[0] == "icons":
        ok = icons(argv[1], argv[2:])
    elif len(argv) >= 5 and argv[0] == "encode" and argv[1] == "--methods":
        ok = encode(argv[3], argv[4], argv[5:], argv[2].split(","))
    elif len(argv) >= 3 and argv[0] == "encode":
        ok = encode(argv[1], argv[2], argv[3:])
    elif len(argv) >= 5 and argv[0] == "encode-one":
        ok = encode_one(argv[1], argv[2], argv[3], argv[4:])
    elif len(argv) >= 2 and argv[0] == "stage":
        ok = stage(argv[1], argv[2:])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
