#!/usr/bin/env bash
# scripts/setup.sh against stand-ins for cmake, ninja and apt-get, so nothing is built or
# installed: the package list's [play] and [test] parts; the play set-up's configure step (no
# test options, and none at all once configured), its targets and jobs, its progress lines and
# its failure report; the full set-up asking for the tests; apt-get kept quiet unless it fails.
# Argument: the source folder.
set -uo pipefail

SOURCE="$(cd "$1" && pwd)"
WORK="$(mktemp -d /tmp/quarrox_setup_test_XXXXXX)"
trap 'rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

TREE="$WORK/tree"
STUBS="$WORK/stubs"
CALLS="$WORK/calls"
mkdir -p "$TREE/scripts" "$STUBS"
cp "$SOURCE/scripts/setup.sh" "$TREE/scripts/"

# Stand-ins, found first on PATH. cmake: records its arguments and writes a cache with the options it was given, as the real
# one would; CMAKE_STUB=fail makes it fail.
cat >"$STUBS/cmake" <<'EOF'
#!/usr/bin/env bash
echo "cmake $*" >>"$CALLS"
if [ "${CMAKE_STUB:-}" = fail ]; then
    echo "CMake Error at CMakeLists.txt:1: stand-in configure error" >&2
    exit 1
fi
while [ $# -gt 0 ]; do
    case "$1" in
        -B) build="$2"; shift ;;
        -D*) echo "${1#-D}" | sed 's/=/:STRING=/' >>"$WORK/options" ;;
    esac
    shift
done
mkdir -p "$build"
{ echo "CMAKE_GENERATOR:INTERNAL=Ninja"; cat "$WORK/options" 2>/dev/null; } >"$build/CMakeCache.txt"
rm -f "$WORK/options"
touch "$build/build.ninja"
echo "-- Configuring done"
EOF
# ninja: records its arguments; NINJA_STUB=steps prints 80 steps the way ninja does when its
# output is not a terminal, =fail fails at the third, anything else has no work.
cat >"$STUBS/ninja" <<'EOF'
#!/usr/bin/env bash
echo "ninja $*" >>"$CALLS"
echo "ninja: Entering directory \`build'"
echo "[0/2] Re-checking globbed directories..."
case "${NINJA_STUB:-}" in
    steps)
        for ((i = 1; i <= 80; i++)); do
            echo "${NINJA_STATUS:-[%f/%t] }" | sed "s|%f|$i|; s|%t|80|" | tr -d '\n'
            echo "Building CXX object step$i.o"
            echo "step$i.cpp:1: warning: a compiler remark"
        done
        ;;
    fail)
        echo "[1/80] Building CXX object one.o"
        echo "[2/80] Building CXX object two.o"
        echo "FAILED: src/three.o"
        echo "/usr/bin/c++ -c src/three.cpp -o src/three.o"
        echo "src/three.cpp:7:3: error: 'frobnicate' was not declared in this scope"
        echo "ninja: build stopped: subcommand failed."
        exit 1
        ;;
    *) echo "ninja: no work to do." ;;
esac
EOF
# apt-get: APT_STUB=fail makes the install fail; either way it says a lot first.
cat >"$STUBS/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >>"$CALLS"
for ((i = 0; i < 40; i++)); do echo "Reading package lists... $i"; done
if [ "$1" = install ] && [ "${APT_STUB:-}" = fail ]; then
    echo "E: Unable to locate package quarrox-no-such-package" >&2
    exit 100
