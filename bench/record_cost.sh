#!/usr/bin/env bash
# The CPU cost of recording: runs build/app/tenebrix on $DISPLAY with the demo
# scene as a 320x240 camera at 30 frames a second, for SECONDS (20) after the
# dialog shows, once without recording and once with each kind of file, and
# prints the CPU time the process took per second (100 % = one core).
#
#   DISPLAY=:5 bench/record_cost.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
program="$root/build/app/tenebrix"
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/images"
cp "$root"/res/images/*.bmp "$work/images/"
cd "$work"
export TENEBRIX_VIRTUAL_CAMERAS="Demo=tenebrixdemosrc is-live=true ! video/x-raw,width=320,height=240,framerate=30/1"

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() {
    "$program" "$@" >run.log 2>&1 &
    pid=$!
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name '^このデバイスを使用しますか？$' 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && break
        sleep 0.2
    done
    xdotool windowfocus --sync "$id"; xdotool key Return
    sleep 2  # the dialog shows, the camera runs
    local dialog before after
    dialog=$(xdotool search --onlyvisible --name '^TENEBRIX$' | head -n 1)
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    xdotool windowfocus --sync "$dialog"; xdotool key Escape
    wait "$pid" || true
    pid=""
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v what="${*:-no recording}" \
        'BEGIN { printf "%-24s %5.1f %% of one core\n", what, 100 * t / hz / s }'
    grep -h "pictures" run.log || true
}

measure
measure --record clip.webm
measure --record clip.mkv
