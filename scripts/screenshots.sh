#!/usr/bin/env bash
# Takes the pictures the README shows from the real game, fullscreen in an 800 x 600 virtual X
# server: the play field of a Classic game, the menu, the game-over overlay and the credits
# card, written as small PNGs to docs/.
#
#   bash scripts/screenshots.sh [BUILD_DIR]     (default: build)
#
# The game runs in a scratch folder of its own, with a link there to the build's data and a
# state file holding a few earlier scores, so nothing is written to the build or to the
# player's save folder. The play follows a fixed plan: fire held while the ship turns a
# little, then a flight into each of the first two specials (found in the pictures), so that a
# Bomb's ring of bullets pops the Fliznet near it. Where the Fliznet fly is the game's own
# chance, so the play picture is the busiest of the frames taken before the game ends, and a
# game lost to a hit gives the game-over picture just as leaving it from the pause menu does.
# Needs Xvfb (xvfb-run), xdotool, x11-utils and ImageMagick, as the system tests do.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/tests/system/lib.sh"
source "$ROOT/tests/system/game_dir.sh"

# 800 x 600 is the game's design size: one pixel per unit, so text and sprites stay sharp.
SCREEN="800x600x24"
SYSTEM_TEST_LIMIT=240
WIDTH=800
HEIGHT=600
DOCS="$ROOT/docs"

die() {
    echo "screenshots.sh: $*" >&2
    exit 1
}

if [ -z "${QUARROX_IN_XVFB:-}" ]; then
    [ "$#" -le 1 ] || die "usage: bash scripts/screenshots.sh [BUILD_DIR]"
    for tool in xvfb-run xdotool xdpyinfo xwininfo import convert; do
        command -v "$tool" >/dev/null ||
            die "$tool is missing (Debian: xvfb, xdotool, x11-utils, imagemagick)"
    done
fi
BUILD="$(cd "${1:-$ROOT/build}" 2>/dev/null && pwd)" || die "no build folder ${1:-$ROOT/build}"
[ -x "$BUILD/quarrox" ] || die "no game in $BUILD (build it first: bash scripts/play.sh)"
[ -d "$BUILD/data" ] || die "no data folder in $BUILD"
run_in_xvfb "$@"

# --- the scratch folder and the game

SCRATCH_DIR="$(mktemp -d /tmp/quarrox_screenshots_XXXXXX)"
trap 'stop_game; rm -rf "$SCRATCH_DIR"' EXIT
ln -s "$BUILD/quarrox" "$SCRATCH_DIR/quarrox"
ln -s "$BUILD/data" "$SCRATCH_DIR/data"
FRAMES="$SCRATCH_DIR/frames"
mkdir -p "$FRAMES" "$DOCS"

# Writes the state file: the default options, no badges, and for each game type the ten best
# scores and the ten latest, interleaved, each block followed by its checksum.
write_state() {
    local text="" sum=0 i t r
    for i in $(seq 0 24); do
        local value=0
        case "$i" in 5) value=1 ;; 10 | 11) value=64 ;; 12) value=10 ;; 14) value=1 ;; esac
        text+="$value|"
        sum=$((sum + i * value))
    done
    text+="$sum|0|0|0|0|0|0|0|0|0|"
    # Training, Classic and Swarm: best first, and newest first.
    local -a top=("58 37 21 9" "143 96 71 40 18" "33 12")
    local -a last=("58 21 37 9" "71 143 18 96 40" "12 33")
    for t in 0 1 2; do
        local -a tops lasts
        read -r -a tops <<<"${top[t]}"
        read -r -a lasts <<<"${last[t]}"
        sum=0
        for r in $(seq 0 9); do
            local top_score="${tops[r]:-0}" last_score="${lasts[r]:-0}"
            text+="$top_score|$last_score|"
            sum=$((sum + (r + 4) * top_score + (t + r + 3) * last_score))
        done
        text+="$sum|"
    done
    printf '%s' "$text" >"$SCRATCH_DIR/.travikstate"
}

start_fullscreen_game() {
    GAME_STDOUT="$SCRATCH_DIR/game.stdout"
    (cd "$SCRATCH_DIR" && ALSOFT_DRIVERS=null exec ./quarrox --fullscreen) \
        </dev/null >"$GAME_STDOUT" 2>"$GAME_STDOUT.stderr" &
    GAME_PID=$!
}

# --- looking at pictures

shot() {
    import -window root "$1" || fail "taking a picture failed"
}

# Whether area $2 of picture $1 is mostly yellow, as the game-over bars make it.
yellowish() {
    local r g b
    read -r r g b <<<"$(dominant_colour "$1" "$2")"
    [ "$r" -gt 100 ] && [ "$g" -gt 100 ] && [ "$b" -lt 60 ]
}

