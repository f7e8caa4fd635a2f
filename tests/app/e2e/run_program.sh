#!/usr/bin/env bash
# End-to-end runs of the real program: GTK window on the X display of the test
# command (Xvfb), GStreamer virtual cameras, clicks by xdotool as a user would.
#
#   run_program.sh SCENARIO PROGRAM SNAPSHOT_CHECK REPO_ROOT [FAKE_WEBCAMS_PLUGIN_DIR]
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
#   webcams    fake webcams with real webcams' caps (a camera that two
#              providers list, an H.264-only node, a camera with slow raw and
#              fast JPEG modes): two questions, No then Yes; the program says
#              it runs the second in JPEG 640x480 at 30 frames a second and the
#              camera streams that; the picture moves, freezes when the camera
#              is unplugged (the user is told once), moves again when it is
#              plugged back; a snapshot.
# A camera or a display that fails (cameras on a pipe, fed by this script):
#   stalled        the camera sends 30 frames and then nothing, the pipe open:
#                  "The End" closes the window and ends the program at once.
#   never-opens    nobody ever writes to the pipe: Yes, then within seconds an
#                  "ERROR" box (a failed bind); dismissed, the program ends.
#   camera-ends    the camera sends 60 frames and closes: one "ERROR" box says
#                  so; the program goes on, Snapshot saves the last picture.
#   closed-outside the main window destroyed by another program: the program
#                  ends as after a close, with status 0.
#   display-lost   the program's display connection killed: status 1 and one
#                  line saying why.
# Exits 0 on success, 77 (skipped) without a display or with a real camera
# attached, 1 on failure.
set -uo pipefail

scenario=$1 program=$2 check=$3 root=$4 plugins=${5:-}

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
    stalled | never-opens | camera-ends)
        mkfifo "$work/camera.pipe"
        cameras="E2E Pipe Camera=filesrc location=$work/camera.pipe ! rawvideoparse width=64 height=48 format=bgr framerate=30/1"
        frame_bytes=$((64 * 48 * 3))
        case $scenario in
            stalled) sh -c "head -c $((30 * frame_bytes)) /dev/zero; exec sleep 300" >"$work/camera.pipe" & ;;
            camera-ends) head -c $((60 * frame_bytes)) /dev/zero >"$work/camera.pipe" & ;;
        esac
        [ "$scenario" = never-opens ] || helper=$!
        ;;
    closed-outside | display-lost)
        cameras="E2E Ball Camera=videotestsrc pattern=ball is-live=true ! $frame_caps" ;;
    webcams)
        cameras=""
        export GST_PLUGIN_PATH=$plugins GST_REGISTRY=$work/registry.bin
        export TENEBRIX_FAKE_WEBCAMS=two-providers,h264-only,slow-raw
        export TENEBRIX_FAKE_WEBCAMS_UNPLUGGED=$work/unplugged
        ;;
    *) echo "unknown scenario $scenario"; exit 2 ;;
esac

