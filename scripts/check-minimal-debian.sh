#!/usr/bin/env bash
# Proves that the README's test command installs everything it uses: builds a minimal Debian 12
# (debootstrap --variant=minbase, nothing else) in a folder, copies the committed project into it
# and runs `bash scripts/test.sh` there as root. Needs root, debootstrap and the Debian mirror;
# takes a while. Not part of the test suite or CI.
#
#   sudo bash scripts/check-minimal-debian.sh [FOLDER]   (default: /var/tmp/tankverzehr-minbase)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-/var/tmp/tankverzehr-minbase}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

[ "$(id -u)" -eq 0 ] || { echo "run as root (chroot and debootstrap need it)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "debootstrap is missing (apt-get install debootstrap)" >&2; exit 2; }

if [ ! -x "$root/usr/bin/apt-get" ]; then
    debootstrap --variant=minbase bookworm "$root" "$mirror"
fi
echo "deb $mirror bookworm main" >"$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"

rm -rf "$root/src"
mkdir -p "$root/src"
git archive HEAD | tar -x -C "$root/src"

mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" || true; done
}
trap cleanup EXIT
for fs in proc sys dev dev/pts; do
    mount --bind "/$fs" "$root/$fs"
    mounted+=("$root/$fs")
done
mount -t tmpfs tmpfs "$root/tmp" && mounted+=("$root/tmp")
mkdir -p "$root/dev/shm"
mount -t tmpfs tmpfs "$root/dev/shm" && mounted+=("$root/dev/shm")

echo "== Packages before: $(chroot "$root" dpkg-query -W | wc -l)"
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 CI=true \
    bash -c 'cd /src && bash scripts/test.sh'
echo "== Packages after: $(chroot "$root" dpkg-query -W | wc -l)"
echo "== The README's test command passed on a minimal Debian 12"
