#!/usr/bin/env bash
# End to end: the real program records what its window shows, and a sink that
# fails does not stop it.
#
#   record.sh PROGRAM SNAPSHOT_CHECK RECORDING_CHECK REPO_ROOT
#
# A still test scene, recorded to a lossless .mkv and a .webm, with an output
# to a video device that does not exist: the program says so in one line and
# goes on. Background, Stealth, wait until the scene has faded, Snapshot, then
# Esc. The snapshot must be the background with the HUD for 100 %, the .mkv's
# last picture exactly the snapshot, and the .webm must play to its end with
# as many pictures as the program says it wrote. Exit status 1: an output
# failed. Exits 77 (skipped) without a display or with a real camera.
set -uo pipefail

program=$1 snapshot_check=$2 recording_check=$3 root=$4

source "$(dirname "$0")/../../e2e/common.sh"
source "$(dirname "$0")/../../e2e/program_driver.sh"

if ls /dev/video* >/dev/null 2>&1; then
    echo "this machine has a camera of its own (/dev/video*); skipped"
    exit 77
fi

e2e_start record

fail() {
    echo "FAIL (record): $*"
    [ -f "$work/program.log" ] && { echo "--- program output"; cat "$work/program.log"; }
    exit 1
}

mkdir -p "$work/images"
cp "$root"/res/images/*.bmp "$work/images/"
cp "$root/res/Tenebrix.cfg" "$work/"
caps="video/x-raw,format=BGR,width=640,height=480,framerate=30/1"
cd "$work"
gst-launch-1.0 -q videotestsrc pattern=smpte75 num-buffers=1 ! "$caps" ! \
    filesink location=scene.raw >/dev/null 2>&1 || fail "cannot render the reference frame"

TENEBRIX_WINDOW_DRIVER=gtk TENEBRIX_CAPTURE_DRIVER=gstreamer \
    TENEBRIX_VIRTUAL_CAMERAS="E2E Still Camera=videotestsrc pattern=smpte75 is-live=true ! $caps" \
    "$program" --record rec.mkv --record=rec.webm --output 'v4l2sink device=/dev/tenebrix-none' \
    >program.log 2>&1 &
pid=$!

question=$(wait_window 'このデバイスを使用しますか？' 20) || fail "no device question"
press "$question" Return
dialog=$(wait_window TENEBRIX 20) || fail "no main dialog"
sleep 1.5
check_snapshot() { "$snapshot_check" still "$1" "$root/res/images" scene.raw; }
fade_and_snapshot check_snapshot
[ "$passed" = yes ] || fail "the scene never showed faded"
press "$dialog" Escape
wait_exit 60 || fail "the program did not end after Esc"
[ "$status" -eq 1 ] || fail "exit status $status, expected 1 (an output failed)"

sink_lines=$(grep -c 'v4l2sink device=/dev/tenebrix-none' program.log)
[ "$sink_lines" -eq 1 ] || fail "the failing sink was reported in $sink_lines lines"
grep -q "/dev/tenebrix-none.*the window goes on without it" program.log ||
    fail "the failing sink's line does not say that the window goes on"
"$recording_check" last-is rec.mkv "$snapshot" || fail "the recording is not the window's picture"
webm=$(sed -n 's/^tenebrix: rec\.webm: \([0-9]*\) pictures.*/\1/p' program.log)
[ -n "$webm" ] || fail "the program did not say how many pictures rec.webm has"
"$recording_check" frames rec.webm "$webm" || fail "rec.webm does not play to its end"
cat program.log
echo "record: passed"
