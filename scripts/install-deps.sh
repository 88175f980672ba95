#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the gadgets need.
# Idempotent: asks apt only for what is missing; uses sudo when not root.
set -euo pipefail

packages=(
    # toolchain
    build-essential cmake ninja-build pkg-config clang-format
    # tests and benchmarks
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    # lumitool's PNG reading and writing; pixman, compared in the blend
    # benchmarks only
    libpng-dev libpixman-1-dev
    # installation checks: desktop entry and AppStream validators
    desktop-file-utils appstream
    # artwork and sounds: SVG rendering, Chinese fonts for the artwork's
    # texts, speech and sound tools, contact sheets
    librsvg2-bin fonts-noto-cjk espeak-ng sox python3 imagemagick
    # sound: SDL2 audio output and MPEG-audio decoding
    libsdl2-dev libmpg123-dev
    # glyph text: FreeType and fontconfig (the CJK gothic comes with
    # fonts-noto-cjk above); zlib for the PNG the glyph tests write
    libfreetype-dev libfontconfig-dev zlib1g-dev
    # desktop backend: Qt 6 widgets on X11
    qt6-base-dev qt6-qpa-plugins libxcb1-dev fonts-dejavu-core
    # desktop tests and the idle measurement: a private X server, a window
    # manager, a compositor, input and inspection tools, screenshots, xclock
    xvfb xauth openbox picom xdotool x11-utils x11-apps imagemagick
)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
