#!/usr/bin/env bash
# End-to-end runs of the Windows build's program under Wine, on the X display
# of the test command (Xvfb), in the build's Wine prefix, in the given locale
# (so under that ANSI code page). window_probe reads the windows as a user
# sees them and clicks their buttons.
#
#   run_program.sh SCENARIO LOCALE PROGRAM PROBE REPO_ROOT PREFIX
#
# Scenarios:
#   no-device  no camera at all: before any window of the program shows, a box
#              "ERROR" without owner says "ビデオキャプチャデバイスが存在しません";
#              dismissing it (a click on OK in the Japanese locale, Enter in
#              the others) ends the program with status 0.
# Exits 0 on success, 77 (skipped) without a display, 1 on failure.
set -uo pipefail

scenario=$1 locale=$2 program=$3 probe=$4 root=$5 prefix=$6
here=$(cd "$(dirname "$0")" && pwd)

source "$here/../e2e/common.sh"
source "$here/wine_env.sh"

e2e_start wine

fail() {
    echo "FAIL ($scenario, $locale): $*"
    [ -f "$work/windows.txt" ] && { echo "--- windows"; cat "$work/windows.txt"; }
    [ -f "$work/program.log" ] && { echo "--- program output"; cat "$work/program.log"; }
    exit 1
}

wine_prefix_ready "$prefix" || fail "cannot make the Wine prefix $prefix"
locales=$(dirname "$prefix")/locales
wine_locale_ready "$locales" "$locale" || fail "cannot make the locale $locale (package locales)"
export LOCPATH=$locales LANG=$locale LC_ALL=$locale

probe() { wine_in "$prefix" wine "$probe" "$@"; }

# The folder as the release zip unpacks: Tenebrix.cfg and images\.
mkdir -p "$work/images"
cp "$root"/res/images/*.bmp "$work/images/"
cp "$root/res/Tenebrix.cfg" "$work/"
cd "$work" || fail "no work folder"

# Waits up to $1 seconds for the program to end; its status in $status.
wait_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -lt "$deadline" ] || return 1
        sleep 0.2
    done
    wait "$pid"
    status=$?
    pid=""
}

case $scenario in
    no-device)
        wine_in "$prefix" wine "$program" >"$work/program.log" 2>&1 &
        pid=$!
        probe wait ERROR 90 || fail "no box \"ERROR\" came up"
        probe list >"$work/windows.txt"
        grep -qx 'window "ERROR" class=#32770 rect=[-0-9,]* owner="" enabled=1' "$work/windows.txt" ||
            fail "the box is not an unowned dialog called ERROR"
        grep -q '^  control id=[-0-9]* class=Static "ビデオキャプチャデバイスが存在しません" ' \
            "$work/windows.txt" || fail "the box does not say that there is no video capture device"
        grep -q '^window "TENEBRIX"' "$work/windows.txt" && fail "the main window shows"
        if [ "${locale%%_*}" = ja ]; then
            probe click ERROR OK || fail "the box has no button OK"
        else
            wine_press ERROR Return || fail "cannot type in the box"
        fi
        wait_exit 60 || fail "the program did not end when the box was dismissed"
        [ "$status" -eq 0 ] || fail "the program ended with status $status"
        ;;
    *) echo "unknown scenario $scenario"; exit 2 ;;
esac
echo "PASS ($scenario, $locale)"
