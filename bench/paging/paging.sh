#!/usr/bin/env bash
# The photo pager over PICTURES (300) pictures of 12 megapixels under Xvfb, paged with the Right
# arrow key from the first to the last: the time until each page is sharp (median and worst),
# the longest stall of the main thread (target under 50 ms) and the peak resident memory
# (target under 1.5 GiB). Paging takes 0.8 s a page, so about four minutes for 300.
# Needs xvfb-run (Debian: xvfb).
#   BUILD_DIR=build PICTURES=300 bench/paging/paging.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

build_dir=${BUILD_DIR:-build}
bench="$build_dir/bench/paging/paging-bench"
[ -x "$bench" ] || cmake -S . -B "$build_dir" -DLUMISERA_BUILD_BENCHMARKS=ON >/dev/null && cmake --build "$build_dir" --target paging-bench

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
# No keyring takes part: the passcode is held in memory.
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
exec "$bench" "${PICTURES:-300}"
