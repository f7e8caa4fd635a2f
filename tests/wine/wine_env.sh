# Wine for the Windows build's tests: sourced by the test scripts, never run.
#
#   wine_prefix_ready PREFIX   makes PREFIX a ready 64-bit Wine prefix, once
#                              (several tests may ask at the same time)
#   wine_in PREFIX CMD ARGS    runs a Wine command (wine, wineserver ...) there
#   wine_locale_ready DIR NAME makes the locale NAME for LOCPATH=DIR
#   wine_press TITLE KEYS...   presses keys (xdotool names) in the window
#                              called TITLE (ASCII), as the user at the keyboard
#
# A prefix of our own holds no Mono, Gecko or menu entries, and replaces the
# dialogs' Japanese font ("ＭＳ Ｐゴシック") and Windows' Japanese UI fonts by
# IPA P Gothic (fonts-ipafont-gothic), so that dialogs draw Japanese glyphs.
# Wine's own messages are silenced; the caller's locale is left alone.

wine_in() {
    local prefix
    prefix=$(realpath -m "$1")
    shift
    WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$@"
}

wine_prefix_ready() {
    local prefix
    prefix=$(realpath -m "$1")
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        [ -e "$prefix/.tenebrix-ready" ] && exit 0
        rm -rf "$prefix"
        # Created without a display: nothing shows, nothing waits for one.
        DISPLAY= wine_in "$prefix" wine wineboot -i >/dev/null 2>&1 || exit 1
        local font
        for font in "ＭＳ Ｐゴシック" "ＭＳ ゴシック" "MS UI Gothic"; do
            LC_ALL=C.UTF-8 DISPLAY= wine_in "$prefix" wine reg add \
                'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ /d IPAPGothic \
                /f >/dev/null 2>&1 || exit 1
        done
        wine_in "$prefix" wineserver -w
        touch "$prefix/.tenebrix-ready"
    ) 9>"$prefix.lock"
}

# wine_locale_ready DIR NAME: makes the locale NAME (such as ja_JP.UTF-8) in
# DIR, once, for LOCPATH=DIR: Wine takes its ANSI code page from the locale,
# and a minimal machine has no locale but C. Needs the package locales.
wine_locale_ready() {
    local dir=$1 name=$2
    mkdir -p "$dir"
    (
        flock 9
        [ -e "$dir/$name/LC_CTYPE" ] && exit 0
        localedef -i "${name%%.*}" -f "${name#*.}" "$dir/$name" >/dev/null 2>&1
        [ -e "$dir/$name/LC_CTYPE" ]
    ) 9>"$dir.lock"
}

# wine_press TITLE KEYS...: Wine's windows are X windows of their own (no
# virtual desktop), so xdotool focuses the one called TITLE and types there.
# Alt+space opens a window's menu, as on Windows.
wine_press() {
    local title=$1 id
    shift
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] || return 1
    xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id" || return 1
    sleep 0.3
    local key
    for key in "$@"; do
        xdotool key --clearmodifiers "$key" || return 1
        sleep 0.3
    done
}
