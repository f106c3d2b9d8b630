# shellcheck shell=bash
# Helpers for system tests that run the game in a folder of their own (so its state file and
# data are the test's) and look at what it shows. Source after lib.sh.

SCRATCH_DIR=""

# Makes a scratch folder holding the game binary $1 (linked) and a copy of the data folder
# beside it, and prints nothing; SCRATCH_DIR names it and it goes when the test ends.
make_game_dir() {
    local game="$1"
    SCRATCH_DIR="$(mktemp -d /tmp/quarrox_system_XXXXXX)"
    trap 'stop_game; rm -rf "$SCRATCH_DIR"' EXIT
    ln -s "$(cd "$(dirname "$game")" && pwd)/$(basename "$game")" "$SCRATCH_DIR/quarrox"
    cp -r "$(dirname "$game")/data" "$SCRATCH_DIR/data" || fail "no data folder beside $game"
}

# Starts the game of the scratch folder as start_game does, but keeps the exit trap that
# removes the folder.
start_scratch_game() {
    start_game "$SCRATCH_DIR/quarrox" "$1"
    trap 'stop_game; rm -rf "$SCRATCH_DIR"' EXIT
}

# Gives the game's window the keyboard focus (there is no window manager to do it) and prints
# the window's id. The id changes whenever the game opens a new window (fullscreen toggle).
focus_game_window() {
    local window
    window="$(find_game_window)" || return 1
    xdotool windowfocus --sync "$window" 2>/dev/null
    echo "$window"
}

# Presses and releases key $2 in window $1. The game may close that window in answer to the
# press (F4, F11) before the release reaches it; xdotool then fails on the missing window and
# may leave the key held in the server, whose key repeat would press it again in the next
# window: the key is released once more on its own, and what the key should do is checked by
# the caller.
press_key() {
    xdotool key --window "$1" "$2" 2>/dev/null
    xdotool keyup "$2" 2>/dev/null
}

# Presses key $2 in window $1 when the game answers it with a new window, and prints the new
# window's id once it is there (focused).
press_key_for_new_window() {
    local old="$1" i id
    press_key "$old" "$2"
    for ((i = 0; i < WINDOW_WAIT * 5; i++)); do
        id="$(xdotool search --onlyvisible --name '^Quarrox$' 2>/dev/null | grep -vx "$old" |
            head -n 1)"
        if [ -n "$id" ]; then
            xdotool windowfocus --sync "$id" 2>/dev/null
            echo "$id"
            return 0
        fi
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after $2"
        sleep 0.2
    done
    fail "no new window after $2"
}

# Saves a picture of window $1 as $2.
screenshot() {
    import -window "$1" "$2" || fail "taking the screenshot $2 failed"
    echo "screenshot $2"
}

# Prints "R G B" of pixel ($2, $3) of picture $1.
pixel() {
    convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)] %[fx:int(255*p{'"$2"','"$3"'}.g)] %[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# Fails unless pixel ($2, $3) of picture $1 lies within 24 of every channel of "R G B" $4,
# naming what should be there ($5).
expect_pixel() {
    local got want
    got="$(pixel "$1" "$2" "$3")"
    want="$4"
    local g w
    read -r -a g <<<"$got"
    read -r -a w <<<"$want"
    local i
    for i in 0 1 2; do
        local d=$((g[i] - w[i]))
        [ "${d#-}" -le 24 ] || fail "$5: pixel ($2, $3) of $(basename "$1") is $got, expected $want"
    done
}
