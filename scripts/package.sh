#!/usr/bin/env bash
# Makes the Debian package of the game: installs what building it and packaging it need (the
# [play] and [package] packages of scripts/packages.txt), builds the game, its data, icons and
# manual page in build/, and packs them with CPack into build/quarrox_<version>_<arch>.deb,
# whose path it prints. Install it with `apt install ./build/quarrox_*.deb`.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$ROOT/build"
LOG="$BUILD_DIR/package.log"

[ "$#" -eq 0 ] || { echo "usage: bash scripts/package.sh" >&2; exit 2; }
bash "$ROOT/scripts/setup.sh" --package

echo "package: packing" >&2
if ! (cd "$BUILD_DIR" && cpack -G DEB) >"$LOG" 2>&1; then
    tail -n 20 "$LOG" >&2
    echo "package: making the package failed; CPack's whole output is in $LOG" >&2
    exit 1
fi
sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$LOG"
