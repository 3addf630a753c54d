#!/usr/bin/env bash
# Thumbnails of 12-megapixel JPEG pictures through the image pipeline (read, decrypt, decode,
# scale, cache) against QImageReader decoding the same plain pictures; then the peak resident
# memory while the thumbnails of COUNT such pictures are made on the storage pool (must stay
# under 1 GiB). Then grid tiles (280 pixels, scaled while decoding) against those thumbnails, the
# bytes a cached tile takes, and COUNT tiles through the tile queue.
#   BUILD_DIR=build ROUNDS=3 COUNT=200 bench/images/images.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

build_dir=${BUILD_DIR:-build}
rounds=${ROUNDS:-3}
count=${COUNT:-200}
bench="$build_dir/bench/images/image-bench"
[ -x "$bench" ] || cmake -S . -B "$build_dir" -DLUMISERA_BUILD_BENCHMARKS=ON >/dev/null && cmake --build "$build_dir" --target image-bench

scratch=$(mktemp -d "${TMPDIR:-/var/tmp}/lumisera-image-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export QT_LOGGING_RULES="com.morvenda.Journey*=false" QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data \
    XDG_CACHE_HOME=$scratch/cache XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

"$bench" generate "$scratch/pictures" "$count"
for _ in $(seq "$rounds"); do
    "$bench" speed "$scratch/pictures" 20
done
"$bench" memory "$scratch/pictures" "$count"
for _ in $(seq "$rounds"); do
    "$bench" tiles "$scratch/pictures" 20
done
"$bench" queue "$scratch/pictures" "$count"
