#!/usr/bin/env bash
# Times FileEncryptor::processFile (through encryptor-bench) against `openssl enc` on the same
# 512 MiB file, both directions, in one run. The two alternate for ROUNDS rounds; the median of
# each is printed with the ratio processFile / openssl. Checks that both give the same bytes.
#   BUILD_DIR=build SIZE_MIB=512 ROUNDS=3 bench/encryptor.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build}
size_mib=${SIZE_MIB:-512}
rounds=${ROUNDS:-3}
bench="$build_dir/bench/encryptor-bench"
[ -x "$bench" ] || cmake -S . -B "$build_dir" -DLUMISERA_BUILD_BENCHMARKS=ON >/dev/null && cmake --build "$build_dir" --target encryptor-bench

scratch=$(mktemp -d "${TMPDIR:-/var/tmp}/lumisera-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

passcode="benchmark passcode"
# The key as openssl wants it: the passcode's UTF-8 bytes cut or zero-padded to 16, in hex.
key=$(printf %s "$passcode" | head -c 16 | od -An -v -tx1 | tr -d ' \n')
key=$(printf '%-32s' "$key" | tr ' ' 0)
iv=00000000000000000000000000000000

head -c "$((size_mib * 1024 * 1024))" /dev/urandom >"$scratch/plain"
openssl enc -aes-128-cbc -K "$key" -iv "$iv" -in "$scratch/plain" -out "$scratch/cipher"

seconds() { # runs "$@", prints its wall time in seconds
    local start end
    sync
    start=$(date +%s.%N)
    "$@"
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
median() { printf '%s\n' "$@" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

for direction in encrypt decrypt; do
    if [ "$direction" = encrypt ]; then input=$scratch/plain; flag=(); else input=$scratch/cipher; flag=(-d); fi
    ours=() theirs=()
    for _ in $(seq "$rounds"); do
        ours+=("$(seconds "$bench" "$direction" "$input" "$scratch/ours" "$passcode")")
        theirs+=("$(seconds openssl enc -aes-128-cbc "${flag[@]}" -K "$key" -iv "$iv" -in "$input" -out "$scratch/theirs")")
        cmp -s "$scratch/ours" "$scratch/theirs" || { echo "outputs differ ($direction)" >&2; exit 1; }
    done
    a=$(median "${ours[@]}")
    b=$(median "${theirs[@]}")
    printf '%s %d MiB: processFile %.3f s, openssl enc %.3f s, ratio %.3f (median of %d)\n' \
        "$direction" "$size_mib" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { print a / b }')" "$rounds"
done
