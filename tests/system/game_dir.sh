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

# Prints the id of the visible window named $1 once there is one.
visible_window() {
    local id
    id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)"
    [ -n "$id" ] || fail "no visible window named $1"
    echo "$id"
}

# Prints a stamp of file $1 that changes whenever the file is written (or "none" while there is
# no such file): inode, size and the change time to the nanosecond.
file_stamp() {
    stat -c '%i %s %.9Z' "$1" 2>/dev/null || echo none
}

# Fails unless file $1 was written since it had the stamp $2.
file_written_since() {
    [ "$(file_stamp "$1")" != "$2" ] || fail "$(basename "$1") has not been written"
}

# Opens another window and gives it the focus; the game, losing the focus, suspends and saves
# its state. Once the state file $1 has been written, the other window closes again.
focus_another_window() {
    local state="$1" before other other_pid
    before="$(file_stamp "$state")"
    xmessage -name quarrox_other "another window" &
    other_pid=$!
    other="$(await visible_window quarrox_other)" || exit 1
    xdotool windowfocus --sync "$other" || fail "could not focus the other window"
    await file_written_since "$state" "$before"
    kill "$other_pid" 2>/dev/null
    wait "$other_pid" 2>/dev/null
}

# Keys and buttons go through the X server's input extension to the focused window, held long
# enough for an update (1/60 s) to see them down: key $1, for $2 seconds (0.15 unless given).
hold_key() {
    xdotool keydown "$1"
    sleep "${2:-0.15}"
    xdotool keyup "$1"
}

# Seconds a key or button is held for an answer before it is let go and pressed again.
PRESS_RETRY="${PRESS_RETRY:-5}"

# Runs the command $1 (a press), then the command $3... as await does until it succeeds, then
# the command $2 (the release). The game reads keys and buttons as down or up at each update,
# and one that stays down acts once. A press that comes in the same turn as the release of the
# key before goes unseen: with a key still held, the game's latch against held keys stays shut.
# After PRESS_RETRY seconds without an answer the press is therefore let go and made again.
# The command must hence ask for the first sign of an answer, one that a second press would not
# undo (for a press that toggles, that the picture has started to change; the caller then
# awaits the end of the change).
press_until_with() {
    local down="$1" up="$2"
    shift 2
    local deadline=$(($(now_us) + AWAIT_LIMIT * 1000000)) retry said now ended
    while :; do
        $down
        retry=$(($(now_us) + PRESS_RETRY * 1000000))
        while :; do
            # Whether the game was still there is looked at before the check: a game that ends
            # while the check runs is then checked again, never taken for a failed answer.
            ended=0
            [ -n "$GAME_PID" ] && ! game_running && ended=1
            if said="$("$@" 2>&1)"; then
                $up
                [ -z "$said" ] || echo "$said"
                # Time for the game to see the release on its own, before the next press.
                sleep 0.1
                return 0
            fi
            if [ "$ended" -eq 1 ]; then
                $up
                fail "the game ended while the test pressed for: $* ($(last_complaint "$said"))"
            fi
            now="$(now_us)"
            [ "$now" -lt "$retry" ] && [ "$now" -lt "$deadline" ] || break
            sleep 0.05
        done
        $up
        [ "$(now_us)" -lt "$deadline" ] ||
            fail "nothing passed within ${AWAIT_LIMIT}s of pressing: $* ($(last_complaint "$said"))"
        echo "pressing again, no answer yet to: $* ($(last_complaint "$said"))" >&2
        sleep 0.1
    done
}

# For a picture $1: fails while the check $2 (with its arguments $3...) still passes on it.
no_longer() {
    local shot="$1" check="$2"
    shift 2
    if ("$check" "$shot" "$@") >/dev/null 2>&1; then
        fail "$(basename "$shot") still passes $check $*"
    fi
    return 0
}

# Holds key $1 down in the focused window until the command $2... succeeds (see
# press_until_with).
press_until() {
    local key="$1"
    shift
    press_until_with "xdotool keydown $key" "xdotool keyup $key" "$@"
}

# Holds the left button down at ($2, $3) of window $1 until the command $4... succeeds (see
# press_until_with).
click_until() {
    local window="$1" x="$2" y="$3"
    shift 3
    xdotool mousemove --window "$window" "$x" "$y"
    press_until_with "xdotool mousedown 1" "xdotool mouseup 1" "$@"
}

game_ended() {
    game_running && fail "the game is still running"
    return 0
}

# Holds key $1 down until the game ends; wait_for_game_exit then collects its status.
press_until_exit() {
    press_until "$1" game_ended
}

# Saves a picture of window $1 as $2.
screenshot() {
    import -window "$1" "$2" || fail "taking the screenshot $2 failed"
    echo "screenshot $2"
}

