#!/usr/bin/env bash
# Builds the program and starts it from build/, beside its log database build/Verbrauch.mdb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec ./build/tankverzehr
