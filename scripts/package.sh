#!/usr/bin/env bash
# Builds the Debian package from a fresh build of its own (Release, no tests, no benchmarks) in
# ${BUILD_DIR:-build-package}/ and prints the folder that holds lumisera_<version>_<arch>.deb (the
# build's own output goes to standard error).
# LUMISERA_WERROR=ON makes warnings errors, as .ci/run does.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build-package}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
rm -rf "$build_dir"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DLUMISERA_BUILD_TESTS=OFF -DLUMISERA_BUILD_BENCHMARKS=OFF \
    -DLUMISERA_WERROR="${LUMISERA_WERROR:-OFF}" "${launcher[@]}" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" >&2
(cd "$build_dir" && cpack -G DEB -B "$PWD/dist" >/dev/null)
rm -rf "$build_dir/dist/_CPack_Packages"
echo "$(realpath "$build_dir/dist")"
