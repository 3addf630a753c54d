#!/usr/bin/env bash
# Usage: scripts/fuzz.sh [SECONDS]
# Installs what is missing, builds the libFuzzer targets of tests/fuzz with clang into build-fuzz,
# and runs each for SECONDS (default 60) on a copy of its seeds in tests/fuzz/corpus/<target>.
# tests/fuzz/<target>.options may add libFuzzer flags, one a line. Fails when any target finds a
# crash; its input is kept in build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build_dir=build-fuzz
findings="$PWD/$build_dir/findings"

bash scripts/install-deps.sh
# Debug keeps Qt's own assertions on; -O1 keeps the fuzzing fast.
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DLUMISERA_FUZZ=ON >/dev/null
cmake --build "$build_dir" --target lumisera_fuzzers --parallel "$(nproc)"

# The corpus grows while fuzzing: only copies of the committed seeds are handed over.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/tmp"
export TMPDIR="$scratch/tmp" # what a crashed target leaves (its private home) goes with the rest
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for seeds in tests/fuzz/corpus/*/; do
    target=$(basename "$seeds")
    binary="$PWD/$build_dir/tests/fuzz/$target"
    work="$scratch/$target"
    options=()
    if [ -f "tests/fuzz/$target.options" ]; then
        mapfile -t options < <(grep -Ev '^(#|$)' "tests/fuzz/$target.options")
    fi
    mkdir -p "$work" "$findings/$target"
    cp -R "$seeds" "$work/corpus"
    echo "== $target (${seconds} s)"
    if (cd "$work" && "$binary" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$findings/$target/" "${options[@]}" corpus >log 2>&1); then
        grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' \
            "$work/log" || true
    else
        failed+=("$target")
        tail -n 60 "$work/log"
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing found crashes in: ${failed[*]} (inputs in $findings/)" >&2
    exit 1
fi
echo "No crash in $seconds s per target."
