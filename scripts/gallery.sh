#!/usr/bin/env bash
# Renders the review sheets docs/gallery/*.png from the built archives: every
# image of an archive, decoded by lumitool exactly as the programs will see
# it, at 1:1 on a checkerboard (so the alpha shows), labelled with its name.
# LumiDaily's 366 pages get one sheet per month. Prints each archive's size
# beside the total size of the same images as PNG.
#
#   scripts/gallery.sh [BUILD_DIR]     (default build/debug)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/debug}
lumitool=$build/bin/lumitool
archives=$build/data/archives
out=$root/docs/gallery

if [ ! -x "$lumitool" ] || [ ! -d "$archives" ]; then
    echo "gallery: build first (no $lumitool or $archives)" >&2
    exit 1
fi
command -v montage >/dev/null || { echo "gallery: ImageMagick's montage is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# sheet OUTPUT NAME... : decodes the named images of the current archive (two
# at a time) and lays them out at 1:1 over a checkerboard.
sheet() {
    local output=$1
    shift
    printf '%s\n' "$@" | xargs -P 2 -I{} "$lumitool" decode "$archive:{}" "$work/{}.png"
    local tiles=()
    for name in "$@"; do
        tiles+=(-label "$name" "$work/$name.png")
    done
    montage "${tiles[@]}" -texture pattern:checkerboard -font DejaVu-Sans -pointsize 11 \
        -fill '#222222' -geometry +8+8 -tile "${columns}x" "$output"
    rm -f "$work"/*.png
}

printf '%-10s %12s %14s %8s\n' archive 'archive bytes' 'images as PNG' 'entries'
for path in "$archives"/*.idx2; do
    archive=$path
    base=$(basename "$path" .idx2)
    mapfile -t images < <("$lumitool" list "$archive" | cut -f1 | grep '\.mg$')
    entries=$("$lumitool" list "$archive" | wc -l)
    png_bytes=$(find "$build/data/$base/png" -name '*.png' -printf '%s\n' 2>/dev/null | awk '{s += $1} END {print s + 0}')
    printf '%-10s %12d %14d %8d\n' "$base" "$(stat -c %s "$archive")" "$png_bytes" "$entries"
    rm -f "$out/$base"*.png
    if [ "$base" = daily ]; then
        columns=4
        for month in 01 02 03 04 05 06 07 08 09 10 11 12; do
            mapfile -t pages < <(printf '%s\n' "${images[@]}" | grep "^${month}[0-9][0-9]\.mg$")
            sheet "$out/daily-$month.png" "${pages[@]}"
        done
        columns=3
        mapfile -t rest < <(printf '%s\n' "${images[@]}" | grep -v '^[0-9]\{4\}\.mg$')
        sheet "$out/daily-parts.png" "${rest[@]}"
    else
        columns=4
        sheet "$out/$base.png" "${images[@]}"
    fi
done
