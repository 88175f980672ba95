#!/usr/bin/env bash
# Runs every CTest test of a build folder. Desktop tests bring up their own
# X server through the fixtures they declare, so no display is needed here.
set -euo pipefail

build_dir=${1:-build/debug}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/tests/lsan.supp}
ctest --test-dir "$build_dir" --output-on-failure --no-tests=error -j "$(nproc)"
