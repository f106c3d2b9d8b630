#!/usr/bin/env bash
# A player's machine has only the [play] packages of scripts/packages.txt. This configures a
# scratch build with the test packages out of CMake's sight and builds the game and its data
# folder there, then checks the package list against the files that build really read (headers,
# libraries, tools, as dpkg knows their owners):
#   - no [test] package is read by the game's build (it would fail on a player's machine);
#   - every [play] package is read, itself or, for a metapackage, through a package it depends
#     on, so a player installs nothing the game does not need;
#   - no test tool (virtual X server, test libraries, fuzzing compiler...) is in the play set.
# The scratch build is kept between runs: every run configures it afresh, as a player's machine
# would, and ninja rebuilds only what changed, so a second run costs about a second and still
# checks everything against what the build read (ninja's record of every compile's headers).
# Arguments: the source folder, the cmake program, and the scratch folder.
set -uo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ $# -eq 3 ] && [ -n "$3" ] || fail "usage: play_packages_test.sh SOURCE CMAKE SCRATCH_FOLDER"
SOURCE="$(cd "$1" && pwd)"
CMAKE="$2"
SCRATCH="$3"

command -v dpkg-query >/dev/null || fail "dpkg-query is missing: the package list is for Debian"

mapfile -t play < <(bash "$SOURCE/scripts/setup.sh" --list --play)
mapfile -t all < <(bash "$SOURCE/scripts/setup.sh" --list)
[ "${#play[@]}" -gt 0 ] || fail "the package list has no [play] packages"
mapfile -t test_only < <(printf '%s\n' "${all[@]}" | grep -vxF -f <(printf '%s\n' "${play[@]}"))
[ "${#test_only[@]}" -gt 0 ] || fail "the package list has no [test] packages"

# Tools and libraries only the tests use.
test_tool='^(xvfb|xauth|xdotool|x11-utils|imagemagick.*|sox|vorbis-tools|desktop-file-utils|libgtest-dev|googletest|libgmock-dev|libbenchmark-dev|libx11-dev|clang.*|libclang.*|llvm.*|gdb|valgrind)$'
bad="$(printf '%s\n' "${play[@]}" | grep -E "$test_tool")" &&
    fail "test tools in the play set: $bad"

# The game's build with GoogleTest, Google Benchmark and Xlib hidden, as on a player's machine.
# The cache goes first (as cmake --fresh would), so no package lookup of an earlier run is taken
# on trust and no option left in the folder can bring the tests back; the compiled objects and
# ninja's records stay, and unchanged compile commands are not run again.
# The flags are cheaper than the player's -O2 -g but read the same files: -O1 still defines
# __OPTIMIZE__, which decides which of glibc's inline headers are read (-O0 reads fewer), and
# NDEBUG stays. The asset generator this build runs is about a fifth slower at -O1, far less than
# the compile saves.
mkdir -p "$SCRATCH"
rm -rf "$SCRATCH/CMakeCache.txt" "$SCRATCH/CMakeFiles"
LOG="$SCRATCH/../play_build.log"
flags="-O1 -g0 -DNDEBUG"
if ! "$CMAKE" -S "$SOURCE" -B "$SCRATCH" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_X11=ON >"$LOG" 2>&1; then
    tail -n 30 "$LOG"
    fail "the build does not configure without the test packages"
fi
[ "$(grep -c 'without the tests and benchmarks' "$LOG")" -eq 1 ] ||
    fail "configuring did not say once that the tests are left out: $(cat "$LOG")"
ninja -C "$SCRATCH" -t targets all | grep -q '^runtime_tests:' &&
    fail "the tests are in a build without GoogleTest"
if ! ninja -C "$SCRATCH" -j"$(nproc)" quarrox quarrox_data quarrox_icons >>"$LOG" 2>&1; then
    grep -A 20 '^FAILED' "$LOG" | head -n 40
    fail "the game does not build with the play packages alone"
