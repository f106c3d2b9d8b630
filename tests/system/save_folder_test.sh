#!/usr/bin/env bash
# The save folder that scripts/play.sh and the installed launcher start the game in, prepared
# by packaging/quarrox-run.sh: where it is by the XDG rules, the data link it holds, the move
# of an older build's state file, and what it never touches. A stand-in program records where
# it ran and with what, so no game and no display are needed; scripts/play.sh is run the same
# way in a copy of the source tree whose set-up does nothing.
# Argument: the source folder.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

SOURCE="$(cd "$1" && pwd)"
RUN_SCRIPT="$SOURCE/packaging/quarrox-run.sh"
WORK="$(mktemp -d /tmp/quarrox_save_folder_XXXXXX)"
trap 'rm -rf "$WORK"' EXIT

# A build folder with a program and its data, and an installation with its own data.
BUILD="$WORK/build"
INSTALLED="$WORK/prefix/share/quarrox/data"
mkdir -p "$BUILD/data" "$INSTALLED"
echo build >"$BUILD/data/which"
echo installed >"$INSTALLED/which"
PROGRAM="$BUILD/quarrox"
RECORD="$WORK/record"
cat >"$PROGRAM" <<'EOF'
#!/usr/bin/env bash
{
    echo "dir=$PWD"
    echo "data=$(cat data/which)"
    for arg in "$@"; do echo "arg=$arg"; done
} >"$RECORD"
echo "game output"
exit "${GAME_STATUS:-0}"
EOF
chmod +x "$PROGRAM"
export RECORD

OUT="$WORK/stdout"
ERR="$WORK/stderr"
STATUS=0
# Runs the script with the environment changes given before "--" (NAME=VALUE, or -u NAME) and
# the script's arguments after it; HOME is $WORK/home unless changed.
run() {
    local -a env_args=()
    while [ "$1" != "--" ]; do
        env_args+=("$1")
        shift
    done
    shift
    rm -f "$RECORD"
    STATUS=0
    (cd "$WORK" && env -u XDG_DATA_HOME HOME="$WORK/home" env "${env_args[@]}" \
        bash "$RUN_SCRIPT" "$@") >"$OUT" 2>"$ERR" </dev/null || STATUS=$?
}
recorded() {
    grep -x "$1" "$RECORD" >/dev/null 2>&1
}
# The stand-in ran in folder $1 on the data named $2, and only the game wrote to stdout.
expect_ran_in() {
    [ "$STATUS" -eq 0 ] || fail "$3: status $STATUS: $(cat "$ERR")"
    recorded "dir=$1" || fail "$3: the game ran in $(sed -n 's/^dir=//p' "$RECORD"), not $1"
    recorded "data=$2" || fail "$3: the game saw the $(sed -n 's/^data=//p' "$RECORD") data, not $2"
    [ "$(cat "$OUT")" = "game output" ] || fail "$3: the script wrote to standard output"
}
expect_not_ran() {
    [ "$STATUS" -ne 0 ] || fail "$1: the script succeeded"
    [ -e "$RECORD" ] && fail "$1: the game was started"
    [ -s "$ERR" ] || fail "$1: no message on standard error"
    [ -s "$OUT" ] && fail "$1: the script wrote to standard output"
}

# --help and --version only print: the game runs where the script was started, and no save
# folder is made for it.
for options in --version --help "--fullscreen --help" --version=x; do
    # shellcheck disable=SC2086 # the options are words
    run -- "$PROGRAM" "$BUILD/data" $options
    recorded "dir=$WORK" || fail "$options: the game did not run where the script was started"
    [ -e "$WORK/home/.local" ] && fail "$options made the save folder"
done

# Where the folder is: ~/.local/share/quarrox unless XDG_DATA_HOME is an absolute path.
DEFAULT="$WORK/home/.local/share/quarrox"
run -- "$PROGRAM" "$BUILD/data" --music=off "two words" ""
expect_ran_in "$DEFAULT" build "XDG_DATA_HOME unset"
[ "$(grep '^arg=' "$RECORD")" = $'arg=--music=off\narg=two words\narg=' ] ||
    fail "the game's options did not pass through unchanged: $(grep '^arg=' "$RECORD")"
[ "$(stat -c %a "$DEFAULT")" = 700 ] || fail "the save folder is not private to the player"
[ "$(readlink "$DEFAULT/data")" = "$BUILD/data" ] || fail "the data link is not absolute"
[ -s "$ERR" ] && fail "a first start said something: $(cat "$ERR")"
run XDG_DATA_HOME= -- "$PROGRAM" "$BUILD/data"
expect_ran_in "$DEFAULT" build "XDG_DATA_HOME empty"
run XDG_DATA_HOME=relative/share -- "$PROGRAM" "$BUILD/data"
expect_ran_in "$DEFAULT" build "XDG_DATA_HOME relative"
[ -e "$WORK/relative" ] && fail "a relative XDG_DATA_HOME was used"
run XDG_DATA_HOME="$WORK/xdg" -- "$PROGRAM" "$BUILD/data"
expect_ran_in "$WORK/xdg/quarrox" build "XDG_DATA_HOME absolute"
run -u HOME -- "$PROGRAM" "$BUILD/data"
expect_not_ran "no HOME and no XDG_DATA_HOME"

