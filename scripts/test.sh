#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test.
# The tests that open the game's window run on a virtual display of their own.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

install_packages
build_all
cd "$BUILD_DIR"
# -noreset: by default Xvfb resets when its last client leaves, and a test that
# connects during the reset fails with "Couldn't open X11 display".
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" ctest --output-on-failure -j "$(nproc)"
