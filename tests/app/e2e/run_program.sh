#!/usr/bin/env bash
# End-to-end runs of the real program: GTK window on the X display of the test
# command (Xvfb), GStreamer virtual cameras, clicks by xdotool as a user would.
#
#   run_program.sh SCENARIO PROGRAM SNAPSHOT_CHECK REPO_ROOT
#
# Scenarios:
#   still      a still test scene: Yes to the camera question, Background,
#              Stealth, wait until the scene has faded, Snapshot, "The End".
#              The snapshot must be the background with the HUD for 100 %, and
#              the program must exit with status 0.
#   moving     the same with a moving ball: the HUD shows less than 100 %.
#   no-device  no camera at all: the "no device" box, dismissed, ends the program.
#   about      the window has the program icon in both sizes; the About box
#              from the window menu (right click): the picture goes on changing
#              behind it; OK closes it; "The End" ends the program.
# Exits 0 on success, 77 (skipped) without a display or with a real camera
# attached, 1 on failure.
set -uo pipefail

scenario=$1 program=$2 check=$3 root=$4

source "$(dirname "$0")/../../e2e/common.sh"
source "$(dirname "$0")/../../e2e/program_driver.sh"

# The device questions come for the machine's own cameras first, and a test
# cannot tell them apart: these runs need a machine without a webcam.
if ls /dev/video* >/dev/null 2>&1; then
    echo "this machine has a camera of its own (/dev/video*); skipped"
    exit 77
fi

e2e_start e2e

fail() {
    echo "FAIL ($scenario): $*"
    if [ -f "$work/program.log" ]; then
        echo "--- program output"; cat "$work/program.log"
    fi
    exit 1
}

# The run directory as ./run makes it: Tenebrix.cfg and images/.
mkdir -p "$work/images"
cp "$root"/res/images/*.bmp "$work/images/"
cp "$root/res/Tenebrix.cfg" "$work/"

frame_caps="video/x-raw,format=BGR,width=640,height=480,framerate=30/1"
case $scenario in
    still) cameras="E2E Still Camera=videotestsrc pattern=smpte75 is-live=true ! $frame_caps" ;;
    moving) cameras="E2E Moving Camera=videotestsrc pattern=ball is-live=true ! $frame_caps" ;;
    no-device) cameras="" ;;
    about) cameras="E2E Snow Camera=videotestsrc pattern=snow is-live=true ! $frame_caps" ;;
    *) echo "unknown scenario $scenario"; exit 2 ;;
esac

cd "$work"
TENEBRIX_WINDOW_DRIVER=gtk TENEBRIX_CAPTURE_DRIVER=gstreamer TENEBRIX_VIRTUAL_CAMERAS="$cameras" \
    "$program" >"$work/program.log" 2>&1 &
pid=$!

if [ "$scenario" = no-device ]; then
    box=$(wait_window ERROR 20) || fail "no 'ERROR' box appeared"
    ends_before_the_dialog "$box" Return
    echo "no device: the box came, the program ended with status 0"
    exit 0
fi

question=$(wait_window 'このデバイスを使用しますか？' 20) || fail "no device question appeared"
press "$question" Return  # Yes is the default button
dialog=$(wait_window TENEBRIX 20) || fail "the main dialog did not show"
sleep 1.5                 # the camera is running and the picture is live

if [ "$scenario" = about ]; then
    # The window carries the program icon in both sizes, for title bars and
    # task bars: the 32 x 32 image as the big icon, the 16 x 16 one as the small.
    icons=$(xprop -id "$dialog" _NET_WM_ICON 2>/dev/null | grep -o 'Icon ([0-9]* x [0-9]*)' |
        sort | tr '\n' ' ')
    [ "$icons" = "Icon (16 x 16) Icon (32 x 32) " ] || fail "window icons: ${icons:-none}"
    xdotool mousemove --sync --window "$dialog" 160 60 click 3  # the window menu
    sleep 0.8
    xdotool key Up Return  # its last entry: the About box
    about=$(wait_window 'Tenebrixのﾊﾞｰｼﾞｮﾝ情報' 10) || fail "the About box did not show"
    # The box covers only part of the picture: the rest must go on changing.
    xwd -silent -id "$dialog" -out "$work/before.xwd" || fail "no screenshot"
    sleep 1
    xwd -silent -id "$dialog" -out "$work/after.xwd" || fail "no screenshot"
    if cmp -s "$work/before.xwd" "$work/after.xwd"; then
        fail "the picture stood still behind the About box"
    fi
    press "$about" Return  # OK
    sleep 1
    if xdotool search --onlyvisible --name '^Tenebrixのﾊﾞｰｼﾞｮﾝ情報$' >/dev/null 2>&1; then
        fail "the About box did not close"
    fi
    ends_with_the_end
    echo "about: the box opened and closed, the picture moved behind it"
    exit 0
fi

if [ "$scenario" = still ]; then
    # The scene as the camera delivers it, for the exact comparison.
    gst-launch-1.0 -q videotestsrc pattern=smpte75 num-buffers=1 ! \
        "video/x-raw,format=BGR,width=640,height=480" ! filesink location="$work/scene.raw" \
        >/dev/null 2>&1 || fail "cannot render the reference frame"
fi

check_snapshot() {
    if [ "$scenario" = still ]; then
        "$check" still "$1" "$root/res/images" "$work/scene.raw"
    else
        "$check" moving "$1" "$root/res/images"
    fi
}
fade_and_snapshot check_snapshot
ends_with_the_end
[ "$passed" = yes ] || fail "snapshot"
echo "$scenario: passed"
