#!/usr/bin/env bash
# The Debian package on a new user's machine: builds the .deb, installs it
# with apt-get into a fresh Debian 12 root (debootstrap, minbase), and starts
# it there as a user would from the desktop menu (the desktop entry's command)
# on the test's X display, with a virtual camera. Snapshot must put the
# picture into the user's pictures folder.
#
#   package_test.sh BUILD_DIR SOURCE_DIR
# Needs root and the Debian mirror; exits 77 (skipped) without them or
# without an X display.
set -uo pipefail
build=$1 source=$2

[ "$(id -u)" -eq 0 ] || { echo "needs root for the Debian root; skipped"; exit 77; }
[ -n "${DISPLAY:-}" ] || { echo "no X display (the ./test command starts Xvfb); skipped"; exit 77; }
command -v debootstrap >/dev/null || { echo "no debootstrap; skipped"; exit 77; }

base=$build/package-root-base  # kept between runs of one build folder
root=$build/package-root
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    # Never remove the root while something is mounted in it.
    umount "$root/proc" 2>/dev/null
    if ! grep -q " $root/" /proc/mounts; then rm -rf "$root"; fi
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -f "$root/tmp/program.log" ] && { echo "--- program output"; cat "$root/tmp/program.log"; }
    exit 1
}
log=$build/package-test.log
: >"$log"

echo "building the package"
rm -rf "$build/package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" >>"$log" 2>&1 ||
    fail "cpack (see $log)"
deb=$(ls "$build"/package/tenebrix_*.deb) || fail "no .deb was built"

if [ ! -x "$base/bin/bash" ]; then
    echo "making a fresh Debian 12 root"
    mirror=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null)
    [ -n "$mirror" ] || mirror=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list 2>/dev/null)
    rm -rf "$base"
    debootstrap --variant=minbase bookworm "$base" "${mirror:-http://deb.debian.org/debian}" \
        >>"$log" 2>&1 || fail "debootstrap (see $log)"
fi
cleanup
cp -a "$base" "$root"
mount -t proc proc "$root/proc" || fail "cannot mount /proc in the root"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null
cp "$deb" "$root/tmp/"

echo "installing $(basename "$deb") with apt-get"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
in_root bash -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends /tmp/$(basename "$deb")" >>"$log" 2>&1 ||
    fail "apt-get install (see $log)"
in_root useradd --create-home --uid 4321 ada >>"$log" 2>&1 || fail "useradd"

# The desktop menu runs the entry's command as the user, in the home folder.
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/tenebrix.desktop")
[ -n "$command" ] || fail "the desktop entry has no command"
camera="Package Camera=videotestsrc pattern=smpte75 is-live=true ! video/x-raw,width=640,height=480,framerate=30/1"
chroot --userspec=4321:4321 "$root" env -i PATH=/usr/bin:/bin HOME=/home/ada LANG=C.UTF-8 \
    DISPLAY="$DISPLAY" TENEBRIX_VIRTUAL_CAMERAS="$camera" \
    sh -c "cd /home/ada && exec $command" >"$root/tmp/program.log" 2>&1 &
pid=$!

source "$source/tests/e2e/program_window.sh"
question=$(wait_program_window '' 60) || fail "the device question did not appear"
press "$question" Return
dialog=$(wait_program_window TENEBRIX 30) || fail "the main dialog did not show"
sleep 1
click_snapshot
snapshot=$root/home/ada/Pictures/Tenebrix/snapshot000.bmp
for _ in $(seq 50); do
    [ "$(stat -c %s "$snapshot" 2>/dev/null || echo 0)" -eq 230454 ] && break
    sleep 0.2
done
[ "$(stat -c %s "$snapshot" 2>/dev/null || echo 0)" -eq 230454 ] ||
    fail "no 320 x 240 snapshot in the user's pictures folder"
[ "$(stat -c %u "$snapshot")" -eq 4321 ] || fail "the snapshot does not belong to the user"
click_the_end
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after 'The End'"
wait "$pid" || fail "exit status $?"
pid=""
echo "package: installed with its dependencies, started from the menu entry, snapshot saved in ~/Pictures/Tenebrix"
