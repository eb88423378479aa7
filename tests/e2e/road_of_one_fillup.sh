#!/usr/bin/env bash
# Drives the built program under an X server of its own (Xvfb) with real key presses and mouse clicks:
# one fill-up of the motorcycle from typing to correcting, then refused input, zero kilometres and a
# program folder without its log. The log file is checked with the sqlite3 tool after every step, and
# each window is saved as a PNG picture.
#
#   road_of_one_fillup.sh <program> <log schema .sql, or a log file to copy> <screenshot folder>
#
# Needs Xvfb (with setxkbmap), xdotool, xwininfo, sqlite3 and ImageMagick (import, convert);
# installs nothing itself.
# Ends with "N passed, M failed"; the exit status is 0 only when nothing failed.
set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 <program> <schema.sql|Verbrauch.mdb> <screenshot-dir>" >&2
    exit 2
fi
program=$1
logsource=$2
shots=$3

for tool in Xvfb setxkbmap xdotool xwininfo sqlite3 import convert; do
    command -v "$tool" >/dev/null || { echo "FAIL: the tool '$tool' is missing" >&2; exit 2; }
done
[ -x "$program" ] || { echo "FAIL: no program at $program" >&2; exit 2; }
[ -f "$logsource" ] || { echo "FAIL: no log schema or log file at $logsource" >&2; exit 2; }
mkdir -p "$shots"

work=$(mktemp -d "${TMPDIR:-/tmp}/tankverzehr-e2e.XXXXXX")
xvfb_pid=
app_pid=
watchdog_pid=
passed=0
failed=0

