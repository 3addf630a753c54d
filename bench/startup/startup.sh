#!/usr/bin/env bash
# Start-up time: from process start to the first painted frame of the window, under Xvfb, for
# lumisera against a bare Qt Widgets window built in the same tree; median of RUNS (10) each.
# Target: lumisera at most 1.3 times the bare window, both ways: bare (no session bus, so no
# keyring and no network take part) and DESKTOP=1, started as a desktop starts it (a session bus
# with an unlocked keyring, the accessibility bus, a window manager). Needs xvfb-run (Debian: xvfb),
# and for DESKTOP=1 gnome-keyring, at-spi2-core and openbox.
#   BUILD_DIR=build-bench RUNS=10 bench/startup/startup.sh
#   BUILD_DIR=build-bench RUNS=10 DESKTOP=1 bench/startup/startup.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

build_dir=${BUILD_DIR:-build}
runs=${RUNS:-10}
[ -x "$build_dir/src/app/lumisera" ] && [ -x "$build_dir/bench/startup/bare-window" ] ||
    cmake -S . -B "$build_dir" -DLUMISERA_BUILD_BENCHMARKS=ON >/dev/null && cmake --build "$build_dir" --target lumisera bare-window

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
if [ "${DESKTOP:-0}" = 1 ] && [ -z "${LUMISERA_BENCH_SESSION:-}" ]; then
    LUMISERA_BENCH_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

scratch=$(mktemp -d "${TMPDIR:-/var/tmp}/lumisera-startup-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_CACHE_HOME=$scratch/cache \
    XDG_RUNTIME_DIR=$scratch/runtime QT_LOGGING_RULES="com.morvenda.Journey*=false"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if [ "${DESKTOP:-0}" = 1 ]; then
    # The keyring unlocked with a password, as a login unlocks it; the accessibility bus up; a
    # window manager that maps and decorates the windows.
    printf bench | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    openbox >/dev/null 2>&1 &
    trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$scratch"' EXIT
    sleep 1
    mode="desktop (session bus, keyring, accessibility bus, window manager)"
else
    # No keyring and no network take part: start-up must not wait for either.
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$scratch/no-bus
    mode="bare (no session bus)"
fi

# Milliseconds from just before exec to the first painted frame the program reports.
time_one() {
    local start end
    start=$(date +%s%N)
    end=$("$@" --quit-after-first-frame | tail -n 1)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

time_one "$build_dir/bench/startup/bare-window" >/dev/null # warm the file cache
time_one "$build_dir/src/app/lumisera" >/dev/null
for _ in $(seq "$runs"); do
    time_one "$build_dir/bench/startup/bare-window" >>"$scratch/bare"
    time_one "$build_dir/src/app/lumisera" >>"$scratch/lumisera"
done
bare=$(median <"$scratch/bare")
lumisera=$(median <"$scratch/lumisera")
echo "$mode: first frame, median of $runs: lumisera ${lumisera} ms, bare window ${bare} ms," \
    "ratio $(echo "scale=2; $lumisera / $bare" | bc) (target <= 1.3)"
