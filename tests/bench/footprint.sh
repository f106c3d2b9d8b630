#!/usr/bin/env bash
# The real game's footprint in a virtual X server (Mesa's software OpenGL, OpenAL's null
# device), in one session from a folder of its own with a copy of the data folder:
#   - the time from start to the window being mapped and to the menu being on screen (the
#     highscore panel, which only the menu draws, found in a screenshot; polled as fast as
#     screenshots allow, so the time is bracketed by the last check without it);
#   - the resident set size (VmRSS, and the peak VmHWM) once the menu has settled;
#   - the CPU share while the menu idles for IDLE_SECONDS (10 unless set);
#   - the resident set size and CPU share during a game (the second game type, started with
#     the keys a player uses, fire held for PLAY_SECONDS).
# Prints the figures; asserts nothing beyond the game reaching each state.
# Usage: footprint.sh [GAME_BINARY]   (default: build/quarrox)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../system/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../system/game_dir.sh"
run_in_xvfb "$@"

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
GAME="${1:-$ROOT/build/quarrox}"
[ -x "$GAME" ] || fail "no game binary $GAME (ninja -C build quarrox)"
GAME="$(realpath "$GAME")"
IDLE_SECONDS="${IDLE_SECONDS:-10}"
PLAY_SECONDS="${PLAY_SECONDS:-8}"
MENU_WAIT=60

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

# utime + stime of a process in clock ticks, counted after the command name's closing
# parenthesis (the name may hold spaces and parentheses).
cpu_ticks() {
    local stat
    stat="$(cat "/proc/$1/stat")" || fail "the game ended while being measured"
    awk '{ print $12 + $13 }' <<<"${stat##*) }"
}

# VmRSS of the game in MiB, split into its own memory (anonymous) and mapped files (the
# libraries: Mesa and LLVM above all), and the peak so far (VmHWM).
memory() {
    awk '/^VmRSS:/ { rss = $2 } /^VmHWM:/ { hwm = $2 } /^RssAnon:/ { anon = $2 }
         /^RssFile:/ { file = $2 }
         END { printf "%.1f MiB (anonymous %.1f, files %.1f; peak so far %.1f)",
               rss / 1024, anon / 1024, file / 1024, hwm / 1024 }' \
        "/proc/$GAME_PID/status" || fail "the game ended while being measured"
}

# CPU share of one core over $1 seconds.
cpu_share() {
    local before after
    before="$(cpu_ticks "$GAME_PID")" || exit 1
    sleep "$1"
    after="$(cpu_ticks "$GAME_PID")" || exit 1
    awk -v ticks="$((after - before))" -v hz="$(getconf CLK_TCK)" -v secs="$1" \
        'BEGIN { printf "%.1f%% of one core over %d s", 100 * ticks / hz / secs, secs }'
}

# Whether the window $1 shows the menu's highscore panel (the area expect_menu checks).
menu_on_screen() {
    local shot="$SCRATCH_DIR/probe.png"
    import -window "$1" -crop 12x40+532+220 +repage "$shot" 2>/dev/null || return 1
    colours_close "$(dominant_colour "$shot" "")" "24 24 48"
}

make_game_dir "$GAME"
# Known lists, as the play session uses, so every run shows the same menu.
state_text 0 >"$SCRATCH_DIR/.travikstate"

start="$(now)"
start_scratch_game "$SCRATCH_DIR/game.stdout"
window=""
while [ -z "$window" ]; do
    window="$(xdotool search --onlyvisible --name '^Quarrox$' 2>/dev/null | head -n 1)"
    kill -0 "$GAME_PID" 2>/dev/null || { show_game_stdout; fail "the game ended at start"; }
    [ "$(since "$start" "$(now)")" \> "$WINDOW_WAIT" ] && fail "no window within ${WINDOW_WAIT}s"
    [ -z "$window" ] && sleep 0.02
done
mapped="$(since "$start" "$(now)")"
xdotool windowfocus --sync "$window" 2>/dev/null

last_without="$mapped"
while :; do
    checked="$(since "$start" "$(now)")"
    menu_on_screen "$window" && break
    last_without="$checked"
    kill -0 "$GAME_PID" 2>/dev/null || { show_game_stdout; fail "the game ended while loading"; }
    awk -v t="$last_without" -v limit="$MENU_WAIT" 'BEGIN { exit !(t > limit) }' &&
        fail "no menu within ${MENU_WAIT}s"
done
menu="$(since "$start" "$(now)")"

echo "start to window mapped:  ${mapped} s"
echo "start to menu on screen: ${menu} s (the check begun at ${last_without} s found none yet)"
sleep 2
echo "menu, resident:          $(memory)"
echo "menu, idle CPU:          $(cpu_share "$IDLE_SECONDS")"
echo "menu, resident after:    $(memory)"

# The second game type, fire held: the player's way in (as the play session test does it).
hold_key Right
sleep 0.6
hold_key Return
sleep 0.3
xdotool keydown space
sleep 1
shot="$SCRATCH_DIR/field.png"
import -window "$window" "$shot" || fail "no screenshot of the game"
expect_dominant "$shot" "" "40 0 0" "play field"
echo "game, resident at 1 s:   $(memory)"
echo "game, CPU with fire held: $(cpu_share "$PLAY_SECONDS")"
echo "game, resident at $((PLAY_SECONDS + 1)) s:   $(memory)"
xdotool keyup space
stop_game