# The overlay has begun: the yellow bar grows in from the left edge at 45 % of the height.
game_over_begun() {
    yellowish "$1" "40x6+4+$((HEIGHT * 45 / 100 - 3))"
}

# The overlay is complete: the yellow bar past 500 pixels and the field dimmed to 0.3.
game_over_complete() {
    yellowish "$1" "20x6+480+$((HEIGHT * 45 / 100 - 3))" &&
        colours_close "$(dominant_colour "$1" "120x40+40+480")" "12 0 0"
}

# The blobs of a mask of picture $1 (the mask made by the remaining convert options), below
# the score line: one line "WIDTH HEIGHT X Y AREA" each, X and Y the centre.
blobs() {
    local picture="$1"
    shift
    convert "$picture" -fill black -draw "rectangle 0,0 $((WIDTH - 1)),36" "$@" \
        -define connected-components:verbose=true -define connected-components:area-threshold=4 \
        -connected-components 8 null: |
        awk '$NF ~ /255,255,255|gray\(255\)/ {
            split($2, box, /[x+]/); split($3, centre, ",")
            print box[1], box[2], int(centre[1]), int(centre[2]), $4
        }'
}

# Everything that is not the field's dark red.
field_blobs() {
    blobs "$1" -fuzz 8% -fill black -opaque 'rgb(40,0,0)' -fill white +opaque black
}

# How many separate things stand on the field.
busyness() {
    field_blobs "$1" | wc -l
}

# Prints "X Y" of the ship: the largest light blue blob.
ship_at() {
    blobs "$1" -fuzz 22% -fill '#010203' -opaque '#58CEFF' -fuzz 0 -fill black +opaque '#010203' \
        -fill white -opaque '#010203' | sort -k5 -n -r | awk '{ print $3, $4; exit }'
}

# Prints "X Y" of a Bomb or Gravity-Well that has settled: a blob of its ring's size (while it
# swoops in, it is larger).
special_at() {
    field_blobs "$1" | awk '$1 >= 18 && $2 >= 18 && $1 <= 44 && $2 <= 44 { print $3, $4; exit }'
}

# Holds the direction keys that move the ship by about ($1, $2) units. With a key held the
# ship's target gathers speed for 7 updates up to 3 units an update and runs on 2 units after
# the release, so d units take about (d + 2.5) / 3 updates.
steer() {
    local dx="$1" dy="$2" x_key=Right y_key=Down
    [ "$dx" -lt 0 ] && x_key=Left dx=$((-dx))
    [ "$dy" -lt 0 ] && y_key=Up dy=$((-dy))
    local x_ms=$(((dx * 1000 + 2500) / 180)) y_ms=$(((dy * 1000 + 2500) / 180))
    [ "$dx" -lt 4 ] && x_ms=0
    [ "$dy" -lt 4 ] && y_ms=0
    local first_key="$x_key" first_ms="$x_ms" last_key="$y_key" last_ms="$y_ms"
    if [ "$x_ms" -gt "$y_ms" ]; then
        first_key="$y_key" first_ms="$y_ms" last_key="$x_key" last_ms="$x_ms"
    fi
    [ "$last_ms" -gt 0 ] || return 0
    [ "$first_ms" -gt 0 ] && xdotool keydown "$first_key"
    xdotool keydown "$last_key"
    sleep "$(printf '%d.%03d' $((first_ms / 1000)) $((first_ms % 1000)))"
    [ "$first_ms" -gt 0 ] && xdotool keyup "$first_key"
    local rest=$((last_ms - first_ms))
    sleep "$(printf '%d.%03d' $((rest / 1000)) $((rest % 1000)))"
    xdotool keyup "$last_key"
}

# Writes picture $1 to docs/$2, reduced to 128 colours and compressed.
publish() {
    convert "$1" -strip -dither None -colors 128 -define png:compression-level=9 \
        -define png:compression-filter=5 "PNG8:$DOCS/$2" || fail "writing docs/$2 failed"
    echo "docs/$2: $(stat -c %s "$DOCS/$2") bytes"
}

# --- the menu

write_state
start_fullscreen_game
window="$(focus_game_window)" || { show_game_stdout; fail "the game did not start"; }
[ "$(window_size "$window")" = "${WIDTH}x${HEIGHT}" ] ||
    fail "the game's window is $(window_size "$window"), not fullscreen ${WIDTH}x${HEIGHT}"
