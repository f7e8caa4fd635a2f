# Driving the real program as a user would (sourced by the end-to-end scripts,
# after common.sh): windows by title, keys and clicks (program_window.sh), the
# program's end, snapshots. Uses $pid (the program under test) and $work;
# fail() is the caller's.

source "$(dirname "${BASH_SOURCE[0]}")/program_window.sh"

# Waits up to $2 seconds for a visible window whose title is exactly $1, of
# any process (under Wine, $pid is not the program's own).
wait_window() {
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            return 1
        fi
        sleep 0.2
    done
    return 1
}

# Waits up to $1 seconds for the program to end; sets $status.
wait_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
    wait "$pid"
    status=$?
    pid=""
    return 0
}

# Waits up to 10 seconds for snapshot $1 to be written whole.
wait_snapshot() {
    local deadline=$((SECONDS + 10))
    while [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -lt 230454 ] && [ $SECONDS -lt $deadline ]; do
        sleep 0.2
    done
    [ -s "$1" ] || fail "no $1 was written"
    sleep 0.2
}

# Background, Stealth, then Snapshot until the command $1 passes on the
# snapshot (its name appended to the command): a still scene fades completely in
# 114 ticks of 30 ms (3.4 s), but on a busy machine ticks come later, so look
# again a few times before giving up. The caller defines click_background,
# click_stealth and click_snapshot. Sets $passed to yes or no and $snapshot to
# the name that passed; the last check's output is in $work/check.log.
fade_and_snapshot() {
    click_background
    click_stealth
    sleep 5
    passed=no
    local n name
    for n in 0 1 2 3 4 5 6 7; do
        name=$(printf 'snapshot%03d.bmp' "$n")
        click_snapshot
        wait_snapshot "$name"
        "$@" "$name" >"$work/check.log" 2>&1 && { passed=yes; snapshot=$name; break; }
        sleep 2
    done
    cat "$work/check.log"
}

# Presses key $2 in window $1 and checks that the program then ends with
# status 0 without its main dialog having shown.
ends_before_the_dialog() {
    press "$1" "$2"
    wait_exit 30 || fail "the program did not end after $2"
    [ "$status" -eq 0 ] || fail "exit status $status"
    if xdotool search --name '^TENEBRIX$' >/dev/null 2>&1; then
        fail "the main dialog showed"
    fi
}

# "The End" (the caller's click_the_end) ends the program with status 0.
ends_with_the_end() {
    click_the_end
    wait_exit 30 || fail "the program did not end after 'The End'"
    [ "$status" -eq 0 ] || fail "exit status $status"
}
