#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}. LUMISERA_SANITIZE=ON adds ASan and UBSan,
# LUMISERA_WERROR=ON makes warnings errors, LUMISERA_BUILD_BENCHMARKS=ON builds bench/ too.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja \
    -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    -DLUMISERA_SANITIZE="${LUMISERA_SANITIZE:-OFF}" \
    -DLUMISERA_WERROR="${LUMISERA_WERROR:-OFF}" \
    -DLUMISERA_BUILD_BENCHMARKS="${LUMISERA_BUILD_BENCHMARKS:-OFF}" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
