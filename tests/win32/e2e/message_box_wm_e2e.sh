#!/usr/bin/env bash
# Message boxes under a window manager, as a user sees them. openbox runs on
# the test display for this test only, with settings of its own
# (openbox-rc.xml), and is stopped at the end.
#   - The device question: its title bar shows the whole caption, as many
#     columns of it as a wide plain window's title bar does (the columns that
#     change when the title is emptied); neither a resize request nor an
#     Alt + right drag resizes it (both do resize the plain window), and the
#     window manager offers no resizing or maximising; Enter answers Yes.
#   - The question about a device with a 5,000-character name: the box with
#     its frame lies within the work area; Enter answers Yes.
#
#   message_box_wm_e2e.sh PROGRAM     (PROGRAM: the message_box_e2e helper)
#
# Exits 0 on success, 77 (skipped) without a display or when a window manager
# already runs on it, 1 on failure.
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

source "$here/../../e2e/common.sh"
e2e_start msgbox-wm

question='このデバイスを使用しますか？'

fail() {
    echo "FAIL: $*"
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $log"; cat "$log"; }
    done
    exit 1
}

wm_running() {
    local id
    id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*')
    [ -n "$id" ] && xwininfo -id "$id" >/dev/null 2>&1
}

if wm_running; then
    echo "a window manager already runs on $DISPLAY; skipped"
    exit 77
fi

wm=""
ruler=""
stop_all() {
    for p in $ruler $wm; do
        kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
    done
    e2e_cleanup
}
trap stop_all EXIT

# Now and then openbox cannot open the display on a busy machine: it then
# ends at once, and gets another try.
mkdir -p "$work/home"
for _ in 1 2 3; do
    HOME="$work/home" XDG_CONFIG_HOME="$work/home" XDG_CACHE_HOME="$work/home" \
        XDG_DATA_HOME="$work/home" openbox --sm-disable --config-file "$here/openbox-rc.xml" \
        >>"$work/openbox.log" 2>&1 &
    wm=$!
    for _ in $(seq 100); do
        wm_running && break 2
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.1
    done
    kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
    sleep 0.5
done
wm_running || fail "openbox did not start"

# The visible window of process $1, once the window manager has framed it.
framed_window() {
    local id
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1)
        if [ -n "$id" ] && xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; then
            sleep 0.5  # drawn
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Sets X Y W H (the client area on the screen) and L R T B (the frame's
# borders and title bar) of window $1.
geometry() {
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "X=" $4}
        /Absolute upper-left Y/ {print "Y=" $4}
        /^  Width:/ {print "W=" $2} /^  Height:/ {print "H=" $2}')"
    read -r L R T B < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
}

# How many columns of window $1's title bar the caption takes.
caption_span() {
    geometry "$1"
    xwd -root -silent -out "$work/titled.xwd" || fail "no screenshot"
    xprop -id "$1" -f _NET_WM_NAME 8u -set _NET_WM_NAME ""
    xprop -id "$1" -f WM_NAME 8s -set WM_NAME ""
    sleep 0.5
    xwd -root -silent -out "$work/untitled.xwd" || fail "no screenshot"
    "$program" span "$work/titled.xwd" "$work/untitled.xwd" $((X - L)) $((Y - T)) \
        $((W + L + R)) "$T"
}

# Tries to make window $1 larger as a user would: Alt + right drag on it.
try_resize() {
    geometry "$1"
    xdotool mousemove $((X + W - 4)) $((Y + H - 4)) keydown Alt_L sleep 0.2 mousedown 3 \
        sleep 0.3 mousemove $((X + W + 20)) $((Y + H + 10)) sleep 0.1 \
        mousemove $((X + W + 60)) $((Y + H + 40)) sleep 0.3 mouseup 3 sleep 0.1 keyup Alt_L
    sleep 0.5
}

# Presses Enter in window $1 and expects the box's process to print "answer 6" (IDYES).
answer_yes() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.2
    xdotool key --clearmodifiers Return
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    wait "$pid" 2>/dev/null
    pid=""
    grep -q 'answer 6' "$work/box.log" || fail "Enter did not answer Yes"
}

# A plain window shows the whole caption: how wide openbox draws it.
"$program" ruler "$question" >"$work/ruler.log" 2>&1 &
ruler=$!
plain=$(framed_window "$ruler") || fail "the plain window did not show"
whole=$(caption_span "$plain")
geometry "$plain"
plain_width=$W
try_resize "$plain"
geometry "$plain"
[ "$W" -gt "$plain_width" ] || fail "Alt + right drag did not resize even a plain window"
kill "$ruler" && wait "$ruler" 2>/dev/null
ruler=""

# The device question.
"$program" box yesno "$question" "E2E Camera" >"$work/box.log" 2>&1 &
pid=$!
box=$(framed_window "$pid") || fail "no device question appeared"
shown=$(caption_span "$box")
echo "caption: $shown columns in the box's title bar, $whole in a wide window's"
[ "$whole" -ge 100 ] || fail "the wide window's caption takes only $whole columns"
[ "$shown" -ge $((whole - 2)) ] || fail "the title bar shows only part of the caption"

actions=$(xprop -id "$box" _NET_WM_ALLOWED_ACTIONS)
case $actions in
    *RESIZE* | *MAXIMIZE*) fail "the window manager may resize or maximise the box: $actions" ;;
esac
geometry "$box"
box_size="${W}x$H"
try_resize "$box"
xdotool windowsize "$box" 700 400
sleep 0.5
geometry "$box"
[ "${W}x$H" = "$box_size" ] || fail "the box was resized from $box_size to ${W}x$H"
echo "the box stays $box_size"
answer_yes "$box"

# A device name of 5,000 characters.
name=$(printf 'USB2.0 HD UVC WebCam %.0s' $(seq 240))
"$program" box yesno "$question" "${name:0:5000}" >"$work/box.log" 2>&1 &
pid=$!
box=$(framed_window "$pid") || fail "no question about the long name appeared"
geometry "$box"
read -r ax ay aw ah _ < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')
echo "long name: box with frame at $((X - L)),$((Y - T)), $((W + L + R))x$((H + T + B));" \
    "work area $ax,$ay, ${aw}x$ah"
[ $((X - L)) -ge "$ax" ] && [ $((Y - T)) -ge "$ay" ] &&
    [ $((X + W + R)) -le $((ax + aw)) ] && [ $((Y + H + B)) -le $((ay + ah)) ] ||
    fail "the box does not lie within the work area"
answer_yes "$box"

echo "PASS"
