#!/usr/bin/env bash
# Runs gtk_dialog_e2e on the test display and clicks its "Start" button with
# xdotool, as a user would.
#
#   gtk_dialog_e2e.sh PROGRAM
#
# Exits 0 on success, 77 (skipped) without a display, 1 on failure.
set -uo pipefail
program=$1

source "$(dirname "$0")/../../e2e/common.sh"
e2e_start win32-e2e

LC_ALL=$program_locale TENEBRIX_WINDOW_DRIVER=gtk "$program" "$work/screen.xwd" >"$work/out.log" 2>&1 &
pid=$!

for _ in $(seq 100); do
    grep -qs ready "$work/out.log" && break
    sleep 0.1
done
if ! grep -qs ready "$work/out.log"; then
    echo "FAIL: the dialog did not come up"; cat "$work/out.log"; exit 1
fi

wid=$(xdotool search --onlyvisible --name '^Tenebrix e2e$' | head -1)
if [ -z "$wid" ]; then
    echo "FAIL: no window named 'Tenebrix e2e'"; exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$wid")"
# "Start" is at 3,162 with size 31x33 dialog units: 5,243 and 54x50 pixels.
xdotool mousemove $((X + 32)) $((Y + 268)) click 1

status=1
for _ in $(seq 150); do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"; status=$?; pid=""
        break
    fi
    sleep 0.1
done
cat "$work/out.log"
if ! grep -qs clicked "$work/out.log"; then
    echo "FAIL: the click did not reach the handler"; exit 1
fi
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
echo "PASS"
