#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target...]
# The seed inputs in fuzz/corpus/<target> are only read; what the fuzzer learns goes to
# build-fuzz/corpus/<target>, and every crash or mismatch to build-fuzz/findings/<target>/.
# Exits with 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh cmake make clang qt6-base-dev
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(numbertext datecheck livecomputation)

CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -G "Unix Makefiles" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

found=0
for target in "${targets[@]}"; do
    work="build-fuzz/corpus/$target"
    findings="build-fuzz/findings/$target"
    mkdir -p "$work" "$findings"
    log="build-fuzz/findings/$target.log"
    echo "== fuzz_$target for ${seconds}s"
    if ! "build-fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=256 -timeout=10 \
        -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
        found=1
        grep -E '^(number|numeric|cut|accepted|refus|failure|consumption)|ERROR|SUMMARY' "$log" | head -5 || true
        ls "$findings"
    fi
    grep -E '^Done ' "$log" || true
done
exit "$found"
