#!/usr/bin/env bash
# Saves screenshots of the interface models placed as the game places them,
# at 16:9, 4:3 and 21:9, into docs/screenshots/. Needs a build (build/).
#   tools/interface/screenshots.sh
set -euo pipefail
ROOT_DIR=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR="$ROOT_DIR/build"
OUT_DIR="$ROOT_DIR/docs/screenshots"
mkdir -p "$OUT_DIR"
export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1

for size in 1920x1080 1024x768 2560x1080; do
    "$ROOT_DIR/scripts/virtual-display.sh" -s "$size" bash -c '
        for scene in numbers free dialog; do
            "$1/tools/interface/interface_viewer" "$1/data" "$2/$scene-$3.png" "$scene"
        done
    ' _ "$BUILD_DIR" "$OUT_DIR" "$size"
done
ls "$OUT_DIR"
