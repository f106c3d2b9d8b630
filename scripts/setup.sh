#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds build/.
# Safe to run again: it installs nothing and rebuilds nothing when nothing changed.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGE_LIST="$ROOT/scripts/packages.txt"
BUILD_DIR="$ROOT/build"
JOBS=2

# Every package named in the list (comments and blank lines dropped).
wanted_packages() {
    sed -e 's/#.*//' -e 's/[[:space:]]//g' "$PACKAGE_LIST" | grep -v '^$'
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
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "setup: installing packages needs root or sudo: $*" >&2
        exit 1
    fi
}

install_missing_packages() {
    local -a missing
    mapfile -t missing < <(missing_packages)
    [ "${#missing[@]}" -eq 0 ] && return 0
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# A build folder configured with another generator cannot be switched to Ninja in place; its
# cache is dropped so the configure step below starts clean (the build outputs are kept).
drop_foreign_cache() {
    local cache="$BUILD_DIR/CMakeCache.txt"
    if [ -f "$cache" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$cache"; then
        echo "setup: $BUILD_DIR was configured with another generator; reconfiguring"
        rm -rf "$cache" "$BUILD_DIR/CMakeFiles"
    fi
}

build() {
    drop_foreign_cache
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    ninja -C "$BUILD_DIR" -j"$JOBS"
}

install_missing_packages
build
