#!/usr/bin/env bash
# Cuts the power right after each write that the program or the data tool reports as done, and
# counts how many of those writes are still there afterwards. A small ext4 image on a loop device
# is mounted, the write runs on it, and the moment it reports success the file system is shut
# down without flushing its journal (the FS_IOC_SHUTDOWN ioctl with FS_GOING_DOWN_NOLOGFLUSH, as
# at a power cut); then it is unmounted, mounted again and looked at.
#
# The windows' writes (a recording by the calculator, a save and a delete in the editor) run
# through tests/support/PowerCutDriver.cpp, which does them with the program's own classes and
# prints when the window would report them done; the data tool runs as built.
#
#   sudo bash scripts/check-power-cut.sh [CUTS]   (default 10 cuts for each kind of write)
#
# KINDS="sichern export" limits it to some of: aufzeichnen speichern loeschen import sichern
# export bericht.
#
# Needs root and loop devices; where they cannot be had it says so and exits 0. Not part of the
# test suite or CI. Builds into build/ (or BUILD_DIR) first unless NO_BUILD=1.
set -uo pipefail
cd "$(dirname "$0")/.."
cuts=${1:-10}
build=${BUILD_DIR:-build}

skip() { echo "check-power-cut: skipped: $*"; exit 0; }
[ "$(id -u)" -eq 0 ] || skip "needs root for a loop device and mounting"
for tool in losetup mkfs.ext4 mount umount python3; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done
if [ "${NO_BUILD:-0}" != 1 ]; then
    bash scripts/build.sh >/dev/null || { echo "check-power-cut: build failed" >&2; exit 1; }
fi
tool=$(realpath "$build/tankverzehr-daten")
driver=$(realpath "$build/powercut-driver")
emptylog=$(realpath "$build/Verbrauch.mdb")
for file in "$tool" "$driver" "$emptylog"; do
    [ -e "$file" ] || { echo "check-power-cut: $file is missing; build first" >&2; exit 1; }
done

