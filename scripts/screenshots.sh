#!/usr/bin/env bash
# The README's screenshots of the window, light and dark, taken under Xvfb with a small window
# manager, into docs/screenshots/ (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
out=$(realpath -m "${1:-docs/screenshots}")
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1000x700x24" sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    QT_LOGGING_RULES="com.morvenda.Journey*=false" DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
        DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent "$0" "$1"' \
    "${BUILD_DIR:-build}/tests/ui/screenshot-tour" "$out"
ls "$out"
