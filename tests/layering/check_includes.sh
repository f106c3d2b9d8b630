#!/usr/bin/env bash
# Checks that dependencies between the layers of src/ point one way: every project header that a
# source file includes belongs to its own layer or to one the table below allows. Files directly
# in src/ (the program entry) may include anything. Quoted includes must name a header in src/;
# angle-bracket includes are checked only when they start with a layer's folder.
# Usage: check_includes.sh SRC_DIR
set -uo pipefail

# layer       layers it may include
LAYER_TABLE="
runtime       runtime
host          runtime host
devices       runtime host devices
framework     runtime host devices framework
music         runtime host devices framework music
game          runtime host devices framework music game
"

SRC="$(cd "${1:?usage: check_includes.sh SRC_DIR}" && pwd)"
# An include line, split into its delimiter (" or <) and the name it includes.
INCLUDE='[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]+)[">]'
problems=0
files=0
includes=0

report() {
    echo "$1" >&2
    problems=$((problems + 1))
}

# ALLOWED[layer] holds the layers that layer may include.
declare -A ALLOWED
while read -r layer allowed; do
    [ -n "$layer" ] && ALLOWED[$layer]="$allowed"
done <<<"$LAYER_TABLE"

is_layer() {
    [ -n "$1" ] && [ -n "${ALLOWED[$1]+set}" ]
}

may_include() {
    [[ " ${ALLOWED[$1]} " == *" $2 "* ]]
}

# The layer of a path below src/: its first folder there ("" for a file directly in src/ and
# for a path outside src/, which is never a layer).
layer_of() {
    local rel="${1#"$SRC"/}"
    [[ "$rel" == */* ]] && echo "${rel%%/*}"
}

# The layer whose header an include names, or nothing when it names no header of a layer.
# Arguments: the including file, the include's text, its delimiter (" or <).
included_layer() {
    local file="$1" name="$2" delim="$3"
    local first="${name%%/*}"
    local target=""
    if [[ "$name" == */* ]] && is_layer "$first" && [ -f "$SRC/$name" ]; then
        target="$SRC/$name"
    elif [ "$delim" = '"' ] && [ -f "$(dirname "$file")/$name" ]; then
        target="$(realpath "$(dirname "$file")/$name")"
    fi
    [ -n "$target" ] || return 0
    local layer
    layer="$(layer_of "$target")"
    is_layer "$layer" && echo "$layer"
}

check_file() {
    local file="$1"
    local rel="${file#"$SRC"/}"
    local layer
    layer="$(layer_of "$file")"
    if [ -n "$layer" ] && ! is_layer "$layer"; then
        report "$rel: folder '$layer' is not a known layer"
        return
    fi
    local lineno delim name target
    while IFS=$'\t' read -r lineno delim name; do
        includes=$((includes + 1))
        target="$(included_layer "$file" "$name" "$delim")"
        if [ -z "$target" ]; then
            [ "$delim" = '"' ] &&
                report "$rel:$lineno: \"$name\" is not a header of a layer in src/"
        elif [ -n "$layer" ] && ! may_include "$layer" "$target"; then
            report "$rel:$lineno: $layer may not include $name ($target)"
        fi
    done < <(grep -nE "^$INCLUDE" "$file" | sed -E "s/^([0-9]+):$INCLUDE.*/\\1\t\\2\t\\3/")
}

main() {
    local file
    while IFS= read -r -d '' file; do
        files=$((files + 1))
        check_file "$file"
    done < <(find "$SRC" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
    if [ "$problems" -ne 0 ]; then
        echo "layering: $problems include(s) break the layer order" >&2
        exit 1
    fi
    echo "layering: $includes includes in $files files point to their own or a lower layer"
}

main