cleanup() {
    [ -n "$watchdog_pid" ] && kill "$watchdog_pid" 2>/dev/null && wait "$watchdog_pid" 2>/dev/null
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 3' INT TERM HUP PIPE

pass() { passed=$((passed + 1)); echo "  ok   $1"; }
fail() { failed=$((failed + 1)); echo "  FAIL $1"; }
now_ms() { local t=${EPOCHREALTIME/[.,]/}; echo $((t / 1000)); }
started=$(now_ms)
elapsed() {
    local ms=$(($(now_ms) - started))
    printf '%d.%d s' $((ms / 1000)) $((ms % 1000 / 100))
}
step() { echo "== $1 ($(elapsed))"; }
summary() {
    echo "took $(elapsed)"
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
# A step the rest of the road cannot do without: report it and stop.
give_up() {
    fail "$1"
    if [ -s "$work/program.log" ]; then
        echo "  program output:"
        sed 's/^/    /' "$work/program.log"
    fi
    echo "  windows: $(xdotool search --onlyvisible --name '' getwindowname %@ 2>/dev/null | tr '\n' ',')"
    echo "  program pid $app_pid: $(ps -o stat=,cmd= -p "$app_pid" 2>/dev/null)"
    echo "  X server pid $xvfb_pid: $(ps -o stat=,cmd= -p "$xvfb_pid" 2>/dev/null)"
    sed 's/^/    /' "$work/xvfb.log"
    echo "  (stopping: the remaining steps need this one)"
    summary
    exit 1
}

# check "<what>" <expected> <actual>
check() {
    if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: expected '$2', got '$3'"; fi
}

# Polls a command every 0.1 s until it succeeds, at most $1 tries.
poll() {
    local tries=$1
    shift
    for ((i = 0; i < tries; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# ---- the log file

app=$work/app
mkdir -p "$app"
cp "$program" "$app/tankverzehr"
db=$app/Verbrauch.mdb
case $logsource in
*.sql) sqlite3 "$db" <"$logsource" || { echo "FAIL: cannot make a log from $logsource" >&2; exit 2; } ;;
*) cp "$logsource" "$db" ;;
esac
# One earlier entry per vehicle, so that the new entry is the second row and the car's log has
# something that must stay untouched.
sqlite3 "$db" "DELETE FROM \"Auto\"; DELETE FROM \"Motorrad\";
    INSERT INTO \"Motorrad\" VALUES ('01.11.2026', 200, 8, 4);
    INSERT INTO \"Auto\" VALUES ('02.11.2026', 600, 42, 7);" || exit 2

sql() { sqlite3 -cmd '.timeout 3000' "$db" "$1" 2>&1; }
count() { sql "SELECT count(*) FROM \"$1\""; }
# Row n (1-based, in stored order) of a log with the type of each number field.
row() {
    sql "SELECT \"Datum\", \"Gefahrene Kilometer\", \"Getankte Liter\", \"Verbrauch auf 100 km in Liter\",
                typeof(\"Gefahrene Kilometer\") || typeof(\"Getankte Liter\") || typeof(\"Verbrauch auf 100 km in Liter\")
         FROM \"$1\" ORDER BY rowid LIMIT 1 OFFSET $(($2 - 1))"
}
auto_before=$(sql "SELECT * FROM \"Auto\" ORDER BY rowid")
first_motorrad='01.11.2026|200.0|8.0|4.0|realrealreal'

# ---- the X server: the first free display from :90 on; -displayfd reports it once it accepts clients

for ((n = 90; n < 140; n++)); do
    [ -e "/tmp/.X$n-lock" ] && continue
    : >"$work/display"
    # -noreset: without it the server resets whenever its last client leaves (as setxkbmap does below),
    # which drops the keyboard layout and refuses connections for a moment.
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset -displayfd 3 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    # Either our server answers or it gave up because another one took the display meanwhile.
    if poll 100 eval '[ -s "$work/display" ] || ! kill -0 $xvfb_pid 2>/dev/null' && [ -s "$work/display" ]; then
        break
    fi
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
done
[ -n "$xvfb_pid" ] || { echo "FAIL: no X server could be started" >&2; exit 2; }
# Should this script be killed outright (a test timeout), the X server and the temporary folder go
# too, and the program ends with its display.
script_pid=$$
(
    nap=
    trap - EXIT INT HUP PIPE
    trap 'kill $nap 2>/dev/null; exit 0' TERM
    while kill -0 "$script_pid" 2>/dev/null; do
        sleep 0.5 &
        nap=$!
        wait $nap
    done
    kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
) </dev/null >/dev/null 2>&1 &
watchdog_pid=$!
export DISPLAY=":$n"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# A German keyboard, as the program's users have: Ü is a key of its own, so Alt+Ü needs no
# temporary remapping of a spare key (which races with the program reading the key map).
setxkbmap -layout de || { echo "FAIL: cannot set the German keyboard layout" >&2; exit 2; }
echo "X server on $DISPLAY"

# ---- helpers on windows

# Id of the visible window whose title is exactly $1 (of the running program), or nothing.
window() { xdotool search --all --onlyvisible --pid "$app_pid" --name "^$1\$" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window "$1")" ]; }
no_window() { [ -z "$(window "$1")" ]; }
wait_window() {
    poll 100 has_window "$1" || return 1
    window "$1"
}
# Visible windows of the program, popups included.
visible_count() { xdotool search --all --onlyvisible --pid "$app_pid" --name '' 2>/dev/null | wc -l; }
# Clicks at a point given in pixels of a window's client area.
# No --sync: it waits for a motion that never comes when the pointer already stands there.
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
# Without a window manager the keyboard focus goes only where it is sent. (windowfocus --sync can hang
# for seconds after a message box has closed, so the focus is polled here instead.)
focused() { [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$1" ]; }
focus() {
    xdotool windowraise "$1" windowfocus "$1"
    poll 50 focused "$1" || echo "  (the focus did not reach window $1)"
}
alive() { kill -0 "$app_pid" 2>/dev/null; }
# True once the picture holds at least one pixel of the given colour (not black): the window has been painted.
painted() { [ "$(convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:maxima]' info: 2>/dev/null)" = 1 ]; }
shoot() { # window id, file, a colour that the painted window shows
    local id=$1 file=$2 colour=$3
    xdotool windowraise "$id"
    poll 50 eval 'import -window "$id" "$file" 2>/dev/null && painted "$file" "$colour"'
}

start_program() { # folder
    (cd "$1" && exec ./tankverzehr) >"$work/program.log" 2>&1 &
    app_pid=$!
}
stop_program() {
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=
}

today_before=$(date +%d.%m.%Y)

# ---- 1. start

step "1. The program starts in its own folder beside a fresh log"
start_program "$app"
main=$(wait_window Tankverzehrsberechnung) || give_up "main window 'Tankverzehrsberechnung' did not appear"
pass "main window shown"
geometry=$(xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
check "main window client area is 4935 x 4410 twips" "329x294" "$geometry"
check "starting records nothing in 'Motorrad'" 1 "$(count Motorrad)"
check "starting records nothing in 'Auto'" 1 "$(count Auto)"

# ---- 2. the motorcycle

step "2. 'Motorrad' chosen in the vehicle list with a click and the keyboard"
focus "$main"
before=$(visible_count)
# Combo1: left 1200, top 840, 2175 x 315 twips.
click_at "$main" 152 66
poll 50 eval '[ "$(visible_count)" -gt "$before" ]' || fail "the vehicle list did not open"
xdotool key Down Return
poll 50 eval '[ "$(visible_count)" -eq "$before" ]' || fail "the vehicle list did not close"
check "choosing a vehicle records nothing" 1 "$(count Motorrad)"

# ---- 3. calculate

step "3. 6,3 litres and 180 km, Alt+B"
# The choice put the focus in the litres box: type straight away.
xdotool type --delay 20 '6,3'
xdotool key Tab
xdotool type --delay 20 '180'
xdotool key alt+b
poll 100 eval '[ "$(count Motorrad)" = 2 ]' || fail "no new entry in 'Motorrad' after Alt+B"
check "one entry appended to 'Motorrad'" 2 "$(count Motorrad)"
new=$(row Motorrad 2)
today_after=$(date +%d.%m.%Y)
date_of_new=${new%%|*}
if [ "$date_of_new" = "$today_before" ] || [ "$date_of_new" = "$today_after" ]; then
    pass "new entry dated today ($date_of_new)"
else
    fail "new entry dated '$date_of_new', expected $today_before"
fi
check "new entry: 180 km, 6.3 l, 3.5 l/100 km, stored as numbers" "180.0|6.3|3.5|realrealreal" "${new#*|}"
check "earlier motorcycle entry unchanged" "$first_motorrad" "$(row Motorrad 1)"
check "'Auto' untouched" "$auto_before" "$(sql "SELECT * FROM \"Auto\" ORDER BY rowid")"
# The result line is red on grey: a red pixel shows that it was painted with a result.
shoot "$main" "$shots/e2e-main.png" 'rgb(255,0,0)' && pass "screenshot e2e-main.png" || fail "main window not painted"

# ---- 4. overview

step "4. Alt+Ü opens the overview"
focus "$main"
xdotool key alt+udiaeresis
overview=$(wait_window 'Übersicht') || give_up "overview window 'Übersicht' did not appear"
pass "overview shown"
geometry=$(xwininfo -id "$overview" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
check "overview client area is 7335 x 5385 twips" "489x359" "$geometry"
check "opening the overview changes no log" "2 1" "$(count Motorrad) $(count Auto)"
# The vehicle name is blue.
shoot "$overview" "$shots/e2e-overview.png" 'rgb(0,0,255)' && pass "screenshot e2e-overview.png" ||
    fail "overview not painted"

# ---- 5. select the new row and open the editor

step "5. Record selector of the second row, then 'Bearbeiten'"
# Grid at left 120, top 960 twips (8, 64 px); the selector column is about 15 px wide. The row
# heights follow the font, so they are measured on the picture: the grey lines that divide the
# selector column are the grid's top edge, the header's lower edge and each row's lower edge.
dividers=$(convert "$shots/e2e-overview.png" -crop 1x290+15+62 +repage -depth 8 txt:- 2>/dev/null | awk '
    NR > 1 {
        split($1, at, /[,:]/); y = at[2] + 62
        for (i = 2; i <= NF; i++) if ($i ~ /^#/) hex = $i
        v = (index("0123456789ABCDEF", substr(hex, 2, 1)) - 1) * 16 + index("0123456789ABCDEF", substr(hex, 3, 1)) - 1
        if (v >= 144 && v <= 200) { if (y != last + 1) printf "%d ", y; last = y }
    }')
read -r -a divider <<<"$dividers"
if [ "${#divider[@]}" -ge 4 ]; then
    second_row_y=$(((divider[2] + divider[3]) / 2))
    pass "second grid row found between y $((divider[2])) and $((divider[3]))"
else
    second_row_y=111 # as measured with the fonts of Debian 12: header 18 px, rows 19 px
    fail "grid row dividers not found in the picture (found: '$dividers'); trying y $second_row_y"
fi
click_at "$overview" 15 "$second_row_y"
# Command1 'Bearbeiten': left 240, top 4920, 6855 x 375 twips.
click_at "$overview" 244 340
editor=$(wait_window Bearbeiten) || give_up "editor window 'Bearbeiten' did not appear"
pass "editor shown"
geometry=$(xwininfo -id "$editor" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
check "editor client area is 3150 x 1875 twips" "210x125" "$geometry"

# ---- 6. correct the litres and store

step "6. Litres corrected to 9, Alt+Ü"
# Text2 (litres): left 1680, top 480, 1335 x 285 twips.
click_at "$editor" 156 41
xdotool key ctrl+a
xdotool type --delay 20 '9'
# The consumption field follows the typing; nothing is stored yet.
check "typing stores nothing" "180.0|6.3|3.5|realrealreal" "$(row Motorrad 2 | cut -d'|' -f2-)"
# The text boxes are white once painted; the shot shows the recomputed consumption.
shoot "$editor" "$shots/e2e-editor.png" 'rgb(255,255,255)' && pass "screenshot e2e-editor.png" || fail "editor not painted"
xdotool key alt+udiaeresis
poll 100 eval '[ "$(sql "SELECT \"Getankte Liter\" FROM \"Motorrad\" ORDER BY rowid LIMIT 1 OFFSET 1")" = 9.0 ]' ||
    fail "the corrected litres were not stored"
check "corrected entry: 180 km, 9 l, 5 l/100 km, date kept" "$date_of_new|180.0|9.0|5.0|realrealreal" "$(row Motorrad 2)"
check "the earlier entry (row 1) unchanged" "$first_motorrad" "$(row Motorrad 1)"
check "no entry added or lost" 2 "$(count Motorrad)"
check "'Auto' untouched" "$auto_before" "$(sql "SELECT * FROM \"Auto\" ORDER BY rowid")"
poll 50 no_window Bearbeiten && pass "editor hidden after storing" || fail "editor still shown after storing"

# ---- 7. refused input

step "7. Letters as litres, Alt+B: a window 'Fehler'"
focus "$main"
xdotool key alt+n # the button reads "Nochmal" after a result: reset first
# Text1 (litres): left 360, top 1560, 1455 x 375 twips; Text2 (km): left 3120.
click_at "$main" 72 116
xdotool type --delay 20 'abc'
click_at "$main" 252 116
xdotool type --delay 20 '180'
xdotool key alt+b
if fehler=$(wait_window Fehler); then
    pass "window 'Fehler' shown"
    focus "$fehler"
    xdotool key Return
    poll 50 no_window Fehler && pass "'Fehler' closed with Return" || fail "'Fehler' still open after Return"
else
    fail "no window 'Fehler' after letters"
fi
check "refused input records nothing" "2 1" "$(count Motorrad) $(count Auto)"

# ---- 8. zero kilometres

step "8. 5 litres and 0 km, Alt+B: a message, and the program keeps running"
focus "$main"
click_at "$main" 72 116
xdotool key ctrl+a
xdotool type --delay 20 '5'
click_at "$main" 252 116
xdotool key ctrl+a
xdotool type --delay 20 '0'
xdotool key alt+b
if message=$(wait_window Tankverzehr); then
    pass "message window shown"
    focus "$message"
    xdotool key Return
    poll 50 no_window Tankverzehr && pass "message closed with Return" || fail "message still open after Return"
else
    fail "no message after 0 km"
fi
check "nothing recorded for 0 km" "2 1" "$(count Motorrad) $(count Auto)"
alive && pass "program still running" || fail "program ended after 0 km"
# Still usable: the kilometres corrected, the same button calculates and records.
focus "$main"
click_at "$main" 252 116
xdotool key ctrl+a
xdotool type --delay 20 '100'
xdotool key alt+b
poll 100 eval '[ "$(count Motorrad)" = 3 ]' || true
check "a calculation after the message is recorded (5 l, 100 km)" "100.0|5.0|5.0|realrealreal" \
    "$(row Motorrad 3 | cut -d'|' -f2-)"
stop_program

# ---- 9. no log beside the program

step "9. Started in a folder without Verbrauch.mdb"
bare=$work/bare
mkdir -p "$bare"
cp "$program" "$bare/tankverzehr"
start_program "$bare"
main=$(wait_window Tankverzehrsberechnung) || give_up "main window did not appear in the bare folder"
focus "$main"
click_at "$main" 72 116
xdotool type --delay 20 '6,3'
click_at "$main" 252 116
xdotool type --delay 20 '180'
xdotool key alt+b
if message=$(wait_window Tankverzehr); then
    pass "failure message shown"
    focus "$message"
    xdotool key Return
    poll 50 no_window Tankverzehr || fail "message still open after Return"
else
    fail "no failure message without a log"
fi
alive && pass "program still running" || fail "program ended without a log"
check "the folder holds only the program" "tankverzehr" "$(ls -A "$bare" | tr '\n' ' ' | sed 's/ $//')"
stop_program

summary
