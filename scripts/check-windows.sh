#!/usr/bin/env bash
# Checks the Windows folder as a user would use it: unpacks build-windows/Tankverzehr-windows-x64.zip
# (made by scripts/build-windows.sh) and runs it under Debian's Wine on an X server of its own (Xvfb,
# openbox, a German keyboard). The program is driven with real key presses (xdotool); what its
# windows show is read from screenshots (tesseract), what it stored from the log (sqlite3). The data
# tool runs under Wine too. Prints one line per check and "N passed, M failed"; screenshots are kept
# in build-windows/screenshots/. Exit status 0 only when nothing failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
zip="$root/build-windows/Tankverzehr-windows-x64.zip"
shots="$root/build-windows/screenshots"

bash scripts/ensure-packages.sh wine wine64 xvfb openbox x11-xkb-utils x11-utils xdotool imagemagick \
    tesseract-ocr tesseract-ocr-deu sqlite3 unzip fonts-liberation
[ -f "$zip" ] || { echo "Missing $zip: run scripts/build-windows.sh first." >&2; exit 1; }

work="$(mktemp -d /tmp/tankverzehr-windows-check.XXXXXX)"
folder="$work/Tankverzehr"
log="$folder/Verbrauch.mdb"
passed=0
failed=0
pids=()

