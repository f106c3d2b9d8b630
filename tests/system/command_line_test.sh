#!/usr/bin/env bash
# The command line is read before anything starts: --help lists every option and ends with
# status 0, --version shows the version and ends with status 0, and an option the game does
# not know (or a value an option does not take) is named on standard error and ends it with
# status 2. No display is needed for any of these: the program ends before it would open a
# window. Then, in a virtual X server, --fullscreen opens the game's window at the screen's
# size from the start.
# Argument: the game binary.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"

GAME="$1"

if [ -z "${QUARROX_IN_XVFB:-}" ]; then
    run() {
        env -u DISPLAY -u WAYLAND_DISPLAY ALSOFT_DRIVERS=null timeout -k 5 30 "$GAME" "$@" \
            >"$OUT" 2>"$ERR" </dev/null
    }
    OUT="$(mktemp)"
    ERR="$(mktemp)"
    trap 'rm -f "$OUT" "$ERR"' EXIT

    run --help
    status=$?
    [ "$status" -eq 0 ] || fail "--help ended with status $status"
    for option in --music=stream --music=composed --music=both --music=off --fullscreen \
        --help --version; do
        grep -q -- "^  $option " "$OUT" || fail "--help does not give $option a line"
    done
    [ -s "$ERR" ] && fail "--help wrote to standard error"

    for args in "--version" "--fullscreen --version" "--music=off --version --bogus"; do
        run $args
        status=$?
        [ "$status" -eq 0 ] || fail "'$args' ended with status $status"
        grep -qxE 'quarrox [0-9]+\.[0-9]+\.[0-9]+' "$OUT" && [ "$(wc -l <"$OUT")" -eq 1 ] ||
            fail "'$args' printed '$(cat "$OUT")', not the version alone"
        [ -s "$ERR" ] && fail "'$args' wrote to standard error"
    done

    for args in "--bogus" "--music=loud" "extra" "--fullscreen=yes" "--version=2" \
        "--fullscreen --music"; do
        run $args
        status=$?
        [ "$status" -eq 2 ] || fail "'$args' ended with status $status, expected 2"
        grep -q "quarrox: " "$ERR" || fail "'$args' gave no message on standard error"
        grep -q -- "--help" "$ERR" || fail "'$args' does not point to --help"
        grep -q "glfwInit failed" "$OUT" && fail "'$args' tried to open a window first"
    done
    rm -f "$OUT" "$ERR"
    trap - EXIT
fi

# A screen of a shape other than the window's, so the window cannot pass for it.
SCREEN="1280x720x24"
run_in_xvfb "$@"

make_game_dir "$GAME"
GAME_STDOUT="$SCRATCH_DIR/fullscreen.stdout"
(cd "$SCRATCH_DIR" && ALSOFT_DRIVERS=null exec ./quarrox --fullscreen) \
    </dev/null >"$GAME_STDOUT" 2>"$GAME_STDOUT.stderr" &
GAME_PID=$!

window="$(focus_game_window)" || { show_game_stdout; exit 1; }
size="$(window_size "$window")"
[ "$size" = "1280x720" ] || fail "the --fullscreen window is $size, expected 1280x720"
windows="$(xdotool search --name '^Quarrox$' 2>/dev/null | wc -l)"
[ "$windows" -eq 1 ] || fail "$windows windows titled Quarrox, expected the fullscreen one alone"

press_key "$window" F4
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "the game exited with status $GAME_STATUS after F4"
grep -q 'Travik Runtime Error' "$GAME_STDOUT" && fail "the game reported a runtime error"
echo "PASS"
