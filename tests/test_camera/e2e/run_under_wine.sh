#!/usr/bin/env bash
# End-to-end runs of the Windows program under Wine, on the X display of the
# test command (Xvfb), with the test camera registered in the Wine prefix;
# clicks by xdotool as a user would.
#
#   run_under_wine.sh SCENARIO PREFIX CAMERA_DLL PROGRAM PROBE SNAPSHOT_CHECK CAMERA_SCENE REPO_ROOT
#
# Scenarios:
#   still  the camera's still pattern: Yes to the question about "Tenebrix Test
#          Camera", Background, Stealth, wait until the scene has faded,
#          Snapshot: the snapshot must be the scene with the HUD for 100 %;
#          "The End" ends the program with status 0.
#   moving the camera's moving ball: the HUD shows less than 100 %.
#   no     No to the question: the program ends without its dialog, status 0.
# Exits 0 on success, 77 (skipped) without a display, 1 on failure.
set -uo pipefail

scenario=$1 prefix=$2 dll=$3 program=$4 probe=$5 check=$6 scene=$7 root=$8
here=$(dirname "$0")

source "$here/../../e2e/common.sh"
source "$here/../../e2e/program_driver.sh"
source "$here/../../wine/wine_env.sh"

e2e_start wine-camera
# The program and Wine's own processes go with the run.
trap 'e2e_cleanup; wine_in "$prefix" wineserver -k 2>/dev/null' EXIT

fail() {
    echo "FAIL ($scenario): $*"
    if [ -f "$work/program.log" ]; then
        echo "--- program output"; cat "$work/program.log"
    fi
    exit 1
}

# A Windows program of the build in this prefix, from the work folder.
in_wine() { "$here/../with_test_camera.sh" "$prefix" "$dll" wine "$@"; }

mkdir -p "$work/images"
cp "$root"/res/images/*.bmp "$work/images/"
cp "$root/res/Tenebrix.cfg" "$work/"
here=$(realpath "$here")
cd "$work"

case $scenario in
    still | no) options="picture=still;size=640x480" ;;
    moving) options="picture=moving;size=640x480" ;;
    *) echo "unknown scenario $scenario"; exit 2 ;;
esac

TENEBRIX_TEST_CAMERA=$options in_wine "$program" >"$work/program.log" 2>&1 &
pid=$!

question=$(wait_window 'このデバイスを使用しますか？' 60) || fail "no device question appeared"
in_wine "$probe" list >"$work/windows.txt"
grep -q '^  control id=[-0-9]* class=Static "Tenebrix Test Camera" ' "$work/windows.txt" ||
    fail "the question does not name the test camera: $(cat "$work/windows.txt")"
if [ "$scenario" = no ]; then
    ends_before_the_dialog "$question" n  # the No button's mnemonic
    echo "no: the program ended without its dialog"
    exit 0
fi
press "$question" Return  # Yes is the default button
dialog=$(wait_window TENEBRIX 60) || fail "the main dialog did not show"
sleep 1.5

# Clicks at the centre of a control given in dialog units (the template is
# 183 x 197 units): the client area's size gives the units' size in pixels
# for the font that Wine uses. The dialog is looked up for each click, as Wine
# may give it a new X window while it settles.
click_units() {
    local geometry="" try
    for try in 1 2 3 4 5; do
        dialog=$(wait_window TENEBRIX 10) || fail "the main dialog is gone"
        geometry=$(xdotool getwindowgeometry --shell "$dialog" 2>/dev/null) && break
        sleep 0.5
    done
    eval "$geometry"
    xdotool mousemove --sync --window "$dialog" $(($1 * WIDTH / 183)) $(($2 * HEIGHT / 197)) click 1
    sleep 0.3
}
click_background() { click_units 88 170; }  # 69, 162, 38 x 16 units
click_snapshot() { click_units 128 170; }   # 109, 162, 38 x 16 units
click_stealth() { click_units 108 187; }    # 69, 180, 78 x 14 units
click_the_end() { click_units 164 178; }    # 149, 162, 31 x 33 units

if [ "$scenario" = still ]; then
    in_wine "$scene" "$options" scene.raw >/dev/null 2>&1 || fail "cannot write the reference frame"
fi
check_snapshot() {
    if [ "$scenario" = still ]; then
        in_wine "$check" still "$1" images scene.raw
    else
        in_wine "$check" moving "$1" images
    fi
}
fade_and_snapshot check_snapshot
ends_with_the_end
[ "$passed" = yes ] || fail "snapshot"
echo "$scenario: passed"