sleep 2.5
# Classic, the second item, comes to the centre with its scores beside it.
hold_key Right
sleep 1
shot "$SCRATCH_DIR/menu.png"
expect_dominant "$SCRATCH_DIR/menu.png" "" "40 40 80" "menu background"

# --- a Classic game

# Pictures of the field are numbered in the order taken; any of them may be the one shown.
frames=0
over=""

# Takes the next picture of the field; false once the game-over overlay has begun in it.
field_picture() {
    local frame
    frame="$FRAMES/$(printf '%03d' "$frames").png"
    frames=$((frames + 1))
    shot "$frame"
    LAST_FRAME="$frame"
    if game_over_begun "$frame"; then
        over="hit"
        return 1
    fi
}

# Fire is let go and pressed again every second, so it keeps its fastest rate; short presses
# of a direction turn the ship and move it a little, so the shots sweep the field and the
# Fliznet they split multiply.
sweep() {
    local rounds="$1" round direction
    local -a turns=(Right - Up - Left - Down -)
    for ((round = 0; round < rounds; round++)); do
        direction="${turns[round % ${#turns[@]}]}"
        xdotool keydown space
        if [ "$direction" = - ]; then
            sleep 0.9
        else
            xdotool keydown "$direction"
            sleep 0.2
            xdotool keyup "$direction"
            sleep 0.7
        fi
        field_picture
        local alive=$?
        xdotool keyup space
        [ "$alive" -eq 0 ] || return 1
    done
}

# Flies the ship into the special on the field, looking again after every move, until it is
# gone: a Bomb fires its ring of bullets, a Gravity-Well starts to pull.
fly_into_special() {
    local step sx sy tx ty
    for ((step = 0; step < 12; step++)); do
        field_picture || return 1
        read -r tx ty <<<"$(special_at "$LAST_FRAME")"
        [ -n "$tx" ] || return 0
        read -r sx sy <<<"$(ship_at "$LAST_FRAME")"
        [ -n "$sx" ] || return 0
        steer $((tx - sx)) $((ty - sy))
        sleep 0.4
    done
}

# Flies into the special and watches what follows, with fire held.
pick_up_special() {
    fly_into_special || return 1
    xdotool keydown space
    local i alive=0
    for i in 1 2 3 4 5 6; do
        field_picture || { alive=1 && break; }
        sleep 0.15
    done
    xdotool keyup space
    return "$alive"
}

hold_key Return
sleep 0.5
# The first special settles after about nine seconds and waits there while the shots split
# more Fliznet; the next one comes a few seconds after it has been picked up.
sweep 20 && pick_up_special && sweep 8 && pick_up_special
kill -0 "$GAME_PID" 2>/dev/null || { show_game_stdout; fail "the game ended during play"; }
if [ -z "$over" ]; then
    # Still alive: the pause menu's left item leaves the game.
    hold_key Escape
    sleep 0.8
    hold_key Left
    sleep 0.2
    hold_key Return
fi

# The overlay is complete from about a third of a second on and gives way to the menu after
# a second and a half: of a quick series, the first complete one.
game_over=""
for i in $(seq 1 12); do
    candidate="$FRAMES/over_$i.png"
    shot "$candidate"
    if game_over_complete "$candidate"; then
        game_over="$candidate"
        break
    fi
    sleep 0.1
done
[ -n "$game_over" ] || fail "no picture of the complete game-over overlay"

best=""
best_count=-1
for frame in "$FRAMES"/[0-9]*.png; do
    [ -e "$frame" ] || continue
    game_over_begun "$frame" && continue
    count="$(busyness "$frame")"
    if [ "$count" -gt "$best_count" ]; then
        best="$frame"
        best_count="$count"
    fi
done
echo "the game ended by a ${over:-choice}; the busiest field shows $best_count things"
[ -n "$best" ] || fail "the game was lost before the first picture of the field"
expect_dominant "$best" "" "40 0 0" "play field"

# --- the credits card, from the menu

sleep 3
hold_key n
sleep 1.5
shot "$SCRATCH_DIR/credits.png"
expect_dominant "$SCRATCH_DIR/credits.png" "16x16+4+4" "0 0 0" "card frame, top left"
expect_dominant "$SCRATCH_DIR/credits.png" "20x20+190+123" "128 128 128" "a grey cell"

press_key "$window" F4
wait_for_game_exit
[ "$GAME_STATUS" -eq 0 ] || { show_game_stdout; fail "F4 ended the game with $GAME_STATUS"; }

publish "$best" play.png
publish "$SCRATCH_DIR/menu.png" menu.png
publish "$game_over" game-over.png
publish "$SCRATCH_DIR/credits.png" credits.png
