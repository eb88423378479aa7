#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it (.clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh clang-format
git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "format: every C++ file is as clang-format writes it"
