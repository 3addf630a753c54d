#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lumisera's window. Arguments go to the window;
# the command-line companion is build/src/cli/lumisera-vault.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh
exec "${BUILD_DIR:-build}/src/app/lumisera" "$@"
