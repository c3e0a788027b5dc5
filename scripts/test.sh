#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test.
# The tests that open the game's window run on a virtual display of their own.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

install_packages
build_all
cd "$BUILD_DIR"
"$ROOT_DIR/scripts/virtual-display.sh" ctest --output-on-failure -j "$(nproc)"
