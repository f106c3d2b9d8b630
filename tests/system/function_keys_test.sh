#!/usr/bin/env bash
# F1 shows the debug line at the bottom left; F11 goes to a window of the desktop's size and
# back to the window sized to the screen (800 x 600 here), each time loading again and laying the loading screen out for the new
# shape (the loader waits at the sprite sheet while the test looks); F4 ends the game with
# status 0.
# Arguments: the game binary, a folder for the screenshots and the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
# A wide desktop: the fullscreen virtual screen is 800 x 450 instead of the window's 800 x 600,
# so a picture still laid out for the old shape would show. The window, 800 x 600, is the
# design screen at one pixel per unit.
SCREEN="1280x720x24"
MENU_WINDOW=800
run_in_xvfb "$@"

GAME="$1"
OUT_DIR="$2"
mkdir -p "$OUT_DIR"
make_game_dir "$GAME"
# The sprite sheets of the windowed (800 x 600) and the fullscreen (1280 x 720) art.
hold_data_file gfx-hd.png
hold_data_file gfx-hd2.png
start_scratch_game "$OUT_DIR/function_keys.stdout"

# Share of light pixels along the bottom-left strip where the debug line goes. At one pixel
# per unit the line is short ("58:1.0,1.0"), some 1.5 % of the strip.
debug_strip_light() {
    convert "$1" -crop "380x18+8+$(($2 - 20))" -colorspace Gray -threshold 60% \
        -format '%[fx:mean]' info:
}

# Fails unless picture $1 (of a window $2 pixels high) shows no debug line; or, with $3 = on,
# shows one.
expect_debug_line() {
    local light
    light="$(debug_strip_light "$1" "$2")"
    if [ "${3:-off}" = on ]; then
        echo "debug strip light share: $light"
        awk -v l="$light" 'BEGIN { exit !(l > 0.005) }' || fail "no debug line after F1 ($light)"
    else
        awk -v l="$light" 'BEGIN { exit !(l < 0.001) }' || fail "light pixels ($light) before F1"
    fi
}

# The loading screen laid out for the 1280 x 720 fullscreen window: 1.6 pixels per unit, the
# band of the 450-unit-high screen at 288 .. 432.
expect_fullscreen_loading() {
    local shot="$1"
    expect_pixel "$shot" 100 300 "187 124 66" "band of the fullscreen loading screen"
    expect_pixel "$shot" 100 420 "187 124 66" "band of the fullscreen loading screen"
    expect_pixel "$shot" 100 270 "40 40 80" "background above the band"
    expect_pixel "$shot" 100 450 "40 40 80" "background below the band"
    expect_pixel "$shot" 640 560 "212 212 16" "yellow disc"
}

# In the 800 x 600 window the band lies at 240 .. 360.
expect_windowed_loading() {
    local shot="$1"
    expect_pixel "$shot" 20 250 "187 124 66" "band of the windowed loading screen"
    expect_pixel "$shot" 20 350 "187 124 66" "band of the windowed loading screen"
    expect_pixel "$shot" 20 230 "40 40 80" "background above the band"
    expect_pixel "$shot" 20 370 "40 40 80" "background below the band"
}

window="$(focus_game_window)" || { show_game_stdout; exit 1; }
release_data_file gfx-hd.png
# The strip is checked on the menu at rest, once nothing of the loading screen is left.
await picture_shows "$window" "$OUT_DIR/keys_before_f1.png" expect_menu_at 1
expect_debug_line "$OUT_DIR/keys_before_f1.png" 600
press_key "$window" F1
await picture_shows "$window" "$OUT_DIR/keys_f1.png" expect_debug_line 600 on
press_key "$window" F1
await picture_shows "$window" "$OUT_DIR/keys_f1_off.png" expect_debug_line 600

for round in 1 2; do
    window="$(press_key_for_new_window "$window" F11)" || { show_game_stdout; exit 1; }
    await picture_shows "$window" "$OUT_DIR/keys_fullscreen_$round.png" expect_fullscreen_loading
    size="$(window_size "$window")"
    [ "$size" = "1280x720" ] || fail "fullscreen window is $size, expected 1280x720"
    release_data_file gfx-hd2.png

    window="$(press_key_for_new_window "$window" F11)" || { show_game_stdout; exit 1; }
    await picture_shows "$window" "$OUT_DIR/keys_windowed_$round.png" expect_windowed_loading
    size="$(window_size "$window")"
    [ "$size" = "800x600" ] || fail "window is $size after leaving fullscreen, expected 800x600"
    release_data_file gfx-hd.png
done

press_key "$window" F4
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "the game exited with status $GAME_STATUS after F4"
if grep -q 'Travik Runtime Error' "$GAME_STDOUT"; then
    fail "the game reported a runtime error"
fi
echo "PASS"
