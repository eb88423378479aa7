#!/usr/bin/env bash
# Builds everything and runs every test (headless), two at a time.
#   --sanitize   the same with AddressSanitizer and UndefinedBehaviorSanitizer, built into build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh xvfb x11-xkb-utils xdotool sqlite3 x11-apps imagemagick
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR=build-asan BUILD_TYPE=Debug CMAKE_ARGS="-DTANKVERZEHR_SANITIZE=ON"
fi
bash scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" -j2 --output-on-failure
