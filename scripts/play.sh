#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game. The game reads ./data/ and writes its
# state file into the current directory, so it runs inside build/. Options go to the game.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
cd "$ROOT/build"
exec ./quarrox "$@"
