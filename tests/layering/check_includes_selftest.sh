#!/usr/bin/env bash
# Proves that the layering check catches each kind of wrong include on its own, and accepts a
# tree whose includes all point down. Every case is a small source tree of its own.
# Usage: check_includes_selftest.sh CHECK_SCRIPT
set -uo pipefail

CHECK="$1"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
failures=0

# A tree that follows the rules: each layer includes itself and lower layers in every form the
# compiler accepts, system headers come in angle brackets, and the entry includes the top.
make_clean_tree() {
    local src="$1"
    mkdir -p "$src"/{runtime,host,devices,framework,game,music}
    printf '#pragma once\n#include <string.h>\n' >"$src/runtime/string.h"
    printf '#include "string.h"\n#include "runtime/string.h"\n' >"$src/runtime/string.cpp"
    printf '#include "../runtime/string.h"\n#include <GLFW/glfw3.h>\n' >"$src/host/game.h"
    printf '#include <host/game.h>\n  #  include "runtime/string.h"\n' >"$src/devices/graphics.h"
    printf '#include "devices/graphics.h"\n' >"$src/framework/app.h"
    printf '#include "framework/app.h"\n' >"$src/game/my_app.h"
    printf '#include "framework/app.h"\n' >"$src/music/player.h"
    printf '#include "game/my_app.h"\n#include "music/player.h"\n' >"$src/main.cpp"
}

# Runs the check on a clean tree changed by the given shell command, and checks that it fails
# (or passes, for "pass") and names the expected file.
expect() {
    local want="$1" case_name="$2" file="$3" change="$4"
    local src="$WORK/$case_name/src"
    make_clean_tree "$src"
    (cd "$src" && eval "$change")
    local out status=0
    out="$(bash "$CHECK" "$src" 2>&1)" || status=$?
    if [ "$want" = pass ] && [ "$status" -ne 0 ]; then
        echo "FAIL $case_name: a clean tree was rejected:"$'\n'"$out"
        failures=$((failures + 1))
    elif [ "$want" = fail ] && { [ "$status" -eq 0 ] || ! grep -qF "$file" <<<"$out"; }; then
        echo "FAIL $case_name: expected a complaint about $file, got status $status:"$'\n'"$out"
        failures=$((failures + 1))
    else
        echo "ok   $case_name"
    fi
}

expect pass clean "" ":"
expect fail runtime_includes_host runtime/string.cpp \
    'echo "#include \"host/game.h\"" >>runtime/string.cpp'
expect fail host_includes_framework_relatively host/game.h \
    'echo "#include \"../framework/app.h\"" >>host/game.h'
expect fail host_includes_devices_in_brackets host/game.h \
    'echo "#include <devices/graphics.h>" >>host/game.h'
expect fail devices_includes_framework devices/graphics.h \
    'echo "#include \"framework/app.h\"" >>devices/graphics.h'
expect pass game_includes_music "" \
    'echo "#include \"music/player.h\"" >>game/my_app.h'
expect fail music_includes_game music/player.h \
    'echo "#include \"game/my_app.h\"" >>music/player.h'
expect fail quoted_system_header framework/app.h \
    'echo "#include \"stb_image.h\"" >>framework/app.h'
expect fail missing_header game/my_app.h \
    'echo "#include \"game/gone.h\"" >>game/my_app.h'
expect fail escape_from_src host/game.h \
    'mkdir ../tests && touch ../tests/a.h && echo "#include \"../../tests/a.h\"" >>host/game.h'
expect fail unknown_layer gadgets/x.cpp \
    'mkdir gadgets && echo "#include \"runtime/string.h\"" >gadgets/x.cpp'
expect fail right_line_number "runtime/string.cpp:3:" \
    'echo "#include \"game/my_app.h\"" >>runtime/string.cpp'

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }
echo "all cases passed"
