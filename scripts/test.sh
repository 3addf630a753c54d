#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. BUILD_DIR and LUMISERA_SANITIZE as in build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh

build_dir=${BUILD_DIR:-build}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime" "$scratch/keyring-data"
export XDG_RUNTIME_DIR="$scratch/runtime"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# The desktop keyring tests against a real Secret Service on a private session bus. The keyring
# needs a non-empty password, or it would prompt and refuse the write.
XDG_DATA_HOME="$scratch/keyring-data" LUMISERA_REQUIRE_SECRET_SERVICE=1 \
    dbus-run-session -- sh -c 'printf ci | gnome-keyring-daemon --unlock --components=secrets >/dev/null &&
        ctest --test-dir "$0" --output-on-failure -L keyring' "$build_dir"

ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)"