fi
EOF
# nproc: a machine with more cores than this one may have, so "every core" is seen to be asked.
printf '#!/bin/sh\necho 7\n' >"$STUBS/nproc"
chmod +x "$STUBS"/*
export CALLS WORK
PATH="$STUBS:$PATH"

OUT="$WORK/stdout"
ERR="$WORK/stderr"
STATUS=0
# Runs the copied set-up with the given arguments; environment changes come before "--".
setup() {
    local -a env_args=()
    while [ "$1" != "--" ]; do
        env_args+=("$1")
        shift
    done
    shift
    rm -f "$CALLS"
    touch "$CALLS"
    STATUS=0
    env TMPDIR="$WORK" "${env_args[@]}" bash "$TREE/scripts/setup.sh" "$@" >"$OUT" 2>"$ERR" </dev/null ||
        STATUS=$?
}
expect_ok() {
    [ "$STATUS" -eq 0 ] || fail "$1: status $STATUS: $(cat "$ERR")"
}
expect_failed() {
    [ "$STATUS" -ne 0 ] || fail "$1: the set-up succeeded"
}

# The list's parts. Packages that are surely installed, so nothing is missing.
cat >"$TREE/scripts/packages.txt" <<'EOF'
# a comment before any part
[play]
bash   # the shell
coreutils

[test]
  # indented comment
grep
EOF
setup -- --list --play
expect_ok "--list --play"
[ "$(cat "$OUT")" = $'bash\ncoreutils' ] || fail "the play set was: $(cat "$OUT")"
setup -- --list
expect_ok "--list"
[ "$(cat "$OUT")" = $'bash\ncoreutils\ngrep' ] || fail "the full set was: $(cat "$OUT")"
[ ! -s "$CALLS" ] || fail "--list ran something: $(cat "$CALLS")"
setup -- --frobnicate
[ "$STATUS" -eq 2 ] || fail "an unknown option gave status $STATUS"

# A package under no heading, or an unknown heading, stops every mode before anything runs.
cp "$TREE/scripts/packages.txt" "$WORK/good_list"
printf 'sed\n[play]\nbash\n' >"$TREE/scripts/packages.txt"
setup -- --play
expect_failed "a package before any heading"
grep -q "packages.txt:1: sed is under no" "$ERR" || fail "no message for the stray package: $(cat "$ERR")"
[ ! -s "$CALLS" ] || fail "a broken list still ran: $(cat "$CALLS")"
printf '[play]\nbash\n[tests]\ngrep\n' >"$TREE/scripts/packages.txt"
setup -- --list
expect_failed "an unknown heading"
grep -q "packages.txt:3: unknown heading \[tests\]" "$ERR" ||
    fail "no message for the unknown heading: $(cat "$ERR")"
cp "$WORK/good_list" "$TREE/scripts/packages.txt"

# A first play set-up: configured without test options, then only the game's targets on every
# core, with a few lines of progress and none of the compiler's output.
setup NINJA_STUB=steps -- --play
expect_ok "first play set-up"
grep -q '^cmake .*-G Ninja' "$CALLS" || fail "the play set-up did not configure: $(cat "$CALLS")"
grep -q '^cmake .*QUARROX_BUILD' "$CALLS" && fail "the play set-up chose test options: $(cat "$CALLS")"
ninja_call="$(grep '^ninja ' "$CALLS")"
[[ " $ninja_call " == *" -j7 "* ]] || fail "ninja did not use every core: $ninja_call"
targets="$(tr ' ' '\n' <<<"$ninja_call" | grep -v -e '^-' -e '^ninja$' -e "^$TREE/build\$" | sort | tr '\n' ' ')"
[ "$targets" = "quarrox quarrox_data quarrox_icons " ] || fail "the play build's targets: $targets"
progress="$(grep -c '^Building Quarrox: ' "$ERR")"
[ "$progress" -ge 2 ] && [ "$progress" -le 6 ] ||
    fail "$progress progress lines instead of a few: $(cat "$ERR")"
grep -q '^Building Quarrox: 80/80$' "$ERR" || fail "the progress did not reach the end: $(cat "$ERR")"
grep -q -e 'step' -e 'warning' -e 'Entering' "$ERR" && fail "ninja's own output was shown: $(cat "$ERR")"
[ ! -s "$OUT" ] || fail "the play set-up wrote to standard output: $(cat "$OUT")"
grep -q 'warning: a compiler remark' "$TREE/build/build.log" || fail "the build log lost ninja's output"

# Once configured, a play set-up leaves CMake alone, and says nothing when all is built.
setup -- --play
expect_ok "second play set-up"
grep -q '^cmake' "$CALLS" && fail "a configured build was configured again: $(cat "$CALLS")"
[ ! -s "$ERR" ] || fail "an up-to-date play set-up said: $(cat "$ERR")"

# A failed build shows the failing command and the compiler's error, and fails.
setup NINJA_STUB=fail -- --play
expect_failed "a failed play build"
for line in "FAILED: src/three.o" "/usr/bin/c++ -c src/three.cpp -o src/three.o" \
    "error: 'frobnicate' was not declared" "build/build.log"; do
    grep -qF "$line" "$ERR" || fail "the failure report lacks \"$line\": $(cat "$ERR")"
done

# The full set-up asks for the tests and benchmarks (once), and a play set-up after it keeps
# that configuration.
setup -- 
expect_ok "full set-up after the play set-up"
grep -q '^cmake .*-DQUARROX_BUILD_TESTS=ON .*-DQUARROX_BUILD_BENCHMARKS=ON' "$CALLS" ||
    fail "the full set-up did not ask for the tests: $(cat "$CALLS")"
grep -qE '^ninja .* quarrox(_data|_icons)?( |$)' "$CALLS" && fail "the full set-up built only some targets: $(cat "$CALLS")"
setup -- 
expect_ok "second full set-up"
grep -q '^cmake' "$CALLS" && fail "the full set-up configured again: $(cat "$CALLS")"
setup -- --play
expect_ok "play set-up after the full one"
grep -q '^cmake' "$CALLS" && fail "the play set-up reconfigured the full build: $(cat "$CALLS")"

# A configure error is shown and stops the set-up.
rm -rf "$TREE/build"
setup CMAKE_STUB=fail -- --play
expect_failed "a failed configure"
grep -q "stand-in configure error" "$ERR" || fail "the configure error was not shown: $(cat "$ERR")"
grep -q '^ninja' "$CALLS" && fail "the build ran after a failed configure"

# apt-get, run directly when we are root: quiet when it works, its words shown when it fails.
if [ "$(id -u)" -eq 0 ]; then
    printf '[play]\nbash\nquarrox-no-such-package\n' >"$TREE/scripts/packages.txt"
    setup -- --play
    expect_ok "an install that works"
    grep -q '^apt-get install .*quarrox-no-such-package' "$CALLS" ||
        fail "the missing package was not installed: $(cat "$CALLS")"
    grep -q 'apt-get install .* bash' "$CALLS" && fail "an installed package was installed again"
    cat "$OUT" "$ERR" | grep -q 'Reading package lists' && fail "apt-get's output was shown: $(cat "$ERR")"
    setup APT_STUB=fail -- --play
    expect_failed "an install that fails"
    grep -q "Unable to locate package" "$ERR" || fail "apt-get's error was not shown: $(cat "$ERR")"
    grep -q '^ninja' "$CALLS" && fail "the build ran after a failed install"
else
    echo "not root: the apt-get part is left out (sudo would not run a stand-in)"
fi
echo "PASS"
