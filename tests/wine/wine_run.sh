#!/usr/bin/env bash
# wine_run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine in
# PREFIX, making the prefix first if it is not ready. CTest starts the Windows
# build's test programs through it (the build's cross-compiling emulator).
set -uo pipefail
. "$(dirname "$0")/wine_env.sh"
prefix=$1
shift
wine_prefix_ready "$prefix" || { echo "wine_run: cannot make the Wine prefix $prefix" >&2; exit 1; }
wine_in "$prefix" wine "$@"
