#!/usr/bin/env bash
# `cmake --install` of the build: the launcher, the program off PATH, the data, a desktop entry
# that desktop-file-validate accepts, an icon of each size, the manual page and the AppStream
# metadata. The installation is then moved
# elsewhere and started through a link to its launcher, as a player would from a folder on
# PATH: it must find its files from where it is, run in the player's save folder (reading and
# writing the state file there), show the menu, end on Escape, and write nothing into the
# installation or the folder it was started from.
# Arguments: cmake, the build folder, a folder for the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
run_in_xvfb "$@"

CMAKE="$1"
BUILD="$2"
OUT_DIR="$3"
mkdir -p "$OUT_DIR"
WORK="$(mktemp -d /tmp/quarrox_install_XXXXXX)"
trap 'stop_game; rm -rf "$WORK"' EXIT

# A prefix with a space in it: every path through the launcher must be quoted.
PREFIX="$WORK/first prefix"
# Installed into ~/.local, the data goes where the play script keeps its link to a build's
# data: the installation must replace the link, and leave what it points to alone.
mkdir -p "$PREFIX/share/quarrox" "$WORK/build data"
ln -s "$WORK/build data" "$PREFIX/share/quarrox/data"
"$CMAKE" --install "$BUILD" --prefix "$PREFIX" >"$OUT_DIR/install.log" 2>&1 ||
    { cat "$OUT_DIR/install.log"; fail "cmake --install failed"; }

# Where everything goes; bin/ holds the launcher alone, since the program must not be started
# from PATH outside its save folder.
[ -x "$PREFIX/bin/quarrox" ] || fail "no launcher bin/quarrox"
[ "$(ls -A "$PREFIX/bin")" = quarrox ] || fail "bin/ holds more than the launcher: $(ls -A "$PREFIX/bin")"
[ -x "$PREFIX/lib/quarrox/quarrox" ] || fail "no program lib/quarrox/quarrox"
file_list() {
    (cd "$1" && find . -type f ! -name .generated | sort)
}
[ "$(file_list "$PREFIX/share/quarrox/data")" = "$(file_list "$BUILD/data")" ] ||
    fail "share/quarrox/data does not hold the files of the build's data folder"
[ -L "$PREFIX/share/quarrox/data" ] && fail "the data was installed through a link"
[ -z "$(ls -A "$WORK/build data")" ] || fail "the install wrote into a linked folder"

DESKTOP="$PREFIX/share/applications/quarrox.desktop"
[ -f "$DESKTOP" ] || fail "no desktop entry"
desktop-file-validate "$DESKTOP" || fail "desktop-file-validate rejects the desktop entry"
# The launcher by its absolute path, quoted for the space in it: the prefix's bin/ need not be
# on PATH.
for line in Type=Application Name=Quarrox "Exec=\"$PREFIX/bin/quarrox\"" Icon=quarrox \
    Terminal=false 'Categories=Game;ArcadeGame;'; do
    grep -qxF "$line" "$DESKTOP" || fail "the desktop entry lacks $line"
done
grep -q '^Comment=.' "$DESKTOP" || fail "the desktop entry has no comment"

for size in 16 32 48 64 128 256; do
    icon="$PREFIX/share/icons/hicolor/${size}x${size}/apps/quarrox.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    got="$(identify -format '%m %w %h' "$icon" 2>&1)"
    [ "$got" = "PNG $size $size" ] || fail "the ${size}x${size} icon is '$got'"
done
[ -f "$PREFIX/share/man/man6/quarrox.6.gz" ] || fail "no manual page"
[ -f "$PREFIX/share/metainfo/example.quarrox.Quarrox.metainfo.xml" ] || fail "no AppStream metadata"
[ -e "$PREFIX/games" ] || [ -e "$PREFIX/share/doc" ] && fail "the package's own files were installed"
[ -z "$(find "$PREFIX" -name .generated)" ] || fail "build stamps were installed"

# Moved after installing, and started through a link from elsewhere.
mv "$PREFIX" "$WORK/moved prefix"
PREFIX="$WORK/moved prefix"
mkdir -p "$WORK/home/bin" "$WORK/xdg/quarrox" "$WORK/cwd"
ln -s "$PREFIX/bin/quarrox" "$WORK/home/bin/quarrox"
SAVES="$WORK/xdg/quarrox"
# A state file with one broken score block: the game says so when it reads it, and resets
# that block when it next saves, which shows both happen in the save folder.
state_text 7 >"$SAVES/.travikstate"
cp "$SAVES/.travikstate" "$WORK/state.before"
snapshot() {
    find "$PREFIX" -printf '%p %y %s %T@ %m\n' | sort
}
snapshot >"$WORK/prefix.before"

GAME_STDOUT="$OUT_DIR/install.stdout"
(cd "$WORK/cwd" && HOME="$WORK/home" XDG_DATA_HOME="$WORK/xdg" ALSOFT_DRIVERS=null \
    exec "$WORK/home/bin/quarrox") </dev/null >"$GAME_STDOUT" 2>"$GAME_STDOUT.stderr" &
# shellcheck disable=SC2034 # lib.sh's helpers wait for and stop the game by this
GAME_PID=$!

window="$(focus_game_window)" || { show_game_stdout; exit 1; }
# The highscore panel slides in as the menu opens.
await picture_shows "$window" "$OUT_DIR/install_menu.png" expect_menu

# Losing the focus saves the state.
focus_another_window "$SAVES/.travikstate"
xdotool windowfocus --sync "$window" 2>/dev/null
press_until_exit Escape
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "the game exited with status $GAME_STATUS after Escape"

grep -qx "Highscore 1 Checksum Invalid" "$GAME_STDOUT" ||
    fail "the game did not read the state file of the save folder"
[ -f "$SAVES/.travikstate" ] || fail "no state file in the save folder"
cmp -s "$SAVES/.travikstate" "$WORK/state.before" &&
    fail "the game did not save into the save folder"
[ "$(readlink "$SAVES/data")" = "$PREFIX/share/quarrox/data" ] ||
    fail "the save folder's data link points to $(readlink "$SAVES/data")"
[ -z "$(ls -A "$WORK/cwd")" ] || fail "files appeared where the launcher was started"
snapshot | diff "$WORK/prefix.before" - || fail "the game changed the installation"
echo "PASS"
