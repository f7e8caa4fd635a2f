#!/usr/bin/env bash
# The installation as a package would lay it out (cmake --install with
# DESTDIR), and its launcher run as the desktop menu runs it, with a home
# folder of the test's own.
#
#   install_test.sh BUILD_DIR
set -uo pipefail
build=$1
work=$(mktemp -d /tmp/tenebrix-install-XXXXXX)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install"; }

expected="usr/bin/tenebrix
usr/bin/tenebrix-launch
usr/bin/tenebrix-render
usr/share/applications/tenebrix.desktop
usr/share/doc/tenebrix/changelog.Debian.gz
usr/share/doc/tenebrix/copyright
usr/share/icons/hicolor/128x128/apps/tenebrix.png
usr/share/icons/hicolor/16x16/apps/tenebrix.png
usr/share/icons/hicolor/256x256/apps/tenebrix.png
usr/share/icons/hicolor/32x32/apps/tenebrix.png
usr/share/icons/hicolor/48x48/apps/tenebrix.png
usr/share/icons/hicolor/64x64/apps/tenebrix.png
usr/share/man/man1/tenebrix-launch.1.gz
usr/share/man/man1/tenebrix-render.1.gz
usr/share/man/man1/tenebrix.1.gz
usr/share/tenebrix/Tenebrix.cfg"
for n in 0 1 2 3 4 5 6 7 8 9; do expected+=$'\n'"usr/share/tenebrix/images/num$n.bmp"; done
expected+=$'\n'"usr/share/tenebrix/images/camouflage.bmp"$'\n'"usr/share/tenebrix/images/item.bmp"
actual=$(cd "$stage" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$(LC_ALL=C sort <<<"$expected")" ] ||
    fail "installed files differ:"$'\n'"$(diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual"))"
[ -x "$stage/usr/bin/tenebrix" ] && [ -x "$stage/usr/bin/tenebrix-launch" ] ||
    fail "bin/ is not executable"
desktop-file-validate "$stage/usr/share/applications/tenebrix.desktop" ||
    fail "desktop-file-validate"
grep -qx 'Exec=tenebrix-launch' "$stage/usr/share/applications/tenebrix.desktop" ||
    fail "the desktop entry does not start the launcher"
zcat "$stage/usr/share/man/man1/tenebrix.1.gz" | grep -q '^\.TH TENEBRIX 1' || fail "man page"

# The launcher, with the program replaced by one that tells where it ran and
# with which arguments, and a notify-send that records what it was told.
launch=$stage/usr/bin/tenebrix-launch
cat >"$stage/usr/bin/tenebrix" <<'PROGRAM'
#!/bin/sh
{ pwd; printf '%s\n' "$@"; } >"$RECORD"
PROGRAM
mkdir -p "$work/tools"
cat >"$work/tools/notify-send" <<'NOTIFY'
#!/bin/sh
printf '%s\n' "$@" >"$NOTIFIED"
NOTIFY
chmod +x "$work/tools/notify-send"
run_launcher() {
    env -i PATH="$work/tools:/usr/bin:/bin" HOME="$home" RECORD="$work/record" \
        NOTIFIED="$work/notified" "$launch" "$@" >"$work/launch.log" 2>&1
}

# First run: the pictures folder from xdg-user-dir is not set, so ~/Pictures.
home=$work/home
mkdir -p "$home"
run_launcher --record "a b.webm" || fail "first run: $(cat "$work/launch.log")"
folder=$home/Pictures/Tenebrix
[ "$(cat "$work/record")" = "$folder"$'\n'"--record"$'\n'"a b.webm" ] ||
    fail "the program ran as: $(cat "$work/record")"
cmp -s "$folder/Tenebrix.cfg" "$stage/usr/share/tenebrix/Tenebrix.cfg" || fail "Tenebrix.cfg not copied"
[ "$(ls "$folder/images" | wc -l)" -eq 12 ] || fail "images not copied"

# Second run: what the user changed stays, and so does a sprite they removed.
echo 'mine%d.bmp' >"$folder/Tenebrix.cfg"
rm "$folder/images/item.bmp"
run_launcher || fail "second run: $(cat "$work/launch.log")"
[ "$(cat "$folder/Tenebrix.cfg")" = 'mine%d.bmp' ] || fail "the user's Tenebrix.cfg was overwritten"
[ ! -e "$folder/images/item.bmp" ] || fail "the user's images/ was changed"

# A pictures folder named by the user's xdg settings.
mkdir -p "$home/.config"
echo 'XDG_PICTURES_DIR="$HOME/Bilder"' >"$home/.config/user-dirs.dirs"
if command -v xdg-user-dir >/dev/null; then
    run_launcher || fail "xdg run: $(cat "$work/launch.log")"
    [ "$(head -n 1 "$work/record")" = "$home/Bilder/Tenebrix" ] ||
        fail "xdg pictures folder not used: $(head -n 1 "$work/record")"
fi

# A pictures folder that cannot hold a Tenebrix folder: the program does not
# start, and the user is told why on the desktop, not only on a terminal.
rm -f "$work/record" "$work/notified"
rm -rf "$home/.config" "$home/Pictures"
echo "not a folder" >"$home/Pictures"
run_launcher && fail "the launcher went on without its folder"
[ ! -e "$work/record" ] || fail "the program ran without its folder"
grep -q "cannot make the folder $home/Pictures/Tenebrix" "$work/notified" ||
    fail "no notification: $(cat "$work/notified" 2>/dev/null)"
grep -q "cannot make the folder" "$work/launch.log" || fail "no message on standard error"
echo "install: files in place, desktop entry valid, launcher passed"
