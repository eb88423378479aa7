#!/usr/bin/env bash
# Builds everything and runs every test (headless), two at a time.
#   --sanitize   the same with AddressSanitizer and UndefinedBehaviorSanitizer, built into build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
# The end-to-end test: an X server, a window manager, keys and clicks, window facts and pictures, and
# the screen reader's view of the program (AT-SPI on a D-Bus session of its own).
bash scripts/ensure-packages.sh xvfb x11-xkb-utils xdotool x11-utils imagemagick openbox mutter poppler-utils \
    python3 python3-gi python3-pyatspi gir1.2-atspi-2.0 at-spi2-core dbus
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR=build-asan BUILD_TYPE=Debug CMAKE_ARGS="-DTANKVERZEHR_SANITIZE=ON"
fi
bash scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" -j2 --output-on-failure