# Prints how many seconds of sound the WAV file $1 holds so far, while it is being written:
# the bytes past the header (at most 68 long) at the byte rate its header gives.
wav_seconds() {
    local size rate
    size="$(stat -c %s "$1" 2>/dev/null)" || size=0
    rate="$(od -An -tu4 -j28 -N4 "$1" 2>/dev/null | tr -d ' ')"
    awk -v s="$size" -v r="${rate:-0}" 'BEGIN { t = 0; if (r > 0 && s > 68) t = (s - 68) / r; printf "%.3f\n", t }'
}

# Fails unless the WAV file $1 holds at least $2 seconds of sound.
expect_recorded() {
    local got
    got="$(wav_seconds "$1")"
    awk -v g="$got" -v w="$2" 'BEGIN { exit !(g >= w) }' ||
        fail "$(basename "$1") holds ${got}s of sound, not yet $2"
}

# Saves a picture of window $1 as $2 and runs the check $3 on it, with the picture as its first
# argument and $4... after it: a question for await and press_until.
picture_shows() {
    local window="$1" shot="$2" check="$3"
    shift 3
    import -window "$window" "$shot" 2>/dev/null || fail "no picture of window $window"
    "$check" "$shot" "$@"
    echo "screenshot $shot"
}

# A picture that shows for a second or so (an overlay running its course) may come and go
# between two looks that each take a picture and check it. Pictures of window $1 are therefore
# taken one after another in the background into the folder $2, until stop_burst or for
# AWAIT_LIMIT seconds, and burst_shows checks them afterwards, in order.
BURST_PID=""
start_burst() {
    local window="$1" dir="$2" test_pid=$$
    rm -rf "$dir"
    mkdir -p "$dir"
    (
        local n=0 end=$(($(now_us) + AWAIT_LIMIT * 1000000))
        while [ "$(now_us)" -lt "$end" ] && kill -0 "$test_pid" 2>/dev/null; do
            # Renamed once complete, so that no check reads half a picture.
            if import -window "$window" -depth 8 "ppm:$dir/next" 2>/dev/null; then
                mv "$dir/next" "$dir/$n.ppm"
                n=$((n + 1))
            fi
            sleep 0.02
        done
    ) </dev/null >/dev/null 2>&1 &
    BURST_PID=$!
}

stop_burst() {
    [ -n "$BURST_PID" ] || return 0
    kill "$BURST_PID" 2>/dev/null
    wait "$BURST_PID" 2>/dev/null
    BURST_PID=""
}

# Runs the check $3 (with its arguments $4...) on each picture of the burst folder $1 not
# looked at before, oldest first; saves the first that passes as $2 (PNG).
burst_shows() {
    local dir="$1" shot="$2" check="$3" frame said="no picture taken yet"
    shift 3
    for frame in $(cd "$dir" && ls -- *.ppm 2>/dev/null | sort -n); do
        if said="$("$check" "$dir/$frame" "$@" 2>&1)"; then
            convert "$dir/$frame" "$shot" || fail "could not save $shot"
            echo "screenshot $shot"
            return 0
        fi
        rm -f "$dir/$frame"
    done
    fail "$(last_complaint "$said")"
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

# The menu checks below are laid out for a 640 x 480 window (0.8 pixels per unit); a test whose
# window is 800 x 600 (one pixel per unit) sets MENU_WINDOW=800 and gets the same places scaled.
MENU_WINDOW="${MENU_WINDOW:-640}"
menu_px() {
    echo $(($1 * MENU_WINDOW / 640))
}

# Fails unless picture $1 shows the menu: mostly its dark blue, and the highscore panel
# darkening the right edge between its two lists.
expect_menu() {
    expect_dominant "$1" "" "40 40 80" "menu background"
    expect_dominant "$1" "$(menu_px 12)x$(menu_px 40)+$(menu_px 532)+$(menu_px 220)" "24 24 48" \
        "highscore panel"
}

# The frame colours of game types 1 to 3 in the menu's carousel.
CAROUSEL_COLOURS=("" "120 255 80" "40 230 255" "255 50 200")

# Fails unless picture $1 shows the menu's carousel at rest (to within a pixel) with game type
# $2 in the middle: in a 640 x 480 window the middle item's frame then crosses the row y = 312
# at x = 226 and x = 301.
expect_carousel() {
    local shot="$1" type="$2"
    local colour="${CAROUSEL_COLOURS[type]}" y
    y="$(menu_px 312)"
    expect_pixel "$shot" "$(menu_px 226)" "$y" "$colour" \
        "carousel at rest on game type $type, left edge"
    expect_pixel "$shot" "$(menu_px 301)" "$y" "$colour" \
        "carousel at rest on game type $type, right edge"
}

# The menu as expect_menu has it, at rest with game type $2 in the middle of its carousel. The
# title, the panel and its buttons slide in together: the panel has come to rest once its left
# edge is at x = 528 in a 640 x 480 window (expect_menu sees it a step before).
expect_menu_at() {
    expect_menu "$1"
    expect_dominant "$1" "2x$(menu_px 40)+$(menu_px 528)+$(menu_px 220)" "24 24 48" \
        "highscore panel at rest"
    expect_carousel "$1" "$2"
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