cleanup() {
    WINEPREFIX="$work/wine" wineserver -k 2>/dev/null || true
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

check() { # check WHAT OK [DETAIL]
    if [ "$2" = 0 ]; then
        passed=$((passed + 1))
        echo "ok   $1"
    else
        failed=$((failed + 1))
        echo "FAIL $1${3:+: $3}"
    fi
}
holds() { "$@" >/dev/null 2>&1 && echo 0 || echo 1; }

# Waits up to $1 seconds for the command to succeed.
wait_for() {
    local end=$(($(date +%s) + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -ge "$end" ] && return 1
        sleep 0.2
    done
}

window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
has_window() { [ -n "$(window "$1")" ]; }
keys() { xdotool key --delay 60 "$@"; }
type_text() { xdotool type --delay 60 "$1"; }
activate() { xdotool windowactivate --sync "$(window "$1")" 2>/dev/null || true; }

# The window with its frame as the user sees it, kept as build-windows/screenshots/$2.png.
shoot() {
    local id frame
    id="$(window "$1")"
    frame="$(xwininfo -id "$id" -children | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')"
    [ -n "$frame" ] && [ "$frame" != "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')" ] ||
        frame="$id"
    import -window "$frame" "$shots/$2.png" || echo "(no screenshot of \"$1\")"
}
# The text of a screenshot as tesseract reads it, enlarged and grey for a steadier reading.
read_shot() {
    convert "$shots/$1.png" -resize 300% -colorspace Gray "$work/ocr.png"
    tesseract "$work/ocr.png" - -l deu 2>/dev/null | tr '\n' ' '
}
# The texts of the boxes filled with colour $2 in screenshot $1, left to right, one line each.
# Each box is cut out alone, enlarged and made black on white, and read as one line of text; $3,
# when given, names the only characters tesseract may read there. A whole window read at once
# misreads digits beside headings and frames.
read_boxes() {
    local shot="$shots/$1.png" geometry
    convert "$shot" -fill black -fuzz 3% +opaque "$2" -fill white -opaque "$2" \
        -define connected-components:verbose=true -define connected-components:area-threshold=200 \
        -connected-components 8 null: 2>/dev/null |
        awk '$NF == "srgb(255,255,255)" || $NF == "white" { print $2 }' | sort -t+ -k2,2n |
        while read -r geometry; do
            convert "$shot" -crop "$geometry" +repage -colorspace Gray -resize 400% -threshold 60% \
                -bordercolor white -border 20 "$work/box.png"
            if [ -n "${3:-}" ]; then
                tesseract "$work/box.png" - --psm 7 -c tessedit_char_whitelist="$3" 2>/dev/null
            else
                tesseract "$work/box.png" - --psm 7 -l deu 2>/dev/null
            fi | tr -d '\n\f'
            echo
        done
}
# The log as the program left it; a write under way is waited for.
rows() { sqlite3 -cmd '.timeout 3000' -separator '|' "$1" "SELECT * FROM \"$2\" ORDER BY rowid"; }
row_count() { sqlite3 -cmd '.timeout 3000' "$1" "SELECT count(*) FROM \"$2\""; }
has_rows() { [ "$(row_count "$1" "$2")" = "$3" ]; }

# How far the middle of the window's frame (the X window manager's, around Wine's window) lies from
# the middle of the screen, as "dx dy".
frame_offset() {
    local id info x y w h extents left right top bottom
    id="$(window "$1")"
    info="$(xwininfo -id "$id")"
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    extents="$(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')"
    read -r left right top bottom <<<"${extents:-0 0 0 0}"
    echo $(((x - left) + (w + left + right) / 2 - 1280 / 2)) $(((y - top) + (h + top + bottom) / 2 - 1024 / 2))
}
centred() {
    local dx dy
    read -r dx dy <<<"$(frame_offset "$1")"
    [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}

mkdir -p "$shots"
rm -f "$shots"/*.png
unzip -q "$zip" -d "$work"

# X server with a window manager and a German keyboard, as the program's users have.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
if ! wait_for 10 grep -q . "$work/display"; then
    check "Xvfb starts" 1
    echo "$passed passed, $failed failed"
    exit 1
fi
export DISPLAY=":$(head -1 "$work/display")"
setxkbmap -layout de
openbox >/dev/null 2>&1 &
pids+=($!)
wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
today="$(date +%d.%m.%Y)"
main=Tankverzehrsberechnung

echo "== the program"
(cd "$folder" && exec wine tankverzehr.exe >"$work/program.log" 2>&1) &
pids+=($!)
disown $! # ended by wineserver -k below, without a note from the shell
check "tankverzehr.exe starts: its main window shows" "$(holds wait_for 60 has_window "$main")"
activate "$main"
check "the main window is centred on the screen by its frame" "$(holds wait_for 5 centred "$main")" \
    "off by $(frame_offset "$main")"

# 10 litres over 117 km are 8.547 l/100 km: cut, not rounded, to 8,54.
type_text 10
keys Tab
type_text 117
keys alt+b
check "10 l over 117 km with Alt+B (\"&Berechnen\"): the log beside the program holds the row" \
    "$(holds wait_for 10 has_rows "$log" Auto 1)"
check "the row is $today|117.0|10.0|8.54" "$([ "$(rows "$log" Auto)" = "$today|117.0|10.0|8.54" ] && echo 0 || echo 1)" \
    "got '$(rows "$log" Auto)'"
sleep 0.5
shoot "$main" 1-hauptfenster-ergebnis
# The result line is the silver strip of the main window.
text="$(read_boxes 1-hauptfenster-ergebnis '#C0C0C0')"
check "the result line shows the cut consumption \"8,54\"" \
    "$(grep -q 'Sie haben *8,54 *Liter pro 100 km verbraucht' <<<"$text" && echo 0 || echo 1)" "read: $text"

# A second fill-up, then letters as litres.
keys alt+n
type_text 30
keys Tab
type_text 400
keys alt+b
wait_for 10 has_rows "$log" Auto 2 || true
keys alt+n
type_text abc
keys Tab
type_text 400
keys alt+b
check "letters as litres with Alt+B: the message box \"Fehler\" shows" "$(holds wait_for 10 has_window Fehler)"
if has_window Fehler; then
    sleep 0.5
    shoot Fehler 2-meldung-fehler
    text="$(read_shot 2-meldung-fehler)"
    check "the message says litres and kilometres are numbers" \
        "$(grep -q 'nur aus Zahlen' <<<"$text" && echo 0 || echo 1)" "read: $text"
    activate Fehler
    keys Return
    check "Return closes the message box" "$(holds wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Fehler\$'")"
fi
check "the refused input stored nothing (2 rows)" "$([ "$(row_count "$log" Auto)" = 2 ] && echo 0 || echo 1)"

activate "$main"
keys alt+udiaeresis
check "Alt+Ü (\"&Übersicht\") opens the overview" "$(holds wait_for 10 has_window "Übersicht")"
if has_window "Übersicht"; then
    sleep 0.5
    shoot "Übersicht" 3-uebersicht
    # The totals stand in the three yellow boxes below the grid: kilometres, litres, average.
    text="$(read_boxes 3-uebersicht '#FFFFC0' '0123456789,.' | tr '\n' ' ')"
    check "the overview shows the totals 517 km and 40 l and the average 7,73 (40 l over 517 km, cut)" \
        "$([ "$text" = "517 40 7,73 " ] && echo 0 || echo 1)" "read: $text"
fi
wineserver -k 2>/dev/null || true

echo "== the data tool"
daten() { (cd "$folder" && wine tankverzehr-daten.exe "$@" 2>&1 | tr -d '\r'); }
output="$(daten export --ziel auto.csv)" && status=0 || status=$?
check "export --ziel auto.csv: done" "$status" "$output"
check "auto.csv holds the heading and both rows" \
    "$([ -f "$folder/auto.csv" ] && [ "$(grep -c . "$folder/auto.csv")" = 3 ] && grep -q '8,54' "$folder/auto.csv" &&
        echo 0 || echo 1)"
output="$(daten import auto.csv --fahrzeug Motorrad)" && status=0 || status=$?
check "import auto.csv --fahrzeug Motorrad: done" "$status" "$output"
check "the motorcycle's log holds the same rows" \
    "$([ "$(rows "$log" Motorrad)" = "$(rows "$log" Auto)" ] && [ "$(row_count "$log" Motorrad)" = 2 ] && echo 0 ||
        echo 1)"
before="$(md5sum <"$folder/auto.csv")"
output="$(daten export --ziel auto.csv)" && status=0 || status=$?
check "export --ziel auto.csv once more: refused with exit status 1, auto.csv unchanged" \
    "$([ "$status" = 1 ] && grep -q 'gibt es schon; sie wird nicht überschrieben' <<<"$output" &&
        [ "$(md5sum <"$folder/auto.csv")" = "$before" ] && echo 0 || echo 1)" "$output"

# What a killed run leaves: an export of a large log is watched until its temporary file shows,
# a second run beside it must keep that file while the first one holds it, and the first run is
# killed; the next run then removes what it left.
cp "$log" "$folder/gross.mdb"
sqlite3 "$folder/gross.mdb" "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000)
    INSERT INTO Auto SELECT '01.02.2024', 117, 10, 8.54 FROM n"
temporaries() { (cd "$folder" && find . -maxdepth 1 -name '.*.tankverzehr-*' | sed 's|^\./||' | sort); }
(cd "$folder" && exec wine tankverzehr-daten.exe export --log gross.mdb --ziel gross.csv >/dev/null 2>&1) &
exporter=$!
pids+=("$exporter")
disown "$exporter" # killed below, without a note from the shell
has_temporary() { [ -n "$(temporaries)" ]; }
wait_for 30 has_temporary || true
held="$(temporaries)"
output="$(daten export --log gross.mdb --fahrzeug Motorrad --ziel klein.csv)" && status=0 || status=$?
check "a second export beside a running one: done, the running one's temporary file kept" \
    "$([ "$status" = 0 ] && [ -n "$held" ] && [ "$(temporaries)" = "$held" ] && kill -0 "$exporter" 2>/dev/null &&
        echo 0 || echo 1)" "temporary file '$held', now '$(temporaries)': $output"
kill -9 "$exporter" 2>/dev/null || true
wait_for 10 sh -c "! kill -0 $exporter 2>/dev/null" || true
check "the killed export left its temporary file and nothing under its target" \
    "$([ -n "$held" ] && [ "$(temporaries)" = "$held" ] && [ ! -e "$folder/gross.csv" ] && echo 0 || echo 1)"
output="$(daten sichern)" && status=0 || status=$?
backup="$folder/Verbrauch-$(date +%F).mdb"
check "sichern: done, and the killed run's temporary file removed" \
    "$([ "$status" = 0 ] && [ -z "$(temporaries)" ] && echo 0 || echo 1)" "$output; left: $(temporaries)"
check "the backup beside the log holds both logs" \
    "$([ -f "$backup" ] && [ "$(row_count "$backup" Auto)" = 2 ] && [ "$(row_count "$backup" Motorrad)" = 2 ] &&
        echo 0 || echo 1)"
output="$(daten pruefen)" && status=0 || status=$?
check "pruefen: no problems found" "$([ "$status" = 0 ] && grep -q 'Keine Probleme gefunden' <<<"$output" &&
    echo 0 || echo 1)" "$output"
printf '%s\n' "$output" >"$shots/4-datenwerkzeug-pruefen.txt"
output="$(daten bericht --fahrzeug Auto)" && status=0 || status=$?
check "bericht: refused with exit status 1, as this build has no Qt Charts" \
    "$([ "$status" = 1 ] && grep -q 'kann keinen Bericht erstellen' <<<"$output" && echo 0 || echo 1)" "$output"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
