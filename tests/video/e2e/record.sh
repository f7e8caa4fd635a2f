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

window() {
    local deadline=$((SECONDS + 20)) id
    while [ $SECONDS -lt $deadline ] && kill -0 "$pid" 2>/dev/null; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
key() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.2
    xdotool key --clearmodifiers "$2"
}
click() {  # client pixels of the main dialog (see tests/app/e2e/run_program.sh)
    xdotool mousemove --sync --window "$dialog" "$1" "$2" click 1
    sleep 0.3
}

question=$(window 'このデバイスを使用しますか？') || fail "no device question"
key "$question" Return
dialog=$(window TENEBRIX) || fail "no main dialog"
sleep 1.5
click 154 255  # Background
click 189 280  # Stealth
sleep 5
snapshot=""
for n in 0 1 2 3 4 5 6 7; do
    name=$(printf 'snapshot%03d.bmp' "$n")
    click 224 255  # Snapshot
    for _ in $(seq 50); do [ "$(stat -c %s "$name" 2>/dev/null || echo 0)" -ge 230454 ] && break; sleep 0.2; done
    sleep 0.2
    if "$snapshot_check" still "$name" "$root/res/images" scene.raw >check.log 2>&1; then
        snapshot=$name
        break
    fi
    sleep 2
done
[ -n "$snapshot" ] || { cat check.log; fail "the scene never showed faded"; }
key "$dialog" Escape
for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after Esc"
wait "$pid"
status=$?
pid=""
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
