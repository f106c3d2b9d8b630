#!/usr/bin/env bash
# The Debian package, made by CPack from the build: where Debian's policy puts a game's files,
# dependencies worked out from the program's libraries, no error from lintian, AppStream
# metadata that appstreamcli accepts, and a launcher that, unpacked anywhere, reaches the menu
# and ends on Escape.
# Arguments: cpack, the build folder, a folder for the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
run_in_xvfb "$@"

CPACK="$1"
BUILD="$2"
OUT_DIR="$3"
mkdir -p "$OUT_DIR"
WORK="$(mktemp -d /tmp/quarrox_package_XXXXXX)"
trap 'stop_game; rm -rf "$WORK"' EXIT

(cd "$BUILD" && "$CPACK" -G DEB -B "$WORK/out") >"$OUT_DIR/package.log" 2>&1 ||
    { cat "$OUT_DIR/package.log"; fail "cpack failed"; }
debs=("$WORK"/out/quarrox_*_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single package: ${debs[*]}"
DEB="${debs[0]}"
echo "package $(basename "$DEB")"

field() {
    dpkg-deb -f "$DEB" "$1"
}
[ "$(field Package)" = quarrox ] || fail "the package is named $(field Package)"
[ "$(field Section)" = games ] || fail "the package's section is $(field Section)"
for library in libglfw3 libopenal1 libvorbisfile3 libc6; do
    field Depends | grep -q "\\b$library\\b" || fail "no dependency on $library: $(field Depends)"
done

# Debian's places for a game; the data is the build's data folder, file for file.
dpkg-deb --fsys-tarfile "$DEB" | tar -t | sed 's|^\./|/|' | grep -v '/$' | sort >"$WORK/files"
expected() {
    printf '%s\n' /usr/games/quarrox /usr/lib/games/quarrox/quarrox \
        /usr/lib/games/quarrox/quarrox-run.sh /usr/share/applications/quarrox.desktop \
        /usr/share/metainfo/example.quarrox.Quarrox.metainfo.xml \
        /usr/share/man/man6/quarrox.6.gz /usr/share/doc/quarrox/copyright \
        /usr/share/doc/quarrox/changelog.gz
    for size in 16 32 48 64 128 256; do
        echo "/usr/share/icons/hicolor/${size}x${size}/apps/quarrox.png"
    done
    (cd "$BUILD/data" && find . -type f ! -name .generated) | sed 's|^\.|/usr/share/games/quarrox/data|'
}
expected | sort | diff - "$WORK/files" || fail "the package's files are not the expected ones"

lintian --allow-root --fail-on error "$DEB" >"$OUT_DIR/lintian.txt" 2>&1 ||
    { cat "$OUT_DIR/lintian.txt"; fail "lintian found errors"; }

ROOT_DIR="$WORK/unpacked"
dpkg-deb -x "$DEB" "$ROOT_DIR" || fail "the package does not unpack"
appstreamcli validate --no-net "$ROOT_DIR/usr/share/metainfo/example.quarrox.Quarrox.metainfo.xml" \
    >"$OUT_DIR/appstream.txt" 2>&1 || { cat "$OUT_DIR/appstream.txt"; fail "appstreamcli rejects the metadata"; }
# /usr/games is on every user's PATH, so the entry names the launcher alone.
grep -qx 'Exec=quarrox' "$ROOT_DIR/usr/share/applications/quarrox.desktop" ||
    fail "the desktop entry does not start the launcher by its name"

mkdir -p "$WORK/home" "$WORK/cwd"
GAME_STDOUT="$OUT_DIR/package.stdout"
(cd "$WORK/cwd" && HOME="$WORK/home" ALSOFT_DRIVERS=null exec "$ROOT_DIR/usr/games/quarrox") \
    </dev/null >"$GAME_STDOUT" 2>"$GAME_STDOUT.stderr" &
# shellcheck disable=SC2034 # lib.sh's helpers wait for and stop the game by this
GAME_PID=$!
window="$(focus_game_window)" || { show_game_stdout; exit 1; }
await picture_shows "$window" "$OUT_DIR/package_menu.png" expect_menu
press_until_exit Escape
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "the game exited with status $GAME_STATUS after Escape"
[ "$(readlink "$WORK/home/.local/share/quarrox/data")" = "$ROOT_DIR/usr/share/games/quarrox/data" ] ||
    fail "the save folder's data link points to $(readlink "$WORK/home/.local/share/quarrox/data")"
echo "PASS"
