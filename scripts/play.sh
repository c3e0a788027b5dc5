#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the game and its content, and
# starts it. Without a display it runs the game on a virtual one for a few
# seconds and saves a screenshot.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

install_packages
build_all
cd "$BUILD_DIR/data"

if [ -n "${DISPLAY:-}" ]; then
    exec "$BUILD_DIR/nimbletint"
fi

shot="$ROOT_DIR/shots/first-run.png"
mkdir -p "$(dirname "$shot")"
echo "No display found: running the game on a virtual display (Xvfb) for 5 seconds."
export SDL_AUDIODRIVER=dummy
"$ROOT_DIR/scripts/virtual-display.sh" bash -c '
    "$1" & game=$!
    sleep 5
    import -window root "$2"
    kill -TERM "$game"
    wait "$game"
' _ "$BUILD_DIR/nimbletint" "$shot"
echo "Screenshot saved: $shot"
