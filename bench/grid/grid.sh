#!/usr/bin/env bash
# The folder screen over PICTURES (2000) pictures, LARGE (100) of them 12 megapixels and BOMBS (0)
# of them decompression bombs, under Xvfb: time to the first screenful of tiles, the longest stall
# of the main thread while scrolling to the bottom and back (target under 50 ms) and the peak
# resident memory (target under 1 GiB); every bomb must show the "cannot show" symbol.
# PREVIEWS (0) of the 12-megapixel ones carry the 160 × 120 preview a camera puts in the EXIF data;
# the time until every tile in view is sharp is reported beside the first screenful.
# Storing the pictures takes a minute or two (every picture 12 megapixels: a few GiB of disk).
# Needs xvfb-run (Debian: xvfb).
#   BUILD_DIR=build PICTURES=2000 LARGE=100 bench/grid/grid.sh
#   BUILD_DIR=build PICTURES=2000 LARGE=2000 BOMBS=20 bench/grid/grid.sh
#   BUILD_DIR=build PICTURES=1000 LARGE=1000 PREVIEWS=1000 bench/grid/grid.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

build_dir=${BUILD_DIR:-build}
bench="$build_dir/bench/grid/grid-bench"
[ -x "$bench" ] || cmake -S . -B "$build_dir" -DLUMISERA_BUILD_BENCHMARKS=ON >/dev/null && cmake --build "$build_dir" --target grid-bench

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
# No keyring takes part: the passcode is held in memory.
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
exec "$bench" "${PICTURES:-2000}" "${LARGE:-100}" "${BOMBS:-0}" "${PREVIEWS:-0}"
