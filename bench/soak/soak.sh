#!/usr/bin/env bash
# An open folder collection under OPERATIONS (2000) adds and as many deletes through the storage
# pool: open descriptors, threads, inotify watches and resident memory at rest before and after,
# and the memory every 250 operations. Fails when a count does not come back or the memory grows by
# more than 20 MiB. Takes a few minutes, 70 s of it waiting for idle pool threads to end.
#   BUILD_DIR=build OPERATIONS=2000 bench/soak/soak.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

build_dir=${BUILD_DIR:-build}
bench="$build_dir/bench/soak/soak-bench"
[ -x "$bench" ] || cmake -S . -B "$build_dir" -DLUMISERA_BUILD_BENCHMARKS=ON >/dev/null && cmake --build "$build_dir" --target soak-bench

# The program makes its own private home under TMPDIR, with the passcode in memory.
exec "$bench" "${OPERATIONS:-2000}"
