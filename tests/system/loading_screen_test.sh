#!/usr/bin/env bash
# The game opens on its loading screen (dark blue background, a yellow disc behind the logo, an
# orange band) and plays the logo jingle while it loads: OpenAL's wave driver records a mix
# that is not silent within the first second. Once loaded, the menu takes over.
# Arguments: the game binary, a folder for the screenshot and the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
run_in_xvfb "$@"

GAME="$1"
OUT_DIR="$2"
mkdir -p "$OUT_DIR"
make_game_dir "$GAME"
# The loader waits at the sprite sheet (of the art for 640 x 480) until the test has looked.
hold_data_file gfx-hd.png

# The mix goes to a file instead of a sound card.
capture="$SCRATCH_DIR/capture.wav"
printf '[general]\ndrivers=wave\n[wave]\nfile=%s\n' "$capture" >"$SCRATCH_DIR/alsoft.conf"
GAME_STDOUT="$OUT_DIR/loading_screen.stdout"
(cd "$SCRATCH_DIR" && ALSOFT_CONF="$SCRATCH_DIR/alsoft.conf" exec ./quarrox) \
    </dev/null >"$GAME_STDOUT" &
GAME_PID=$!

# 640 x 480 shows the 800 x 600 design screen at 0.8 pixels per unit.
expect_loading_screen() {
    local shot="$1"
    expect_pixel "$shot" 20 20 "40 40 80" "background"
    expect_pixel "$shot" 20 460 "40 40 80" "background"
    expect_pixel "$shot" 320 375 "212 212 16" "yellow disc below the logo"
    expect_pixel "$shot" 205 170 "212 212 16" "yellow disc left of the logo"
    expect_pixel "$shot" 205 240 "239 176 47" "band drawn over the disc"
    expect_pixel "$shot" 20 240 "187 124 66" "band"
    expect_pixel "$shot" 620 240 "187 124 66" "band"
}

window="$(focus_game_window)" || { show_game_stdout; exit 1; }
await picture_shows "$window" "$OUT_DIR/loading_screen.png" expect_loading_screen

release_data_file gfx-hd.png
await picture_shows "$window" "$OUT_DIR/loading_screen_done.png" expect_menu
# The check below looks at the first second of the mix.
await expect_recorded "$capture" 1

press_key "$window" F4
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "the game exited with status $GAME_STATUS after F4"

[ -s "$capture" ] || fail "OpenAL's wave driver wrote no capture"
peak="$(sox "$capture" -n trim 0 1 stat 2>&1 | awk '/^Maximum amplitude/ { print $3 }')"
echo "peak amplitude in the first second: $peak"
awk -v p="$peak" 'BEGIN { exit !(p > 0.05) }' || fail "the first second is silent: no jingle"
echo "PASS"