# A recording named from where the player is still names it once the game runs elsewhere.
run -- "$PROGRAM" "$BUILD/data" --replay "best game.qxr" --replay=sub/x.qxr --replay /abs.qxr
expect_ran_in "$DEFAULT" build "--replay"
[ "$(grep '^arg=' "$RECORD")" = "arg=--replay
arg=$WORK/best game.qxr
arg=--replay=$WORK/sub/x.qxr
arg=--replay
arg=/abs.qxr" ] || fail "the recordings were not named from the root: $(grep '^arg=' "$RECORD")"

# The game's exit status is the script's.
run GAME_STATUS=3 -- "$PROGRAM" "$BUILD/data"
[ "$STATUS" -eq 3 ] || fail "the game's status 3 came back as $STATUS"

# The link follows whichever program starts: an installation after a build, then the build
# again, then after the linked folder has gone.
run -- "$PROGRAM" "$INSTALLED"
expect_ran_in "$DEFAULT" installed "installed data after the build's"
run -- "$PROGRAM" "$BUILD/data"
expect_ran_in "$DEFAULT" build "the build's data after the installed"
mv "$BUILD/data" "$BUILD/data.moved"
run -- "$PROGRAM" "$BUILD/data"
expect_not_ran "no data folder"
mv "$BUILD/data.moved" "$BUILD/data"
ln -sfn "$WORK/gone" "$DEFAULT/data"
run -- "$PROGRAM" "$BUILD/data"
expect_ran_in "$DEFAULT" build "a dangling data link"
for left in "$DEFAULT"/.data.link.*; do
    [ -L "$left" ] && fail "a temporary link was left behind: $left"
done

# An older build's state file moves into the folder once, and is then the folder's.
STATE="$DEFAULT/.travikstate"
echo "scores of old" >"$BUILD/.travikstate"
run -- --move-state-from "$BUILD" "$PROGRAM" "$BUILD/data"
expect_ran_in "$DEFAULT" build "moving the old state"
[ "$(cat "$STATE" 2>/dev/null)" = "scores of old" ] || fail "the old state file was not moved"
[ -e "$BUILD/.travikstate" ] && fail "the old state file is still in the build folder"
grep -q "moved" "$ERR" || fail "the move was not mentioned"
run -- --move-state-from "$BUILD" "$PROGRAM" "$BUILD/data"
expect_ran_in "$DEFAULT" build "after the move"
[ -s "$ERR" ] && fail "a start after the move said something: $(cat "$ERR")"

# A state file in both places: the folder's is kept, the build's stays, and that is said once.
echo "scores of new build" >"$BUILD/.travikstate"
run -- --move-state-from "$BUILD" "$PROGRAM" "$BUILD/data"
expect_ran_in "$DEFAULT" build "two state files"
[ "$(cat "$STATE")" = "scores of old" ] || fail "the player's state file was replaced"
[ "$(cat "$BUILD/.travikstate")" = "scores of new build" ] || fail "the build's state file changed"
grep -q "$BUILD/.travikstate" "$ERR" || fail "the state file left in the build was not named"
run -- --move-state-from "$BUILD" "$PROGRAM" "$BUILD/data"
[ -s "$ERR" ] && fail "the state file left in the build was mentioned twice"
[ "$(cat "$STATE")" = "scores of old" ] || fail "the player's state file was replaced later"

# A real data folder is the player's: it stays, with its files, and the game uses it. Anything
# else in the link's place stops the start with a message and stays too.
rm "$DEFAULT/data"
mkdir "$DEFAULT/data"
echo own >"$DEFAULT/data/which"
run -- "$PROGRAM" "$BUILD/data"
expect_ran_in "$DEFAULT" own "a real data folder"
[ -L "$DEFAULT/data" ] && fail "the real data folder was replaced by a link"
grep -q "$DEFAULT/data" "$ERR" || fail "using the real data folder was not mentioned"
# Installed with the prefix ~/.local, the installation's data folder is the save folder's own.
run -- "$PROGRAM" "$DEFAULT/data"
expect_ran_in "$DEFAULT" own "installed into the save folder's parent"
[ -s "$ERR" ] && fail "data in its own place was mentioned: $(cat "$ERR")"
rm -r "$DEFAULT/data"
echo "notes" >"$DEFAULT/data"
run -- "$PROGRAM" "$BUILD/data"
expect_not_ran "a file named data"
[ "$(cat "$DEFAULT/data")" = notes ] || fail "the file named data was changed"

# A save folder that cannot be made stops the start with a message.
run XDG_DATA_HOME="$DEFAULT/data" -- "$PROGRAM" "$BUILD/data"
expect_not_ran "a file where the save folder should be"

# scripts/play.sh: the set-up's output goes to standard error with the script's own, the game
# runs in the save folder on build/data, and build/.travikstate moves there.
TREE="$WORK/tree"
mkdir -p "$TREE/scripts" "$TREE/packaging"
cp "$SOURCE/scripts/play.sh" "$TREE/scripts/"
cp "$RUN_SCRIPT" "$TREE/packaging/"
printf 'echo "set-up done"\n' >"$TREE/scripts/setup.sh"
mv "$BUILD" "$TREE/build"
echo "scores of the tree" >"$TREE/build/.travikstate"
PLAY_HOME="$WORK/play home"
PLAY_SAVES="$PLAY_HOME/.local/share/quarrox"
RUN_SCRIPT="$TREE/scripts/play.sh"
run HOME="$PLAY_HOME" -- --music=off
expect_ran_in "$PLAY_SAVES" build "scripts/play.sh"
recorded "arg=--music=off" || fail "scripts/play.sh did not pass its options on"
grep -q "set-up done" "$ERR" || fail "the set-up's output did not go to standard error"
[ "$(cat "$PLAY_SAVES/.travikstate" 2>/dev/null)" = "scores of the tree" ] ||
    fail "scripts/play.sh did not move build/.travikstate"
echo "PASS"
