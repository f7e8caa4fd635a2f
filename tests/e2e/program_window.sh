# Finding and using the program's windows with xdotool, as a user would
# (sourced). The caller sets $pid to the program's process.
#
#   wait_program_window TITLE SECONDS   prints the id of a visible window of
#                                       the program titled exactly TITLE (any
#                                       title when empty), once one shows
#   press WINDOW KEY                    a key pressed in that window
#   click X Y                           a click at client pixel (X, Y) of $dialog
#   click_background, click_snapshot, click_stealth, click_the_end

wait_program_window() {
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        if [ -n "$1" ]; then
            id=$(xdotool search --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -n 1)
        else
            id=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
        fi
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

press() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.2
    xdotool key --clearmodifiers "$2"
}

# The main dialog's buttons in pixels: dialog units become pixels as
# x * 7 / 4 and y * 12 / 8.
click() {
    xdotool mousemove --sync --window "$dialog" "$1" "$2" click 1
    sleep 0.3
}
click_background() { click 154 255; }  # 69, 162, 38 x 16 units
click_snapshot() { click 224 255; }    # 109, 162, 38 x 16 units
click_stealth() { click 189 280; }     # 69, 180, 78 x 14 units
click_the_end() { click 288 268; }     # 149, 162, 31 x 33 units
