#!/usr/bin/env bash
# regsvr32 /u removes the test camera from the video input devices, and
# regsvr32 adds it again.
#
#   unregister_test.sh PREFIX DLL CAMERA_TESTS
set -uo pipefail
prefix=$1 dll=$2 tests=$3
here=$(dirname "$0")
source "$here/../wine/wine_env.sh"

listed() {
    "$here/with_test_camera.sh" "$prefix" "$dll" wine "$tests" \
        --gtest_filter=TestCamera.IsListedAsAVideoInputDevice >/dev/null 2>&1
}
listed || { echo "FAIL: the registered camera is not listed"; exit 1; }
wine_in "$prefix" wine regsvr32 /u /s "$(wine_in "$prefix" winepath -w "$dll")" ||
    { echo "FAIL: regsvr32 /u failed"; exit 1; }
rm -f "$prefix/.tenebrix-camera"  # the next run registers it again
wine_in "$prefix" wine "$tests" --gtest_filter=TestCamera.IsListedAsAVideoInputDevice \
    >/dev/null 2>&1 && { echo "FAIL: the camera is still listed after regsvr32 /u"; exit 1; }
listed || { echo "FAIL: the camera is not listed after registering it again"; exit 1; }
echo "regsvr32 /u removed the camera; regsvr32 added it again"
