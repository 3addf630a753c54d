#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lumisera.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh
exec "${BUILD_DIR:-build}/src/cli/lumisera-vault" "${@:---help}"