# Waits up to 20 seconds for the program to say $1 on stderr.
wait_log() {
    local deadline=$((SECONDS + 20))
    until grep -qF -- "$1" "$work/program.log"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# Whether the main dialog's picture changes within a second.
picture_moves() {
    xwd -silent -id "$dialog" -out "$work/before.xwd" || fail "no screenshot"
    sleep 1
    xwd -silent -id "$dialog" -out "$work/after.xwd" || fail "no screenshot"
    ! cmp -s "$work/before.xwd" "$work/after.xwd"
}

# Snapshot, then "The End": snapshot000.bmp is written whole (else fails
# saying $1) and the program ends with status 0.
snapshot_then_end() {
    click_snapshot
    sleep 2
    [ "$(stat -c %s snapshot000.bmp 2>/dev/null)" = 230454 ] || fail "$1"
    ends_with_the_end
}

cd "$work"
LC_ALL=$program_locale TENEBRIX_WINDOW_DRIVER=gtk TENEBRIX_CAPTURE_DRIVER=gstreamer \
    TENEBRIX_VIRTUAL_CAMERAS="$cameras" "$program" >"$work/program.log" 2>&1 &
pid=$!

if [ "$scenario" = no-device ]; then
    box=$(wait_window ERROR 20) || fail "no 'ERROR' box appeared"
    ends_before_the_dialog "$box" Return
    echo "no device: the box came, the program ended with status 0"
    exit 0
fi

question=$(wait_window 'このデバイスを使用しますか？' 20) || fail "no device question appeared"
if [ "$scenario" = webcams ]; then
    press "$question" alt+n  # No: the next camera is asked about
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^このデバイスを使用しますか？\$" 2>/dev/null |
            grep -qx "$question" || break
        sleep 0.2
    done
    question=$(wait_window 'このデバイスを使用しますか？' 20) || fail "no second question"
fi
press "$question" Return  # Yes is the default button

if [ "$scenario" = never-opens ]; then
    box=$(wait_window ERROR 30) || fail "no 'ERROR' box for the camera that does not open"
    grep -q 'does not open' "$work/program.log" || fail "no line on stderr"
    press "$box" Return
    wait_exit 20 || fail "the program did not end after the box was dismissed"
    [ "$status" -eq 0 ] || fail "exit status $status"
    echo "never-opens: a failed bind, and the program ended"
    exit 0
fi

dialog=$(wait_window TENEBRIX 20) || fail "the main dialog did not show"
sleep 1.5                 # the camera is running and the picture is live

case $scenario in
    stalled)
        sleep 1.5  # the 30 frames are long gone: the camera stalls
        click_the_end
        # At once, whatever the camera does: well within the 300 s it stalls.
        wait_exit 15 || fail "the program did not end after 'The End'"
        [ "$status" -eq 0 ] || fail "exit status $status"
        echo "stalled: the program ended"
        exit 0
        ;;
    camera-ends)
        box=$(wait_window ERROR 30) || fail "no 'ERROR' box when the camera ended"
        grep -q 'the camera stopped' "$work/program.log" || fail "no line on stderr"
        press "$box" Return
        sleep 1
        if xdotool search --onlyvisible --name '^ERROR$' >/dev/null 2>&1; then
            fail "a second box came"
        fi
        snapshot_then_end "no snapshot after the end"
        echo "camera-ends: told once, the program went on"
        exit 0
        ;;
    closed-outside)
        xdotool windowclose "$dialog"
        wait_exit 15 || fail "the program went on without its window"
        [ "$status" -eq 0 ] || fail "exit status $status"
        echo "closed-outside: the program ended"
        exit 0
        ;;
    webcams)
        if xdotool search --onlyvisible --name '^このデバイスを使用しますか？$' >/dev/null 2>&1; then
            fail "a third device question"
        fi
        wait_log 'tenebrix: camera "USB Camera": JPEG 640x480 at 30 frames a second' ||
            fail "the program did not say the camera's mode"
        wait_log 'fake webcam slow-raw: streaming image/jpeg, width=(int)640, height=(int)480, framerate=(fraction)30/1' ||
            fail "the camera was not asked for JPEG 640x480 at 30 frames a second"
        picture_moves || fail "the picture stood still"
        echo slow-raw >"$work/unplugged"
        wait_log 'camera "USB Camera" is gone' || fail "the unplugged camera was not noticed"
        box=$(wait_window ERROR 20) || fail "the user was not told that the camera stopped"
        press "$box" Return
        sleep 0.5
        picture_moves && fail "the picture moved with the camera unplugged"
        : >"$work/unplugged"
        wait_log 'camera "USB Camera" is back' || fail "the camera plugged back was not taken"
        sleep 0.5
        picture_moves || fail "the picture did not resume"
        snapshot_then_end "no snapshot"
        echo "webcams: two questions, JPEG 640x480 at 30, frozen while unplugged, resumed"
        exit 0
        ;;
    display-lost)
        xkill -id "$dialog" >/dev/null
        wait_exit 15 || fail "the program went on without its display"
        [ "$status" -eq 1 ] || fail "exit status $status"
        [ "$(grep -c 'tenebrix: the connection to the display .* was lost' "$work/program.log")" = 1 ] ||
            fail "no line saying why"
        echo "display-lost: status 1, and why"
        exit 0
        ;;
esac

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
    picture_moves || fail "the picture stood still behind the About box"
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
