#!/usr/bin/env bash
# Checks that no source file in src/ creates a collected object with the value-initialising forms
# `new T()` or `new T{}`. For a class without a user-provided default constructor they zero the
# whole object after the collector's allocation has written its header (list links, colour and
# size), which unlinks it from the collector's lists. Collected classes are the ones that derive,
# directly or through other classes, from gc_object; other classes may use either form.
# Usage: check_new_objects.sh SRC_DIR
set -uo pipefail

SRC="$(cd "${1:?usage: check_new_objects.sh SRC_DIR}" && pwd)"
IDENT='[A-Za-z_][A-Za-z0-9_]*'

mapfile -d '' FILES < <(find "$SRC" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ "${#FILES[@]}" -eq 0 ]; then
    echo "new-objects: no sources in $SRC" >&2
    exit 1
fi

# Every source with its // comments removed.
without_comments() {
    sed -E 's://.*$::' "$@"
}

# "Name Base1 Base2 ..." for every class or struct with a base list. The sources are read as one
# line so that a class head split over several lines is still seen whole; template arguments,
# access specifiers and qualifications are dropped from the bases.
class_bases() {
    without_comments "${FILES[@]}" | tr '\n' ' ' |
        grep -oE "(^|[^A-Za-z0-9_])(class|struct)[[:space:]]+$IDENT[[:space:]]*(final[[:space:]]*)?:[[:space:]]*[^:;{][^;{]*\{" |
        sed -E "s/^[^A-Za-z_]*(class|struct)[[:space:]]+($IDENT)[[:space:]]*(final[[:space:]]*)?:(.*)\{$/\2 \4/" |
        sed -E 's/<[^<>]*>//g; s/<[^<>]*>//g; s/\b(public|protected|private|virtual)\b//g; s/[A-Za-z0-9_]+:://g; s/,/ /g; s/[[:space:]]+/ /g'
}

# The collected classes: gc_object and everything that derives from one of them.
declare -A COLLECTED=([gc_object]=1)
mapfile -t DECLARATIONS < <(class_bases)
grew=1
while [ "$grew" -eq 1 ]; do
    grew=0
    for declaration in "${DECLARATIONS[@]}"; do
        read -r name bases <<<"$declaration"
        [ -n "${COLLECTED[$name]+set}" ] && continue
        for base in $bases; do
            if [ -n "${COLLECTED[$base]+set}" ]; then
                COLLECTED[$name]=1
                grew=1
                break
            fi
        done
    done
done

NAMES="$(printf '%s\n' "${!COLLECTED[@]}" | sort | paste -sd '|')"
# new, an optional placement argument, an optionally qualified collected class name, then empty
# parentheses or braces.
PATTERN="(^|[^A-Za-z0-9_])new[[:space:]]*(\([^()]*\)[[:space:]]*)?(::)?($IDENT[[:space:]]*::[[:space:]]*)*($NAMES)[[:space:]]*(\([[:space:]]*\)|\{[[:space:]]*\})"

problems=0
for file in "${FILES[@]}"; do
    while IFS= read -r hit; do
        echo "${file#"$SRC"/}:$hit: value-initialising new of a collected object; write new T" >&2
        problems=$((problems + 1))
    done < <(without_comments "$file" | grep -nE "$PATTERN" | cut -d: -f1)
done

if [ "$problems" -ne 0 ]; then
    echo "new-objects: $problems value-initialising new(s) of collected objects" >&2
    exit 1
fi
echo "new-objects: ${#COLLECTED[@]} collected classes in ${#FILES[@]} files, none created with new T() or new T{}"