fi
[ -x "$SCRATCH/quarrox" ] && [ -f "$SCRATCH/data/.generated" ] &&
    [ -f "$SCRATCH/icons/.generated" ] || fail "the build made no program, data folder or icons"

# The files the build read: every header of every compile (ninja's record, brought up to date
# by every rebuild; it leaves out the objects of sources removed since), the libraries the links
# name, and the tools (with each link on the way to the real file, as alternatives and
# versioned names are owned by different packages).
used="$SCRATCH/used_files"
cxx="$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$SCRATCH/CMakeCache.txt")"
{
    ninja -C "$SCRATCH" -t deps | awk '/^    \// { print $1 }'
    ninja -C "$SCRATCH" -t commands quarrox quarrox_assetgen | grep -- ' -o ' | tr ' ' '\n' |
        while read -r word; do
            case "$word" in
                /*.so | /*.so.* | /*.a) echo "$word" ;;
                -l*) "$cxx" -print-file-name="lib${word#-l}.so" ;;
            esac
        done
    for tool in "$cxx" "$(sed -n 's/^CMAKE_C_COMPILER:[A-Z]*=//p' "$SCRATCH/CMakeCache.txt")" \
        "$CMAKE" "$(command -v ninja)" \
        "$(sed -n 's/^PKG_CONFIG_EXECUTABLE:[A-Z]*=//p' "$SCRATCH/CMakeCache.txt")"; do
        while [ -n "$tool" ]; do
            echo "$tool"
            [ -L "$tool" ] || break
            next="$(readlink "$tool")"
            case "$next" in /*) tool="$next" ;; *) tool="$(dirname "$tool")/$next" ;; esac
        done
    done
} | grep '^/' | grep -v -e "^$SOURCE/" -e "^$SCRATCH/" | xargs -r realpath -s | sort -u >"$used"
[ "$(wc -l <"$used")" -gt 50 ] || fail "too few files read by the build to judge: $(cat "$used")"

# Their packages: "pkg[:arch][, pkg...]: path" from dpkg; files of no package are left out.
owners="$(xargs -r dpkg-query -S <"$used" 2>/dev/null | sed 's/: \/.*//; s/, /\n/g; s/:[a-z0-9]*$//' |
    sed 's/:[a-z0-9]*$//' | sort -u)"
[ -n "$owners" ] || fail "dpkg knows none of the files the build read"

for pkg in "${test_only[@]}"; do
    if grep -qxF "$pkg" <<<"$owners"; then
        fail "the game's build reads files of the test package $pkg:" \
            "$(dpkg-query -L "$pkg" 2>/dev/null | grep -xF -f "$used" | head -n 3 | tr '\n' ' ')"
    fi
done

# A package's direct dependencies, by name.
depends() {
    dpkg-query -W -f='${Depends}, ${Pre-Depends}\n' "$1" 2>/dev/null |
        tr ',|' '\n\n' | sed 's/([^)]*)//; s/:[a-z0-9]*//; s/[[:space:]]//g' | grep -v '^$' | sort -u
}
# Whether a package holds nothing but documentation and such under /usr/share: a metapackage
# (build-essential) or a transitional name (pkg-config), needed for what it depends on.
is_metapackage() {
    local files
    files="$(dpkg-query -L "$1" 2>/dev/null | grep -vE '^(/\.|/usr|/usr/share(/.*)?|)$')"
    [ -z "$files" ]
}
for pkg in "${play[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q ' installed$' ||
        fail "the play package $pkg is not installed; run scripts/setup.sh"
    grep -qxF "$pkg" <<<"$owners" && continue
    is_metapackage "$pkg" && depends "$pkg" | grep -qxF -f - <(echo "$owners") && continue
    fail "the play package $pkg is not needed to build the game"
done

echo "PASS: ${#play[@]} play packages, ${#test_only[@]} test packages"
