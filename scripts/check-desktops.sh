#!/usr/bin/env bash
# Walks the built program through tests/e2e/desktop_walk.py under every window manager it knows:
# none, openbox, GNOME's mutter, KDE's kwin_x11 and Xfce's xfwm4 (CI runs the first three), one
# after the other, and prints a line per window manager. Installs what the walks need; builds
# into build/ (or BUILD_DIR) first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh xvfb x11-xkb-utils xdotool x11-utils imagemagick openbox mutter kwin-x11 xfwm4 \
    python3 python3-gi python3-pyatspi gir1.2-atspi-2.0 at-spi2-core dbus
bash scripts/build.sh
build="${BUILD_DIR:-build}"
failed=0
for window_manager in none openbox mutter kwin xfwm4; do
    log="$build/e2e-desktop-$window_manager.log"
    if dbus-run-session -- /usr/bin/python3 tests/e2e/desktop_walk.py --program "$build/tankverzehr" \
        --schema logstore/schema.sql --shots "$build" --window-manager "$window_manager" >"$log" 2>&1; then
        echo "$window_manager: $(grep -E "^[0-9]+ passed" "$log" | tail -n 1)"
    else
        failed=1
        echo "$window_manager: $(grep -E "^[0-9]+ passed" "$log" | tail -n 1) (see $log)"
        grep -F "  FAIL " "$log" || true
    fi
done
exit $failed
