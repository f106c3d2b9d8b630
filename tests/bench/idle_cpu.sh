#!/usr/bin/env bash
# Reports how much CPU the game uses while it sits in its window with nobody playing: it starts
# the game in a virtual X server, lets it settle, then reads the process's user and system time
# from /proc over a fixed interval. Prints the share of one core; asserts nothing.
# Usage: idle_cpu.sh [GAME_BINARY]   (default: build/quarrox)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../system/lib.sh"
run_in_xvfb "$@"

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
GAME="$(realpath "${1:-$ROOT/build/quarrox}")"
SETTLE_SECONDS=2
SAMPLE_SECONDS=5

# utime + stime of a process, in clock ticks. The command name in /proc/PID/stat may hold
# spaces and parentheses, so fields are counted after its closing parenthesis: utime and stime
# are the 12th and 13th there.
cpu_ticks() {
    local stat
    stat="$(cat "/proc/$1/stat")" || fail "the game ended while being measured"
    awk '{ print $12 + $13 }' <<<"${stat##*) }"
}

# The game's own messages go to standard error, so the report stays alone on standard output.
start_game "$GAME" /dev/stderr
find_game_window >/dev/null || exit 1
sleep "$SETTLE_SECONDS"
before="$(cpu_ticks "$GAME_PID")" || exit 1
sleep "$SAMPLE_SECONDS"
after="$(cpu_ticks "$GAME_PID")" || exit 1
stop_game

awk -v ticks="$((after - before))" -v hz="$(getconf CLK_TCK)" -v secs="$SAMPLE_SECONDS" \
    'BEGIN { printf "idle CPU: %.1f%% of one core over %d s\n", 100 * ticks / hz / secs, secs }'
