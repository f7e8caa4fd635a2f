# Shared start of the end-to-end scripts (sourced): skips without an X display,
# makes a private work folder (also the home folder of what runs), fixes the
# locale of the test tools, and on exit stops the program under test ($pid) if
# it still runs and removes the folder.
#
#   e2e_start NAME    sets $work; the caller sets $pid once it starts its program,
#                     and $helper for a process of its own to stop as well
#   $program_locale   the locale the program under test runs in: C, the one
#                     with the least room for its Japanese texts

e2e_start() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "no X display (the ./test command starts Xvfb); skipped"
        exit 77
    fi
    work=$(mktemp -d "/tmp/tenebrix-$1-XXXXXX")
    # Whatever the caller's environment: xdotool matches the Japanese titles
    # as UTF-8, and no settings of the caller's home folder come in.
    unset LANGUAGE LANG
    export LC_ALL=C.UTF-8 HOME="$work"
    pid=""
    helper=""
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
    fi
    if [ -n "$helper" ]; then
        kill "$helper" 2>/dev/null
    fi
    rm -rf "$work"
}

program_locale=C
