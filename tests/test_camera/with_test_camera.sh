#!/usr/bin/env bash
# with_test_camera.sh PREFIX DLL COMMAND [ARGS...]: runs a Wine command (wine,
# wineserver ...) in PREFIX, a Wine prefix in which regsvr32 has registered the
# test camera DLL. The prefix is made, and the camera registered, the first
# time; a rebuilt DLL is registered again.
set -uo pipefail
. "$(dirname "$0")/../wine/wine_env.sh"
prefix=$1 dll=$2
shift 2
wine_prefix_ready "$prefix" || { echo "with_test_camera: cannot make the Wine prefix" >&2; exit 1; }
(
    flock 9
    if [ ! "$prefix/.tenebrix-camera" -nt "$dll" ]; then
        DISPLAY= wine_in "$prefix" wine regsvr32 /s "$(wine_in "$prefix" winepath -w "$dll")" ||
            { echo "with_test_camera: regsvr32 failed" >&2; exit 1; }
        # Wine's session started without a display would keep the next
        # program's windows from showing: let it end first.
        wine_in "$prefix" wineserver -w
        touch "$prefix/.tenebrix-camera"
    fi
) 9>"$prefix.camera.lock" || exit 1
wine_in "$prefix" "$@"
