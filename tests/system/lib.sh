# shellcheck shell=bash
# Helpers shared by the system tests, which drive the real game binary in a virtual X server.
# Source it from a test script; every wait here is bounded and the game never outlives the test.

# Seconds the whole test may take inside the X server before everything in it is killed.
SYSTEM_TEST_LIMIT="${SYSTEM_TEST_LIMIT:-120}"
# Seconds to wait for the game's window to appear, and for the game to end once told to.
WINDOW_WAIT=30
EXIT_WAIT=15
SCREEN="1024x768x24"

GAME_PID=""
GAME_STDOUT=""
GAME_STATUS=""

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Re-runs the calling script, with its arguments, inside a fresh virtual X server, unless it
# already runs inside one. The time limit applies to the script's whole process group, so the
# X server and the game go with it.
run_in_xvfb() {
    if [ -n "${QUARROX_IN_XVFB:-}" ]; then
        wait_for_display
        return 0
    fi
    local status=0
    # The search for a free display starts at a random number, so that two test runs on one
    # machine do not race for the same display. Without -noreset the server resets whenever
    # its last client leaves (the readiness check below is one), and refuses a client that
    # connects meanwhile.
    QUARROX_IN_XVFB=1 timeout -k 5 "$SYSTEM_TEST_LIMIT" \
        xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 $SCREEN -noreset" \
        bash "$0" "$@" ||
        status=$?
    [ "$status" -eq 124 ] && echo "FAIL: stopped after ${SYSTEM_TEST_LIMIT}s" >&2
    exit "$status"
}

# xvfb-run can hand over before its server takes connections; a game started then would fail
# to open the display. Waits (bounded) until the server answers.
wait_for_display() {
    local i
    for ((i = 0; i < 100; i++)); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "the virtual X server on $DISPLAY never answered"
}

stop_game() {
    [ -n "$GAME_PID" ] || return 0
    if kill -0 "$GAME_PID" 2>/dev/null; then
        kill -TERM "$GAME_PID" 2>/dev/null
        local i
        for ((i = 0; i < 20; i++)); do
            kill -0 "$GAME_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$GAME_PID" 2>/dev/null
    fi
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
}

# Starts the game binary $1 with its own folder as the current directory (where it finds
# ./data/ and keeps its state file), sound going to OpenAL's null device and no standard input.
# Standard output goes to the file $2, standard error to $2.stderr.
start_game() {
    local game="$1"
    GAME_STDOUT="$2"
    trap stop_game EXIT
    (cd "$(dirname "$game")" && ALSOFT_DRIVERS=null exec "./$(basename "$game")") \
        </dev/null >"$GAME_STDOUT" 2>"$GAME_STDOUT.stderr" &
    GAME_PID=$!
}

# Prints the id of the game's visible window once it is mapped. Fails at once when the game
# ends before that, and after WINDOW_WAIT seconds when no window comes.
find_game_window() {
    local i id
    for ((i = 0; i < WINDOW_WAIT * 5; i++)); do
        id="$(xdotool search --onlyvisible --name '^Quarrox$' 2>/dev/null | head -n 1)"
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.2
    done
    fail "no visible window titled Quarrox appeared within ${WINDOW_WAIT}s"
}

# Prints "WIDTHxHEIGHT" of window $1.
window_size() {
    xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}

# Waits for the game to end and leaves its exit status in GAME_STATUS; fails when it is still
# running after EXIT_WAIT seconds. Not for a subshell: only this shell can collect the status.
wait_for_game_exit() {
    local i
    for ((i = 0; i < EXIT_WAIT * 10; i++)); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game was still running ${EXIT_WAIT}s later"
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
    GAME_PID=""
}

show_game_stdout() {
    echo "--- game standard output"
    cat "$GAME_STDOUT"
    echo "--- game standard error"
    cat "$GAME_STDOUT.stderr"
    echo "---"
}
