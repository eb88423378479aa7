#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as BUILD_DIR), installing what the build needs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh cmake g++ make qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libxcb1-dev \
    fonts-liberation qt6-translations-l10n libcsv-dev qt6-charts-dev libqt6opengl6-dev
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
