#!/usr/bin/env bash
# Runs every benchmark program of a release build folder.
set -euo pipefail

build_dir=${1:-build/release}
found=0
for bench in "$build_dir"/bench/bench_*; do
    [ -x "$bench" ] || continue
    found=1
    "$bench"
done
[ "$found" -eq 1 ] || echo "No benchmark is built yet."
