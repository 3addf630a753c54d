#!/usr/bin/env bash
# Every benchmark in one go, against a release build in ${BUILD_DIR:-build-bench}: the encryptor
# against `openssl enc`, lumisera-vault against `openssl enc` and `ls -l`, and the image pipeline
# against plain decoding with its peak memory, and the window's start-up against a bare window. Each prints its times and ratios.
# Then an open folder under thousands of adds and deletes, and what the process holds after; the
# folder grid over 2,000 pictures, again with every picture of 12 megapixels and 20 of them
# decompression bombs, and the photo pager over 300 of 12 megapixels. Last, lumisera-vault check
# over 5,000 files.
set -euo pipefail
cd "$(dirname "$0")/.."

export BUILD_DIR=${BUILD_DIR:-build-bench}
bash scripts/install-deps.sh
BUILD_TYPE=Release bash scripts/build.sh >/dev/null

echo "### encryptor"
bash bench/encryptor.sh
echo "### lumisera-vault"
bash bench/vault/vault-bench.sh "$BUILD_DIR/src/cli/lumisera-vault"
echo "### image pipeline"
bash bench/images/images.sh
echo "### start-up"
bash bench/startup/startup.sh
DESKTOP=1 bash bench/startup/startup.sh
echo "### soak"
bash bench/soak/soak.sh
echo "### folder grid"
bash bench/grid/grid.sh
echo "### folder grid, every picture 12 megapixels, 20 of them bombs"
PICTURES=2000 LARGE=2000 BOMBS=20 bash bench/grid/grid.sh
echo "### photo pager"
bash bench/paging/paging.sh
echo "### lumisera-vault check over 5,000 files"
bash bench/check/check.sh "$BUILD_DIR/src/cli/lumisera-vault"
echo "### passcode change over 2 GiB of photos and videos"
bash bench/passcode/passcode-change.sh
