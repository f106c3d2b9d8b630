#!/usr/bin/env bash
# Installs what playing needs that is missing (the [play] packages of scripts/packages.txt),
# builds the game and its data folder on every core, and starts the game. The game runs in the
# player's save folder (~/.local/share/quarrox, or $XDG_DATA_HOME/quarrox), where its state file
# outlives every rebuild, with a link there to build/data; a state file that older versions
# left in build/ is moved there once. Options go to the game. Everything this script and the
# set-up print goes to standard error, so standard output is the game's alone.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/setup.sh" --play >&2
exec bash "$ROOT/packaging/quarrox-run.sh" --move-state-from "$ROOT/build" \
    "$ROOT/build/quarrox" "$ROOT/build/data" "$@"
