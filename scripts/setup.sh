#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds build/.
#
#   scripts/setup.sh                 everything: the game, its tools, the tests and benchmarks
#   scripts/setup.sh --play          only what playing needs: the [play] packages of
#                                    scripts/packages.txt, and the game, its data folder and
#                                    its icons, with one line of progress instead of the
#                                    compiler's output
#   scripts/setup.sh --package       what playing needs, and what making the Debian package
#                                    needs: the [play] and [package] packages, and the game
#                                    with its manual page (scripts/package.sh runs this)
#   scripts/setup.sh --list [--play|--package]
#                                    prints the packages it would want, and does nothing else
#
# All share build/: the play build only builds fewer targets of the same configuration, so
# neither makes the other rebuild anything. Safe to run again: it installs nothing and rebuilds
# nothing when nothing changed.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGE_LIST="$ROOT/scripts/packages.txt"
BUILD_DIR="$ROOT/build"
BUILD_LOG="$BUILD_DIR/build.log"
JOBS="$(nproc 2>/dev/null || echo 2)"
# What a player needs built: the program, the data folder it reads, and the icons that
# `cmake --install build` puts on the desktop (drawn in a moment by the generator the data
# folder needs anyway).
PLAY_TARGETS=(quarrox quarrox_data quarrox_icons)
# The Debian package also carries the compressed manual page and changelog.
PACKAGE_TARGETS=("${PLAY_TARGETS[@]}" quarrox_docs)

usage() {
    echo "usage: scripts/setup.sh [--play|--package] [--list]" >&2
    exit 2
}

say() {
    echo "setup: $*" >&2
}

mode=all
list_only=0
for arg in "$@"; do
    case "$arg" in
        --play) mode=play ;;
        --package) mode=package ;;
        --list) list_only=1 ;;
        *) usage ;;
    esac
done

