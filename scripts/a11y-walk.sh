#!/usr/bin/env bash
# A keyboard-only walk through every screen, heard through AT-SPI: the window runs under Xvfb with
# openbox and a private session bus (the accessibility bus starts on it), in a throw-away home;
# scripts/a11y-walk.py presses the keys with xdotool and prints what the bus reports at each step.
# Usage: scripts/a11y-walk.sh [output file]   (BUILD_DIR picks the build, default build/)
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
for tool in xvfb-run:xvfb openbox:openbox xdotool:xdotool dbus-daemon:dbus at-spi-bus-launcher:at-spi2-core; do
    command -v "${tool%%:*}" >/dev/null 2>&1 || [ -x "/usr/libexec/${tool%%:*}" ] || need+=("${tool##*:}")
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || need+=(python3-pyatspi)
if [ ${#need[@]} -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

binary=$(realpath "${BUILD_DIR:-build}/src/app/lumisera")
out=$(realpath -m "${1:-/dev/stdout}")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/lumisera-a11y.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/run" "$scratch/services"
chmod 700 "$scratch/run"
# Pictures and documents for the import, in the home the file dialog opens.
/usr/bin/python3 - "$scratch/home" <<'PY'
import sys, zlib, struct
home = sys.argv[1]
def png(width, height, rgb):
    raw = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) + \
        chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
open(home + "/beach.png", "wb").write(png(64, 48, (40, 120, 200)))
open(home + "/Notes.txt", "w").write("Leave the keys with Ana on Friday.\n")
open(home + "/Invoice.pdf", "wb").write(b"%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n"
    b"2 0 obj<</Type/Pages/Kids[3 0 R]/Count 1>>endobj\n3 0 obj<</Type/Page/Parent 2 0 R/MediaBox[0 0 200 200]>>endobj\n"
    b"trailer<</Root 1 0 R>>\n%%EOF\n")
PY
# Only the accessibility bus may be started on the private bus: no keyring prompt, no portal.
cp /usr/share/dbus-1/services/org.a11y.Bus.service "$scratch/services/"
cat > "$scratch/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>session</type><listen>unix:tmpdir=$scratch</listen><auth>EXTERNAL</auth>
<servicedir>$scratch/services</servicedir>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow receive_sender="*"/><allow own="*"/></policy></busconfig>
CONF

export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_LOGGING_RULES="com.morvenda.Journey*=false"
xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session --config-file="$scratch/bus.conf" -- sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    "$0" >"$HOME/window.log" 2>&1 &
    window=$!
    /usr/bin/python3 "$1" "correct horse 42"
    kill "$window" 2>/dev/null || true' "$binary" "$PWD/scripts/a11y-walk.py" 2>"$scratch/errors" | grep -v "^SpiRegistry" >"$out" || { cat "$scratch/errors" >&2; exit 1; }
