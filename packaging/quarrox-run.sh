#!/usr/bin/env bash
# Starts the game in the player's save folder, so that options and highscores outlive a rebuild
# or a reinstall:
#
#   quarrox-run.sh [--move-state-from FOLDER] PROGRAM DATA_FOLDER [GAME_OPTION...]
#
# The game keeps its state file "./.travikstate" in its working directory and reads "./data/".
# The save folder is $XDG_DATA_HOME/quarrox, or ~/.local/share/quarrox when XDG_DATA_HOME is
# unset, empty or relative (a relative one is ignored, as the XDG base directory rules say).
# Its "data" is a symbolic link to DATA_FOLDER, pointed there again at every start: a player
# who runs both a build and an installation always gets the data of the program started.
# A real "data" folder there is used as it is, never deleted: it is the player's own, or the
# installed data itself when the game was installed with the prefix ~/.local.
#
# --move-state-from FOLDER moves FOLDER/.travikstate (where older builds kept it) into the
# save folder, once; it never replaces a state file already there.
#
# Everything this script says goes to standard error; the game's own output is left alone.
set -euo pipefail

say() {
    echo "quarrox: $*" >&2
}

die() {
    say "$*"
    exit 1
}

# The save folder, by the XDG base directory rules.
save_folder() {
    local base
    case "${XDG_DATA_HOME:-}" in
        /*) base="$XDG_DATA_HOME" ;;
        *)
            [ -n "${HOME:-}" ] || die "HOME is not set, so there is no folder to keep saves in"
            base="$HOME/.local/share"
            ;;
    esac
    echo "$base/quarrox"
}

# Creates the folder (and any missing folders above it) readable by the player alone.
make_save_folder() {
    local folder="$1"
    [ -d "$folder" ] || (umask 077 && mkdir -p -- "$folder") 2>/dev/null ||
        die "cannot create the save folder $folder"
    [ -w "$folder" ] || die "cannot write to the save folder $folder"
}

# Points FOLDER/data at DATA. The new link is made beside the old one and renamed over it, so
# a game starting at the same moment sees either link, never none.
link_data() {
    local folder="$1" data="$2"
    local link="$folder/data"
    if [ -d "$link" ] && [ ! -L "$link" ]; then
        # An installation whose data folder is this very folder (prefix ~/.local) needs no link.
        [ "$link" -ef "$data" ] && return 0
        say "$link is a folder, not a link, so the game uses it rather than $data"
        return 0
    fi
    if [ -e "$link" ] && [ ! -L "$link" ]; then
        die "$link is in the way of the game's data; move it elsewhere"
    fi
    [ -L "$link" ] && [ "$(readlink -- "$link")" = "$data" ] && return 0
    local fresh="$folder/.data.link.$$"
    rm -f -- "$fresh"
    if ! ln -s -- "$data" "$fresh" || ! mv -f -T -- "$fresh" "$link"; then
        rm -f -- "$fresh"
        die "cannot link $link to $data"
    fi
}

# Moves OLD_FOLDER/.travikstate into the save folder when the save folder has none. When both
# exist the save folder's is the one kept; the other is left where it is, and mentioned once
# (the save folder remembers which files it has mentioned).
move_old_state() {
    local folder="$1"
    local old new="$folder/.travikstate"
    old="$(cd -- "$2" 2>/dev/null && pwd)/.travikstate" || return 0
    [ -e "$old" ] || [ -L "$old" ] || return 0
    if [ ! -e "$new" ] && [ ! -L "$new" ]; then
        # -n: a state file that appears meanwhile (another start) is never replaced.
        mv -n -- "$old" "$new" 2>/dev/null || true
        if [ ! -e "$old" ] && [ ! -L "$old" ]; then
            say "moved the saved state $old to $new"
            return 0
        fi
        [ -e "$new" ] || die "cannot move the saved state $old to $new"
    fi
    local noticed="$folder/.old-state-noticed"
    grep -qxF -- "$old" "$noticed" 2>/dev/null && return 0
    say "keeping the saved state in $new; the older $old is left as it is"
    echo "$old" >>"$noticed" 2>/dev/null || true
}

# Path $1 from the root: as it is when it starts with "/", else from the current folder.
absolute() {
    case "$1" in
        /* | "") echo "$1" ;;
        *) echo "$PWD/$1" ;;
    esac
}

main() {
    local old_folder=""
    if [ "${1:-}" = "--move-state-from" ]; then
        [ "$#" -ge 2 ] || die "--move-state-from needs a folder"
        old_folder="$2"
        shift 2
    fi
    [ "$#" -ge 2 ] ||
        die "usage: quarrox-run.sh [--move-state-from FOLDER] PROGRAM DATA_FOLDER [GAME_OPTION...]"
    local program="$1" data="$2"
    shift 2

    [ -x "$program" ] || die "no game program at $program"
    # With --help or --version the game only prints and ends (so it does after a bad option
    # before them): it never plays, and nothing is made for it.
    local option
    for option in "$@"; do
        case "$option" in
            --help | --help=* | --version | --version=*) exec "$program" "$@" ;;
        esac
    done
    [ -d "$data" ] || die "no game data at $data"
    # Absolute paths: the game runs in another folder, and the link must not depend on where
    # this script was started.
    program="$(cd -- "$(dirname -- "$program")" && pwd)/$(basename -- "$program")"
    data="$(cd -- "$data" && pwd)"

    local folder
    folder="$(save_folder)"
    make_save_folder "$folder"
    link_data "$folder" "$data"
    [ -z "$old_folder" ] || move_old_state "$folder" "$old_folder"

    # The game runs in the save folder: a recording named relative to where the player is
    # must be named from the root.
    local -a options=()
    local expect_file=0
    for option in "$@"; do
        if [ "$expect_file" -eq 1 ]; then
            option="$(absolute "$option")"
            expect_file=0
        elif [ "$option" = --replay ]; then
            expect_file=1
        elif [[ "$option" == --replay=* ]]; then
            option="--replay=$(absolute "${option#--replay=}")"
        fi
        options+=("$option")
    done

    cd -- "$folder"
    exec "$program" "${options[@]}"
}

main "$@"