# The packages of the list wanted in this mode: the [play] part alone, with the [package] part,
# or every part. A
# package outside any part, or an unknown heading, stops the set-up: it would otherwise be
# installed for nobody, or for everybody, by mistake.
wanted_packages() {
    awk -v mode="$mode" -v list="$PACKAGE_LIST" '
        { sub(/#.*/, ""); gsub(/[[:space:]]/, "") }
        $0 == "" { next }
        /^\[.*\]$/ {
            part = substr($0, 2, length($0) - 2)
            if (part != "play" && part != "package" && part != "test") {
                printf "%s:%d: unknown heading [%s]; the parts are [play], [package] and [test]\n",
                    list, NR, part > "/dev/stderr"
                bad = 1
            }
            next
        }
        part == "" {
            printf "%s:%d: %s is under no [play], [package] or [test] heading\n", list, NR, $0 \
                > "/dev/stderr"
            bad = 1
            next
        }
        part == "play" || mode == "all" || (part == "package" && mode == "package") { print }
        END { exit bad }
    ' "$PACKAGE_LIST"
}

# Packages from the list that dpkg does not report as installed.
missing_packages() {
    local -a wanted
    mapfile -t wanted < <(wanted_packages)
    # dpkg-query fails when any name is unknown to it, yet still lists the others.
    local installed
    installed="$({ dpkg-query -W -f='${Package} ${Status}\n' "${wanted[@]}" 2>/dev/null || true; } |
        awk '$NF == "installed" { print $1 }')"
    local pkg
    for pkg in "${wanted[@]}"; do
        grep -qxF "$pkg" <<<"$installed" || echo "$pkg"
    done
}

# Runs a command as root: directly when we are root, else through sudo.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# apt-get says a great deal; its output is kept aside and shown only when it fails. A failing
# update (one stale source is enough) leaves the old package lists, which usually still hold
# what we want, so only a failing install stops the set-up.
install_missing_packages() {
    local -a missing
    wanted_packages >/dev/null || exit 1
    mapfile -t missing < <(missing_packages)
    [ "${#missing[@]}" -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
        # The command stands alone on its last line so it can be copied whole; su -l gives
        # root's PATH, which dpkg needs.
        local install_command="apt-get install -y --no-install-recommends ${missing[*]}"
        say "installing the missing packages needs root, and sudo is not installed; to install"
        say "them as root, run this (su asks for root's password), then run the set-up again:"
        echo "su -l -c 'apt-get update; $install_command'" >&2
        exit 1
    fi
    say "installing ${missing[*]}"
    local log
    log="$(mktemp "${TMPDIR:-/tmp}/quarrox-apt.XXXXXX")"
    local keep_log=0
    if ! as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q >"$log" 2>&1; then
        say "warning: apt-get update failed, so the package lists may be old; installing anyway"
        say "apt-get's output is kept in $log"
        keep_log=1
    fi
    if ! as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}" >>"$log" 2>&1; then
        tail -n 25 "$log" >&2
        say "installing the packages failed; apt-get's whole output is in $log"
        exit 1
    fi
    [ "$keep_log" -eq 1 ] || rm -f "$log"
}

# A build folder configured with another generator cannot be switched to Ninja in place; its
# cache is dropped so the configure step below starts clean (the build outputs are kept).
drop_foreign_cache() {
    local cache="$BUILD_DIR/CMakeCache.txt"
    if [ -f "$cache" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$cache"; then
        say "$BUILD_DIR was configured with another generator; reconfiguring"
        rm -rf "$cache" "$BUILD_DIR/CMakeFiles"
    fi
}

# Whether build/ is configured and its cache holds NAME=VALUE.
configured_with() {
    [ -f "$BUILD_DIR/build.ninja" ] &&
        grep -qE "^$1:[A-Z]+=$2\$" "$BUILD_DIR/CMakeCache.txt" 2>/dev/null
}

# The play and package builds leave the tests to the build's default (built when their packages are
# there) and never reconfigures a configured folder: ninja re-runs CMake itself when a
# CMakeLists.txt changes, and a different option here would make the next full set-up
# reconfigure, or worse, rebuild. The full set-up asks for the tests and benchmarks, so a
# missing package stops it rather than leaving them out.
configure() {
    drop_foreign_cache
    local -a options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
    if [ "$mode" != all ]; then
        configured_with CMAKE_GENERATOR Ninja && return 0
    else
        configured_with QUARROX_BUILD_TESTS ON && configured_with QUARROX_BUILD_BENCHMARKS ON &&
            return 0
        options+=(-DQUARROX_BUILD_TESTS=ON -DQUARROX_BUILD_BENCHMARKS=ON)
    fi
    mkdir -p "$BUILD_DIR"
    if [ "$mode" != all ]; then
        progress_line "configuring"
    fi
    if ! cmake -S "$ROOT" -B "$BUILD_DIR" "${options[@]}" >"$BUILD_LOG" 2>&1; then
        end_progress_line
        tail -n 30 "$BUILD_LOG" >&2
        say "configuring $BUILD_DIR failed; the whole output is in $BUILD_LOG"
        exit 1
    fi
}

# Shows TEXT as the build's progress line: rewritten in place on a terminal, else a line of its
# own.
progress_started=0
progress_line() {
    progress_started=1
    if [ -t 2 ]; then
        printf '\r\033[KBuilding Quarrox: %s' "$1" >&2
    else
        echo "Building Quarrox: $1" >&2
    fi
}

# On a terminal the progress line, once started, is ended before anything else is said.
end_progress_line() {
    if [ -t 2 ] && [ "$progress_started" -eq 1 ]; then
        echo >&2
    fi
    progress_started=0
}

# Reads ninja's output, keeps all of it in the log, and shows only its progress: one line
# rewritten in place on a terminal, or a line at every quarter otherwise.
show_progress() {
    local line finished total quarter shown=-1 on_terminal=0
    [ -t 2 ] && on_terminal=1
    while IFS= read -r line; do
        printf '%s\n' "$line" >&3
        [[ "$line" =~ ^\[([0-9]+)/([0-9]+)\]\  ]] || continue
        finished="${BASH_REMATCH[1]}"
        total="${BASH_REMATCH[2]}"
        # "[0/2] Re-checking globbed directories..." starts every run, work or not.
        [ "$finished" -gt 0 ] || continue
        if [ "$on_terminal" -eq 1 ]; then
            progress_line "$finished/$total"
            shown=1
        else
            quarter=$((finished * 4 / total))
            if [ "$quarter" -gt "$shown" ]; then
                progress_line "$finished/$total"
                shown="$quarter"
            fi
        fi
    done
    end_progress_line
}

# The failing command and what the compiler said about it, from the log.
show_failure() {
    local failure
    failure="$(awk '/^FAILED: / { found = 1 } found' "$BUILD_LOG" | head -n 60)"
    if [ -n "$failure" ]; then
        printf '%s\n' "$failure" >&2
    else
        tail -n 30 "$BUILD_LOG" >&2
    fi
    say "the build failed; its whole output is in $BUILD_LOG"
}

# Builds the targets $@ with one line of progress.
build_game() {
    local status=0
    # ninja prints "[finished/total] what" for each step when its output is not a terminal.
    NINJA_STATUS='[%f/%t] ' ninja -C "$BUILD_DIR" -j"$JOBS" "$@" 2>&1 |
        show_progress 3>"$BUILD_LOG" || status=$?
    if [ "$status" -ne 0 ]; then
        show_failure
        exit 1
    fi
}

build_everything() {
    ninja -C "$BUILD_DIR" -j"$JOBS"
}

if [ "$list_only" -eq 1 ]; then
    wanted_packages
    exit
fi
install_missing_packages
configure
case "$mode" in
    play) build_game "${PLAY_TARGETS[@]}" ;;
    package) build_game "${PACKAGE_TARGETS[@]}" ;;
    *) build_everything ;;
esac
