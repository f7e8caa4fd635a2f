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
#   about  the window menu's last entry opens the About box, centred over the
#          main dialog, which it disables: caption, icon and texts as the
#          resources define them; OK closes it; "The End" exits 0.
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
    still | no | about) options="picture=still;size=640x480" ;;
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

# The rectangle "L T R B" of the first window or control in the list
# $work/windows.txt whose line starts as the pattern $1 says.
rect_of() {
    sed -n "s/$1.*rect=\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\) .*/\1 \2 \3 \4/p" \
        "$work/windows.txt" | head -n 1
}

if [ "$scenario" = about ]; then
    about='Tenebrixのﾊﾞｰｼﾞｮﾝ情報'
    # Moved away from the middle of the screen (where the About box would be
    # centred over it by chance), with room around it for the wider box.
    xdotool windowmove --sync "$dialog" 300 60
    sleep 1
    # Alt+Space opens the window menu as on Windows (no window manager draws a
    # title bar here). Its last entry is the program's, appended after Wine's
    # own "About Wine", which has the same mnemonic: Up, not A, reaches it.
    wine_press TENEBRIX alt+space || fail "cannot type in the main dialog"
    menu=no  # a window of class #32768, which may be slow to come
    for _ in $(seq 40); do
        in_wine "$probe" list | grep -q '^window "" class=#32768 ' && { menu=yes; break; }
        sleep 0.5
    done
    [ $menu = yes ] || fail "Alt+Space did not open the window menu"
    xdotool key Up Return
    wait_window "$about" 30 >/dev/null || fail "the About box did not show"
    sleep 1
    in_wine "$probe" list >"$work/windows.txt"
    grep -q "^window \"$about\" class=#32770 rect=[-0-9,]* owner=\"TENEBRIX\" enabled=1\$" \
        "$work/windows.txt" || fail "no About box owned by the main dialog: $(cat "$work/windows.txt")"
    grep -q '^window "TENEBRIX" .* enabled=0$' "$work/windows.txt" ||
        fail "the main dialog is not disabled under the About box"
    # Its controls in template order, without ids and places.
    controls=$(awk -v head="window \"$about\" " 'index($0, head) == 1 { on = 1; next }
        /^window / { on = 0 } on' "$work/windows.txt" | sed 's/ id=[-0-9]* / /; s/ rect=[-0-9,]* / /')
    [ "$controls" = '  control class=Static "#128" icon=1
  control class=Static "Tenebrix Version 1.0.0.1" icon=0
  control class=Static "Copyright (C) 2026" icon=0
  control class=Button "OK" icon=0' ] || fail "the About box shows: $controls"
    # Centred over the main dialog, as the framework places a template at (0, 0).
    read -r left top right bottom <<<"$(rect_of "^window \"$about\" ")"
    read -r mleft mtop mright mbottom <<<"$(rect_of '^window "TENEBRIX" ')"
    [ -n "$bottom" ] && [ -n "$mbottom" ] || fail "no rectangles in the list"
    [ $((left - mleft)) -eq $(((mright - mleft - right + left) / 2)) ] &&
        [ $((top - mtop)) -eq $(((mbottom - mtop - bottom + top) / 2)) ] ||
        fail "the About box at $left,$top,$right,$bottom is not centred over $mleft,$mtop,$mright,$mbottom"
    # A click on OK, at its place on the screen.
    read -r left top right bottom <<<"$(rect_of '^  control id=[-0-9]* class=Button "OK" ')"
    xdotool mousemove --sync $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
    for _ in $(seq 20); do
        in_wine "$probe" list >"$work/windows.txt"
        grep -q "^window \"$about\" " "$work/windows.txt" || break
        sleep 0.5
    done
    grep -q "^window \"$about\" " "$work/windows.txt" && fail "OK did not close the About box"
    grep -q '^window "TENEBRIX" .* enabled=1$' "$work/windows.txt" ||
        fail "the main dialog is not enabled again"
    ends_with_the_end
    echo "about: passed"
    exit 0
fi

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
