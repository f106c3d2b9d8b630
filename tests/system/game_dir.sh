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

# Keeps the loading screen on view for as long as a test needs: the data file $1 (a path below
# data/) becomes a named pipe, and the game's loader, on reaching that file, waits until
# release_data_file hands it the real content. The pipe stays, so every later load waits there
# again.
hold_data_file() {
    local file="$SCRATCH_DIR/data/$1"
    mv "$file" "$file.held" && mkfifo "$file" || fail "could not hold data/$1"
}

# Hands the held file $1 to the game once, waiting (bounded) for the game to ask for it.
release_data_file() {
    local file="$SCRATCH_DIR/data/$1"
    timeout 30 bash -c 'cat "$1" >"$2"' _ "$file.held" "$file" ||
        fail "the game never asked for data/$1"
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

# Keys and buttons go through the X server's input extension to the focused window, held long
# enough for an update (1/60 s) to see them down: key $1, for $2 seconds (0.15 unless given).
# Opens another window, gives it the focus for a second (the game suspends and saves), then
# closes it again.
focus_another_window() {
    xmessage -name quarrox_other "another window" &
    local other_pid=$! other="" i
    for ((i = 0; i < 50; i++)); do
        other="$(xdotool search --onlyvisible --name '^quarrox_other$' 2>/dev/null | head -n 1)"
        [ -n "$other" ] && break
        sleep 0.1
    done
    [ -n "$other" ] || fail "the other window did not appear"
    xdotool windowfocus --sync "$other" || fail "could not focus the other window"
    sleep 1
    kill "$other_pid" 2>/dev/null
    wait "$other_pid" 2>/dev/null
}

hold_key() {
    xdotool keydown "$1"
    sleep "${2:-0.15}"
    xdotool keyup "$1"
}

# Clicks window $1 at ($2, $3), in window pixels.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3"
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
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

# Whether colours "R G B" $1 and $2 lie within 24 of each other on every channel.
colours_close() {
    local -a a b
    read -r -a a <<<"$1"
    read -r -a b <<<"$2"
    local i d
    for i in 0 1 2; do
        d=$((a[i] - b[i]))
        [ "${d#-}" -le 24 ] || return 1
    done
}

# Fails unless pixel ($2, $3) of picture $1 is close to "R G B" $4, naming what should be
# there ($5).
expect_pixel() {
    local got
    got="$(pixel "$1" "$2" "$3")"
    colours_close "$got" "$4" ||
        fail "$5: pixel ($2, $3) of $(basename "$1") is $got, expected $4"
}

# Prints "R G B" of the most common colour of picture $1, or of its area $2 (a geometry such
# as 40x20+10+5; empty for the whole picture).
dominant_colour() {
    local -a crop=()
    [ -n "$2" ] && crop=(-crop "$2" +repage)
    convert "$1" "${crop[@]}" -format %c histogram:info:- | sort -rn | head -n 1 |
        sed -E 's/^ *[0-9]+: *\( *([0-9]+), *([0-9]+), *([0-9]+).*/\1 \2 \3/'
}

# Fails unless the most common colour of picture $1 (or of its area $2) is close to "R G B"
# $3, naming what should be there ($4).
expect_dominant() {
    local got
    got="$(dominant_colour "$1" "$2")"
    colours_close "$got" "$3" ||
        fail "$4: $(basename "$1") ${2:+at $2 }is mostly $got, expected $3"
}

# Fails unless picture $1 shows the menu in a 640 x 480 window: mostly its dark blue, and the
# highscore panel darkening the right edge between its two lists.
expect_menu() {
    expect_dominant "$1" "" "40 40 80" "menu background"
    expect_dominant "$1" "12x40+532+220" "24 24 48" "highscore panel"
}

# The state text: 25 settings and their checksum, 8 badge words and theirs, then per game
# type t ten best and ten latest scores interleaved and their checksum. $1 is added to the
# second best score of type 1 after the checksums are made (0 for a correct text).
state_text() {
    local tamper="$1" text="" sum=0 i t r
    local settings=(0 0 0 7 0 1 0 0 0 0 64 64 10 0 1 0 0 0 0 0 0 0 0 0 0)
    for i in "${!settings[@]}"; do
        text+="${settings[i]}|"
        sum=$((sum + i * settings[i]))
    done
    text+="$sum|"
    # Badges 0, 2 and 255: the last word has bit 31 set and is written negative.
    local words=(5 0 0 0 0 0 0 -2147483648)
    sum=0
    for i in "${!words[@]}"; do
        text+="${words[i]}|"
        sum=$((sum + words[i]))
    done
    text+="$sum|"
    for t in 0 1 2; do
        sum=0
        for r in $(seq 0 9); do
            local top=$(((t + 1) * 1000 - 50 * r)) last=$((10 * r + t))
            sum=$((sum + (r + 4) * top + (t + r + 3) * last))
            [ "$t" -eq 1 ] && [ "$r" -eq 1 ] && top=$((top + tamper))
            text+="$top|$last|"
        done
        text+="$sum|"
    done
    printf '%s' "$text"
}