work=$(mktemp -d /tmp/tankverzehr-powercut.XXXXXX)
image=$work/disk.img
mnt=$work/mnt
mkdir -p "$mnt"
truncate -s 64M "$image"
mkfs.ext4 -q "$image" || skip "mkfs.ext4 failed"
loop=$(losetup -f --show "$image" 2>/dev/null) || skip "no loop device can be made here"
cleanup() {
    umount "$mnt" 2>/dev/null
    losetup -d "$loop" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mount "$loop" "$mnt" 2>/dev/null || skip "the loop device cannot be mounted here"

export QT_QPA_PLATFORM=offscreen HOME=$work XDG_RUNTIME_DIR=$work
# Runs the command; on its first line of standard output (its success message) shuts the file
# system down at once. Prints "reported" when that happened.
cat >"$work/cut.py" <<'PY'
import fcntl, os, struct, subprocess, sys
mount = sys.argv[1]
process = subprocess.Popen(sys.argv[2:], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
line = process.stdout.readline()
if line:
    folder = os.open(mount, os.O_RDONLY)
    fcntl.ioctl(folder, 0x8004587D, struct.pack("I", 2))  # FS_IOC_SHUTDOWN, FS_GOING_DOWN_NOLOGFLUSH
    print("reported")
process.wait()
PY
# Answers a question about the log or a file after the remount.
cat >"$work/look.py" <<'PY'
import sqlite3, sys
what, path = sys.argv[1], sys.argv[2]
if what == "rows":  # rows of Auto with that many kilometres
    db = sqlite3.connect(path)
    print(db.execute('SELECT count(*) FROM "Auto" WHERE "Gefahrene Kilometer" = ?', (float(sys.argv[3]),)).fetchone()[0])
elif what == "backup":  # a sound log with the expected number of rows
    db = sqlite3.connect("file:" + path + "?mode=ro", uri=True)
    ok = db.execute("PRAGMA integrity_check").fetchone()[0] == "ok"
    print(db.execute('SELECT count(*) FROM "Auto"').fetchone()[0] if ok else -1)
elif what == "lines":
    print(open(path, "rb").read().count(b"\n"))
elif what == "pdf":
    print(1 if open(path, "rb").read().rstrip().endswith(b"%%EOF") else 0)
PY

remount() {
    umount "$mnt" 2>/dev/null || { sleep 0.5; umount "$mnt"; }
    mount "$loop" "$mnt"
}
log=$mnt/Verbrauch.mdb
cp "$emptylog" "$log"
"$driver" aufzeichnen "$log" 1 >/dev/null
sync -f "$mnt"

# One cut: $1 kind, $2 number, $3 the kind's own range of kilometres, so that no two writes
# look alike. Sets up durably, writes, cuts, remounts; prints 1 when the write
# was reported and found, 0 when reported and lost, nothing when it was not reported.
cut() {
    local kind=$1 n=$2 km=$(($3 + $2)) reported found
    case $kind in
    loeschen) "$driver" aufzeichnen "$log" "$km" >/dev/null ;;
    import) printf 'Datum;Gefahrene Kilometer;Getankte Liter;Verbrauch auf 100 km in Liter\r\n01.01.2024;%s;7;7\r\n01.01.2024;%s;7;7\r\n01.01.2024;%s;7;7\r\n' \
        "$km" "$km" "$km" >"$mnt/import$n.csv" ;;
    esac
    sync -f "$mnt"
    case $kind in
    aufzeichnen | speichern) reported=$(python3 "$work/cut.py" "$mnt" "$driver" "$kind" "$log" "$km") ;;
    loeschen) reported=$(python3 "$work/cut.py" "$mnt" "$driver" loeschen "$log") ;;
    # The rows tell the runs apart by their kilometres, not by plausible fill-ups.
    import) reported=$(python3 "$work/cut.py" "$mnt" "$tool" import "$mnt/import$n.csv" --fahrzeug Auto --unplausible-zulassen --log "$log") ;;
    sichern) reported=$(python3 "$work/cut.py" "$mnt" "$tool" sichern "$mnt/backup$n.mdb" --log "$log") ;;
    export) reported=$(python3 "$work/cut.py" "$mnt" "$tool" export --log "$log" --ziel "$mnt/export$n.csv") ;;
    bericht) reported=$(python3 "$work/cut.py" "$mnt" "$tool" bericht --log "$log" --ziel "$mnt/report$n.pdf") ;;
    esac
    remount
    [ "$reported" = reported ] || return 0
    case $kind in
    aufzeichnen | speichern) found=$(($(python3 "$work/look.py" rows "$log" "$km" 2>/dev/null || echo 0) == 1)) ;;
    loeschen) found=$(($(python3 "$work/look.py" rows "$log" "$km" 2>/dev/null || echo 1) == 0)) ;;
    import) found=$(($(python3 "$work/look.py" rows "$log" "$km" 2>/dev/null || echo 0) == 3)) ;;
    sichern) found=$(($(python3 "$work/look.py" backup "$mnt/backup$n.mdb" 2>/dev/null || echo -1) >= 1)) ;;
    export) found=$(($(python3 "$work/look.py" lines "$mnt/export$n.csv" 2>/dev/null || echo 0) >= 2)) ;;
    bericht) found=$(python3 "$work/look.py" pdf "$mnt/report$n.pdf" 2>/dev/null || echo 0) ;;
    esac
    echo "${found:-0}"
}

printf '%-34s %8s %6s %5s\n' "write" "reported" "intact" "lost"
total_lost=0
range=0
for kind in ${KINDS:-aufzeichnen speichern loeschen import sichern export bericht}; do
    reported=0 intact=0 range=$((range + 1000))
    for n in $(seq 1 "$cuts"); do
        result=$(cut "$kind" "$n" "$range")
        mountpoint -q "$mnt" || { echo "check-power-cut: the image cannot be mounted again" >&2; exit 1; }
        [ -n "$result" ] || continue
        reported=$((reported + 1))
        intact=$((intact + result))
    done
    case $kind in
    aufzeichnen) name="recording (calculator)" ;;
    speichern) name="save (editor)" ;;
    loeschen) name="delete (editor)" ;;
    import) name="import of 3 rows" ;;
    sichern) name="backup (sichern)" ;;
    export) name="export --ziel" ;;
    bericht) name="report (bericht)" ;;
    esac
    lost=$((reported - intact))
    total_lost=$((total_lost + lost))
    printf '%-34s %8d %6d %5d\n' "$name" "$reported" "$intact" "$lost"
done
leftovers=$(find "$mnt" -name '.*' -type f | wc -l)
echo "hidden files left in the folder: $leftovers"
[ "$total_lost" -eq 0 ]
