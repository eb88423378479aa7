#!/usr/bin/env bash
# Builds everything and runs every test (headless), two at a time, after the checks that keep the
# tree in shape: every file formatted, no include climbing to a library above, no compiler warning.
#   --sanitize   the same with AddressSanitizer and UndefinedBehaviorSanitizer, built into build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
# The end-to-end test: an X server, a window manager, keys and clicks, window facts and pictures, and
# the screen reader's view of the program (AT-SPI on a D-Bus session of its own).
bash scripts/ensure-packages.sh xvfb x11-xkb-utils xdotool x11-utils imagemagick openbox mutter poppler-utils \
    python3 python3-gi python3-pyatspi gir1.2-atspi-2.0 at-spi2-core dbus
bash scripts/check-format.sh
python3 scripts/check-layers.py
cmake_args="-DTANKVERZEHR_WERROR=ON -DBUILD_TESTING=ON"
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR=build-asan BUILD_TYPE=Debug
    cmake_args="$cmake_args -DTANKVERZEHR_SANITIZE=ON"
fi
CMAKE_ARGS="$cmake_args ${CMAKE_ARGS:-}" bash scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" -j2 --output-on-failure
