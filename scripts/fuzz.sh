#!/usr/bin/env bash
# Builds the fuzz targets of the file parsers in build-fuzz/ (clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for a while.
#
#   scripts/fuzz.sh [-t SECONDS] [TARGET ...]
#
# Targets: png_loader wav_reader ogg_reader string_load saved_state tune_image replay_reader
# (default: all), each for SECONDS seconds (default 15). A target grows its working corpus in
# build-fuzz/corpus/<target>, starting from the committed seeds in tests/fuzz/corpus/<target>
# and the inputs in tests/fuzz/regressions/<target>; a crashing input is written to
# build-fuzz/crashes/<target>/. The full log of each run is build-fuzz/logs/<target>.log.
#
# Prints one line per target (executions per second, coverage, features, crash or not) and a
# closing line "N targets passed, N failed". Exit status: 0 when no target crashed, 1 when one
# did, 2 when the build failed or the command line was wrong.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$ROOT/build-fuzz"
FUZZ_DIR="$ROOT/tests/fuzz"
JOBS=2
ALL_TARGETS=(png_loader wav_reader ogg_reader string_load saved_state tune_image replay_reader)

# Per-target limits: the longest input, the seconds one input may take before it counts as a
# hang, and the memory (MiB) the process may use. A few bytes can make the largest picture the
# host takes (16 megapixels, some seconds with the instrumentation); the tune target builds a
# picture of 64 frames from a short input; the text target's inputs are long enough to cross
# the 4096-byte reading blocks. A recording of ten hours without a change is under a hundred
# bytes and a quarter of a gigabyte of inputs, read, written and read back (seconds under the
# sanitizers).
max_len() {
    case "$1" in
        png_loader | ogg_reader) echo 16384 ;;
        string_load) echo 12288 ;;
        tune_image) echo 1024 ;;
        *) echo 4096 ;;
    esac
}
timeout_seconds() {
    case "$1" in
        png_loader | tune_image | replay_reader) echo 30 ;;
        *) echo 10 ;;
    esac
}
RSS_LIMIT_MB=2560

usage() {
    echo "usage: scripts/fuzz.sh [-t SECONDS] [TARGET ...]" >&2
    echo "targets: ${ALL_TARGETS[*]}" >&2
    exit 2
}

seconds=15
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        -t | --seconds)
            if [ $# -lt 2 ] || ! [[ "$2" =~ ^[1-9][0-9]*$ ]]; then usage; fi
            seconds="$2"
            shift 2
            ;;
        -h | --help) usage ;;
        -*) usage ;;
        *)
            if ! printf '%s\n' "${ALL_TARGETS[@]}" | grep -qxF "$1"; then
                echo "fuzz: no target named '$1'" >&2
                usage
            fi
            targets+=("$1")
            shift
            ;;
    esac
done
[ "${#targets[@]}" -eq 0 ] && targets=("${ALL_TARGETS[@]}")

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
    echo "fuzz: clang is missing; scripts/setup.sh installs it (clang, libclang-rt-14-dev)" >&2
    exit 2
fi

# Only the fuzz targets and what they link are built.
build() {
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUARROX_FUZZ=ON >/dev/null &&
        ninja -C "$BUILD_DIR" -j"$JOBS" fuzzers
}
echo "== building the fuzz targets in $BUILD_DIR"
mkdir -p "$BUILD_DIR/logs"
if ! build >"$BUILD_DIR/logs/build.log" 2>&1; then
    tail -n 30 "$BUILD_DIR/logs/build.log"
    echo "fuzz: the build failed; the whole output is in $BUILD_DIR/logs/build.log" >&2
    exit 2
fi

# Inputs that must be files go to a scratch folder of this run, removed at the end; in memory
# where possible, since most inputs are written to a file and read back.
scratch_base="${TMPDIR:-/tmp}"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm
scratch="$(mktemp -d "$scratch_base/quarrox-fuzz-run.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

# The value of "stat::<name>: value" in libFuzzer's closing statistics.
final_stat() { sed -n "s/^stat::$1:[[:space:]]*//p" "$2" | tail -n 1; }
# The value after "<name>: " in libFuzzer's latest status line.
status_field() { grep -E '^#[0-9]+' "$2" | tail -n 1 | sed -n "s/.* $1: \([0-9]*\).*/\1/p"; }

passed=0
failed=0
crashed_targets=()
for target in "${targets[@]}"; do
    corpus="$BUILD_DIR/corpus/$target"
    crashes="$BUILD_DIR/crashes/$target"
    log="$BUILD_DIR/logs/$target.log"
    mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
    seeds=("$FUZZ_DIR/corpus/$target")
    [ -d "$FUZZ_DIR/regressions/$target" ] && seeds+=("$FUZZ_DIR/regressions/$target")

    echo "== fuzzing $target for $seconds s"
    # The first folder is the working corpus, where new inputs go; the committed ones are only
    # read. Standard output is closed: the game prints its progress there for every input.
    TMPDIR="$scratch" "$BUILD_DIR/tests/fuzz/fuzz_$target" "$corpus" "${seeds[@]}" \
        -max_total_time="$seconds" -max_len="$(max_len "$target")" \
        -timeout="$(timeout_seconds "$target")" -rss_limit_mb="$RSS_LIMIT_MB" \
        -artifact_prefix="$crashes/" -print_final_stats=1 -close_fd_mask=1 >"$log" 2>&1
    status=$?

    execs="$(final_stat average_exec_per_sec "$log")"
    cov="$(status_field cov "$log")"
    ft="$(status_field ft "$log")"
    if [ "$status" -eq 0 ]; then
        result="no crash"
        passed=$((passed + 1))
    else
        artifact="$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)"
        result="CRASH (status $status): ${artifact:-see the log}"
        failed=$((failed + 1))
        crashed_targets+=("$target")
        grep -E 'ERROR|SUMMARY|fuzz check failed' "$log" | head -n 5
    fi
    printf '%-12s %8s exec/s  cov %-6s ft %-6s %s\n' "$target" "${execs:-?}" "${cov:-?}" \
        "${ft:-?}" "$result"
done

for target in "${crashed_targets[@]}"; do
    echo "fuzz: $target crashed; log in $BUILD_DIR/logs/$target.log. Once understood, copy the" \
        "crash file from $BUILD_DIR/crashes/$target/ into tests/fuzz/regressions/$target/ so" \
        "the replay test keeps checking it."
done
echo "$passed targets passed, $failed failed"
[ "$failed" -eq 0 ]
