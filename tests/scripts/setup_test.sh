#!/usr/bin/env bash
# scripts/setup.sh against stand-ins for cmake, ninja, apt-get and id, so nothing is built or
# installed: the package list's [play] and [test] parts; the play set-up's configure step (no
# test options, and none at all once configured), its targets and jobs, its progress lines and
# its failure report; the full set-up asking for the tests; apt-get kept quiet unless the install
# fails, a failed update only warned about, and the command to run as root when there is no sudo.
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
# apt-get: APT_STUB=fail makes the install fail, =update-fails the update (as one stale source
# does); either way it says a lot first.
cat >"$STUBS/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >>"$CALLS"
for ((i = 0; i < 40; i++)); do echo "Reading package lists... $i"; done
if [ "$1" = install ] && [ "${APT_STUB:-}" = fail ]; then
    echo "E: Unable to locate package quarrox-no-such-package" >&2
    exit 100
fi
if [ "$1" = update ] && [ "${APT_STUB:-}" = update-fails ]; then
    echo "E: The repository 'https://stale.example.org bookworm Release' does not have a Release file." >&2
    exit 100
fi
EOF
# id: root unless STUB_UID says otherwise, whoever runs the test.
cat >"$STUBS/id" <<'EOF'
#!/bin/sh
echo "${STUB_UID:-0}"
EOF
# A PATH with no sudo at all, even where one is installed: the stand-ins and the few real
# commands the set-up runs before it installs.
NO_SUDO="$WORK/no_sudo"
mkdir -p "$NO_SUDO"
for tool in bash dirname awk dpkg-query grep; do
    ln -s "$(command -v "$tool")" "$NO_SUDO/$tool"
done
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

[package]
dpkg

[test]
  # indented comment
grep
EOF
setup -- --list --play
expect_ok "--list --play"
[ "$(cat "$OUT")" = $'bash\ncoreutils' ] || fail "the play set was: $(cat "$OUT")"
setup -- --list --package
expect_ok "--list --package"
[ "$(cat "$OUT")" = $'bash\ncoreutils\ndpkg' ] || fail "the package set was: $(cat "$OUT")"
setup -- --list
expect_ok "--list"
[ "$(cat "$OUT")" = $'bash\ncoreutils\ndpkg\ngrep' ] || fail "the full set was: $(cat "$OUT")"
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

# The package set-up builds the game's targets and the manual page, and leaves CMake alone too.
setup -- --package
expect_ok "package set-up"
grep -q '^cmake' "$CALLS" && fail "the package set-up configured again: $(cat "$CALLS")"
grep -q '^ninja .* quarrox_icons quarrox_docs$' "$CALLS" ||
    fail "the package build's targets: $(grep '^ninja' "$CALLS")"

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

# apt-get, run directly for root: quiet when it works, its words shown when the install fails.
printf '[play]\nbash\nquarrox-no-such-package\nquarrox-other-package\n' >"$TREE/scripts/packages.txt"
setup -- --play
expect_ok "an install that works"
grep -q '^apt-get install .*quarrox-no-such-package quarrox-other-package' "$CALLS" ||
    fail "the missing packages were not installed: $(cat "$CALLS")"
grep -q 'apt-get install .* bash' "$CALLS" && fail "an installed package was installed again"
cat "$OUT" "$ERR" | grep -q 'Reading package lists' && fail "apt-get's output was shown: $(cat "$ERR")"
setup APT_STUB=fail -- --play
expect_failed "an install that fails"
grep -q "Unable to locate package" "$ERR" || fail "apt-get's error was not shown: $(cat "$ERR")"
grep -q '^ninja' "$CALLS" && fail "the build ran after a failed install"

# A failed update is a warning that names the kept log; the install and the build go on.
setup APT_STUB=update-fails -- --play
expect_ok "an update that fails"
grep -q '^apt-get install ' "$CALLS" || fail "nothing was installed after a failed update: $(cat "$CALLS")"
grep -q '^ninja' "$CALLS" || fail "the build did not run after a failed update"
grep -q 'package lists may be old' "$ERR" || fail "no warning for the failed update: $(cat "$ERR")"
apt_log="$(sed -n "s/^setup: apt-get's output is kept in //p" "$ERR")"
[ -n "$apt_log" ] && grep -q 'does not have a Release file' "$apt_log" ||
    fail "the warning names no log with the update's error: $(cat "$ERR")"
grep -q -e 'Reading package lists' -e 'Release file' "$ERR" && fail "apt-get's output was shown: $(cat "$ERR")"

# Neither root nor sudo: the exact command to run as root, and nothing installed or built.
setup STUB_UID=1000 PATH="$STUBS:$NO_SUDO" -- --play
expect_failed "no root and no sudo"
grep -qxF "su -l -c 'apt-get update; apt-get install -y --no-install-recommends quarrox-no-such-package quarrox-other-package'" "$ERR" ||
    fail "no command to run as root: $(cat "$ERR")"
grep -q 'as root' "$ERR" || fail "the message does not say to run it as root: $(cat "$ERR")"
[ ! -s "$CALLS" ] || fail "something ran without root or sudo: $(cat "$CALLS")"
echo "PASS"
