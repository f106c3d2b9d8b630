#!/usr/bin/env bash
# With --music=composed the game composes its music from the tune images while a game runs.
# OpenAL's wave driver records the mix of a game's first seconds: it is not silent, two games of
# one type start with the same music (their loudness over time matches, allowing for the few
# frames by which the two starts differ), and a game of another type sounds different.
# Arguments: the game binary, a folder for the recordings and the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
run_in_xvfb "$@"

GAME="$1"
OUT_DIR="$2"
mkdir -p "$OUT_DIR"
make_game_dir "$GAME"
MATCH="$(dirname "${BASH_SOURCE[0]}")/envelope_match.awk"

# Plays game type $1 for nine seconds with no key held and records the mix as $2 (WAV) and,
# for comparing, as $2.dat (text, 8000 samples per second, one channel).
record_game() {
    local type="$1" wav="$2" i
    printf '[general]\ndrivers=wave\n[wave]\nfile=%s\n' "$wav" >"$SCRATCH_DIR/alsoft.conf"
    rm -f "$wav" "$SCRATCH_DIR/.travikstate"
    GAME_STDOUT="$OUT_DIR/composed_music.stdout"
    (cd "$SCRATCH_DIR" && ALSOFT_CONF="$SCRATCH_DIR/alsoft.conf" exec ./quarrox --music=composed) \
        </dev/null >"$GAME_STDOUT" 2>"$GAME_STDOUT.stderr" &
    GAME_PID=$!
    local window
    window="$(focus_game_window)" || { show_game_stdout; exit 1; }
    sleep 1.5
    for ((i = 1; i < type; i++)); do
        hold_key Right
        sleep 0.3
    done
    hold_key Return
    sleep 9
    press_key "$window" F4
    wait_for_game_exit
    [ "$GAME_STATUS" -eq 0 ] || { show_game_stdout; fail "the game ended with status $GAME_STATUS"; }
    [ -s "$wav" ] || fail "OpenAL's wave driver wrote no recording"
    sox "$wav" -c 1 -r 8000 -t dat "$wav.dat" 2>/dev/null || fail "sox could not read $wav"
}

# Loudness of the last five seconds of recording $1 (the music, with no effects playing).
music_rms() {
    sox "$1" -n trim 4 5 stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }'
}

# The best match of seconds 4 to 8 of recording $1 against recording $2, shifted by up to two
# seconds either way (a busy machine starts one game later than the other).
likeness() {
    awk -v FROM=400 -v FRAMES=400 -v MAXLAG=200 -f "$MATCH" "$1.dat" "$2.dat"
}

record_game 2 "$OUT_DIR/composed_type2_a.wav"
record_game 2 "$OUT_DIR/composed_type2_b.wav"
record_game 3 "$OUT_DIR/composed_type3.wav"

for wav in composed_type2_a composed_type2_b composed_type3; do
    rms="$(music_rms "$OUT_DIR/$wav.wav")"
    echo "$wav: music RMS $rms"
    awk -v r="$rms" 'BEGIN { exit !(r > 0.01) }' || fail "$wav is silent (RMS $rms)"
done

same="$(likeness "$OUT_DIR/composed_type2_a.wav" "$OUT_DIR/composed_type2_b.wav")"
other="$(likeness "$OUT_DIR/composed_type2_a.wav" "$OUT_DIR/composed_type3.wav")"
echo "likeness of two games of type 2: $same; of type 2 and type 3: $other"
awk -v s="$same" 'BEGIN { exit !(s > 0.9) }' || fail "two games of type 2 start with other music"
awk -v s="$same" -v o="$other" 'BEGIN { exit !(o < s - 0.2) }' ||
    fail "types 2 and 3 sound alike ($other against $same)"
echo "PASS"
