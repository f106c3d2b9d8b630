# shellcheck shell=bash
# Helpers shared by the system tests, which drive the real game binary in a virtual X server.
# Source it from a test script; every wait here is bounded and the game never outlives the test.

# Seconds the whole test may take inside the X server before everything in it is killed.
SYSTEM_TEST_LIMIT="${SYSTEM_TEST_LIMIT:-120}"
# Seconds to wait for the game's window to appear, and for the game to end once told to.
WINDOW_WAIT=30
EXIT_WAIT=15
# The game's window takes the largest whole multiple of 800 x 600 that fits in 90 % of the
# screen, or the largest 4:3 window when not even one does: on this screen a 640 x 480 window,
# the size whose pictures the tests know. It shows the design screen at 0.8 pixels per unit,
# where the game samples its art smoothly.
SCREEN="712x534x24"

# Seconds a test waits for something it expects (a picture, a file, the game's end) before it
# fails; generous, since a loaded machine may give the game and the test little time.
AWAIT_LIMIT="${AWAIT_LIMIT:-30}"

GAME_PID=""
GAME_STDOUT=""
GAME_STATUS=""

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs the command $@ inside a fresh virtual X server; the time limit applies to the command's
# whole process group, so the X server and the game go with it. The search for a free display
# starts at display $XVFB_FROM, or at a random one, so that two test runs on one machine do not
# race for the same display.
in_xvfb() {
    local status=0
    # Without -noreset the server resets whenever its last client leaves (the readiness check
    # in wait_for_display is one), and refuses a client that connects meanwhile. -r turns the
    # server's key repeat off: a key the test holds down stays down, instead of being let go
    # and pressed again 25 times a second after the first 0.66 s (a game that happened to look
    # between such a release and press would take it for a new press).
    QUARROX_IN_XVFB=1 timeout -k 5 "$SYSTEM_TEST_LIMIT" \
        xvfb-run -a -n "${XVFB_FROM:-$((100 + RANDOM % 800))}" \
        -s "-screen 0 $SCREEN -noreset -r" "$@" ||
        status=$?
    [ "$status" -eq 124 ] && echo "FAIL: stopped after ${SYSTEM_TEST_LIMIT}s" >&2
    return "$status"
}

# Re-runs the calling script, with its arguments, inside a fresh virtual X server, unless it
# already runs inside one.
run_in_xvfb() {
    if [ -n "${QUARROX_IN_XVFB:-}" ]; then
        wait_for_display
        return 0
    fi
    local status=0
    in_xvfb bash "$0" "$@" || status=$?
    exit "$status"
}

# xvfb-run can hand over before its server takes connections; a game started then would fail
# to open the display. Waits (bounded) until the server answers.
wait_for_display() {
    local deadline=$(($(now_us) + AWAIT_LIMIT * 1000000))
    until xdpyinfo >/dev/null 2>&1; do
        [ "$(now_us)" -lt "$deadline" ] ||
            fail "the virtual X server on $DISPLAY never answered within ${AWAIT_LIMIT}s"
        sleep 0.1
    done
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

# Microseconds since the epoch.
now_us() {
    echo "${EPOCHREALTIME//[!0-9]/}"
}

# Whether the game started last is still running.
game_running() {
    [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null
}

# Runs the command $@ over and over until it succeeds, and prints what it printed then. The
# command runs in a subshell, so a check that calls fail serves as a question: its complaint is
# kept, and reported when nothing passed within AWAIT_LIMIT seconds. Fails at once when the game
# (if one was started and not yet waited for) ends meanwhile.
await() {
    local deadline=$(($(now_us) + AWAIT_LIMIT * 1000000)) said
    while :; do
        if said="$("$@" 2>&1)"; then
            [ -z "$said" ] || echo "$said"
            return 0
        fi
        if [ -n "$GAME_PID" ] && ! game_running; then
            fail "the game ended while the test waited for: $* ($(last_complaint "$said"))"
        fi
        [ "$(now_us)" -lt "$deadline" ] ||
            fail "nothing passed within ${AWAIT_LIMIT}s: $* ($(last_complaint "$said"))"
        sleep 0.05
    done
}

# The last line of what a failed check said, without the FAIL: in front.
last_complaint() {
    local last="${1##*$'\n'}"
    echo "${last#FAIL: }"
}

show_game_stdout() {
    echo "--- game standard output"
    cat "$GAME_STDOUT"
    echo "--- game standard error"
    cat "$GAME_STDOUT.stderr"
    echo "---"
}
