# Shared start of the end-to-end scripts (sourced): skips without an X display,
# makes a private work folder, and on exit stops the program under test ($pid)
# if it still runs and removes the folder.
#
#   e2e_start NAME    sets $work; the caller sets $pid once it starts its program

e2e_start() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "no X display (the ./test command starts Xvfb); skipped"
        exit 77
    fi
    work=$(mktemp -d "/tmp/tenebrix-$1-XXXXXX")
    pid=""
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
