#!/usr/bin/env bash
# Start-up benchmark: the program against a bare Qt Widgets program that opens an SQLite file and
# shows one label, started alternately under an X server of their own (Xvfb). For each start the
# probe measures, from outside the program, the time until its main window is shown and until it
# is painted, and the peak resident memory; the medians and their ratio are printed.
# Usage: bench/startup/startup.sh [runs, default 20] [program, default build-bench/tankverzehr]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
runs="${1:-20}"
program="${2:-}"
if [ -z "$program" ]; then
    for candidate in build-bench/tankverzehr build/tankverzehr; do
        if [ -x "$root/$candidate" ]; then
            program="$root/$candidate"
            break
        fi
    done
fi
if [ ! -x "$program" ]; then
    echo "No program to measure: build it with scripts/bench.sh, or give its path." >&2
    exit 2
fi
program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"

bash "$root/scripts/ensure-packages.sh" xvfb cmake make g++ pkg-config qt6-base-dev libqt6sql6-sqlite \
    libxcb-damage0-dev
build="${STARTUP_BUILD_DIR:-$root/build-startup}"
cmake -S "$root/bench/startup" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

work="$(mktemp -d)"
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Each program runs from a folder of its own, as installed: the program beside its database.
mkdir -p "$work/program" "$work/bare" "$work/runtime"
chmod 700 "$work/runtime"
cp "$program" "$work/program/"
if [ -f "$(dirname "$program")/Verbrauch.mdb" ]; then
    cp "$(dirname "$program")/Verbrauch.mdb" "$work/program/"
fi
cp "$build/bare_qt" "$work/bare/"

# Xvfb picks a free display number itself and writes it once it accepts clients; -noreset keeps
# it from resetting whenever its last client leaves, which would turn away the next start.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
display="$(tr -d '[:space:]' <"$work/display")"
[ -n "$display" ] || { echo "Xvfb did not start." >&2; exit 2; }
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM

probe="$build/startup_probe"
name="$(basename "$program")"
# The first start of each warms the file cache and is not counted; then they take turns.
for run in $(seq 0 "$runs"); do
    for kind in program bare; do
        if [ "$kind" = program ]; then
            line="$("$probe" Tankverzehrsberechnung "$work/program" "$work/program/$name")"
        else
            line="$("$probe" bare_qt "$work/bare" "$work/bare/bare_qt")"
        fi
        [ "$run" -eq 0 ] || echo "$line" >>"$work/$kind.txt"
    done
done

median() { # column of a results file
    cut -d' ' -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ps="$(median "$work/program.txt" 1)"; pp="$(median "$work/program.txt" 2)"; pm="$(median "$work/program.txt" 3)"
bs="$(median "$work/bare.txt" 1)"; bp="$(median "$work/bare.txt" 2)"; bm="$(median "$work/bare.txt" 3)"
awk -v runs="$runs" -v name="$name" -v ps="$ps" -v pp="$pp" -v pm="$pm" -v bs="$bs" -v bp="$bp" -v bm="$bm" 'BEGIN {
    printf "%d starts each, alternating; medians\n", runs
    printf "%-14s %10s %12s %15s\n", "", "shown ms", "painted ms", "peak RSS MiB"
    printf "%-14s %10.1f %12.1f %15.1f\n", name, ps, pp, pm / 1024
    printf "%-14s %10.1f %12.1f %15.1f\n", "bare_qt", bs, bp, bm / 1024
    ratio = pp / bp; extra = (pm - bm) / 1024
    printf "start-up ratio (painted): %.2f (target at most 1.30: %s)\n", ratio, ratio <= 1.3 ? "met" : "missed"
    printf "peak memory above bare_qt: %+.1f MiB (target at most 10: %s)\n", extra, extra <= 10 ? "met" : "missed"
}'
