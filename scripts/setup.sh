# Shared by play.sh and test.sh: installs the Debian 12 packages the game
# needs and builds it (game, content, tests) into build/.
# shellcheck shell=bash

ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR="$ROOT_DIR/build"

# What each package is for is written in the README.
PACKAGES=(
    g++ cmake make pkg-config
    libsdl1.2-dev libsdl-image1.2-dev
    libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
    libpng-dev libcairo2-dev
    libgtest-dev googletest
    xvfb xauth imagemagick
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "Installing packages needs root: run this as root or install sudo." >&2
        exit 1
    fi
}

install_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
            "${missing[@]}"
    fi
}

build_all() {
    cmake -S "$ROOT_DIR" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD_DIR" -j "$(nproc)"
    mkdir -p "$BUILD_DIR/data"
}
