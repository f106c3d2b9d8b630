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

# One awk pass over every source: the include lines are read where they stand, and a header's
# existence is probed by opening it, so the check costs one process however large the tree.
find "$SRC" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | tr '\0' '\n' |
    awk -v q="'" -v src="$SRC" -v table="$LAYER_TABLE" '
    function report(text) { print text > "/dev/stderr"; problems++ }

    function exists(path,    line, status) {
        status = (getline line < path)
        close(path)
        return status >= 0
    }

    # The path with "." and ".." folders resolved, as the compiler would find it.
    function normalised(path,    parts, n, i, kept, k, out) {
        n = split(path, parts, "/")
        k = 0
        for (i = 1; i <= n; i++) {
            if (parts[i] == "" || parts[i] == ".") continue
            if (parts[i] == "..") { if (k > 0) k--; continue }
            kept[++k] = parts[i]
        }
        out = ""
        for (i = 1; i <= k; i++) out = out "/" kept[i]
        return out
    }

    # The layer of a path below src/: its first folder there ("" for a file directly in src/ and
    # for a path outside src/, which is never a layer).
    function layer_of(path,    rel) {
        if (index(path, src "/") != 1) return ""
        rel = substr(path, length(src) + 2)
        if (index(rel, "/") == 0) return ""
        return substr(rel, 1, index(rel, "/") - 1)
    }

    # The layer whose header an include names, or "" when it names no header of a layer.
    function included_layer(file, name, delim,    first, target, dir, layer) {
        first = (index(name, "/") ? substr(name, 1, index(name, "/") - 1) : "")
        target = ""
        if (first != "" && (first in allowed) && exists(src "/" name)) {
            target = src "/" name
        } else if (delim == "\"") {
            dir = file
            sub(/\/[^\/]*$/, "", dir)
            if (exists(dir "/" name)) target = normalised(dir "/" name)
        }
        if (target == "") return ""
        layer = layer_of(target)
        return (layer in allowed) ? layer : ""
    }

    BEGIN {
        rows = split(table, lines, "\n")
        for (i = 1; i <= rows; i++) {
            if (split(lines[i], words, " ") == 0) continue
            allowed[words[1]] = " "
            for (j = 2; j in words; j++) allowed[words[1]] = allowed[words[1]] words[j] " "
        }
        include_line = "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<][^\">]+[\">]"
    }

    {
        file = $0
        files++
        rel = substr(file, length(src) + 2)
        layer = layer_of(file)
        if (layer != "" && !(layer in allowed)) {
            report(rel ": folder " q layer q " is not a known layer")
            next
        }
        lineno = 0
        while ((getline line < file) > 0) {
            lineno++
            if (line !~ include_line) continue
            includes++
            sub(/^[^"<]*/, "", line)
            delim = substr(line, 1, 1)
            name = substr(line, 2)
            sub(/[">].*$/, "", name)
            target = included_layer(file, name, delim)
            if (target == "") {
                if (delim == "\"")
                    report(rel ":" lineno ": \"" name "\" is not a header of a layer in src/")
            } else if (layer != "" && index(allowed[layer], " " target " ") == 0) {
                report(rel ":" lineno ": " layer " may not include " name " (" target ")")
            }
        }
        close(file)
    }

    END {
        if (problems) {
            print "layering: " problems " include(s) break the layer order" > "/dev/stderr"
            exit 1
        }
        print "layering: " includes + 0 " includes in " files + 0 " files point to their own or a lower layer"
    }'
