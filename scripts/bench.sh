#!/usr/bin/env bash
# Builds in release mode and runs every benchmark; figures go to standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=build-bench BUILD_TYPE=Release bash scripts/build.sh
# The data tool is measured beside the sqlite3 shell.
bash scripts/ensure-packages.sh sqlite3
export QT_QPA_PLATFORM=offscreen
for bench in build-bench/bench/*_bench; do
    echo "== $(basename "$bench")"
    "$bench"
done
echo "== start-up against a bare Qt program"
bash bench/startup/startup.sh 20 build-bench/tankverzehr
