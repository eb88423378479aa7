#!/usr/bin/env bash
# Builds everything and runs every test (headless), two at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh xvfb xdotool sqlite3 x11-apps
bash scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" -j2 --output-on-failure
