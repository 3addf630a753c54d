#!/usr/bin/env bash
# The README's screenshots of the window, light and dark: the screen is photographed under Xvfb
# with a small window manager, then each picture is cut to the window and kept as a JPEG in
# docs/screenshots/ (or the folder given). The full-screen PNGs stay in a scratch folder.
# With LANGUAGE set to another language than English (LANGUAGE=de bash scripts/screenshots.sh
# docs/screenshots/de), the window speaks it and only the locked main screen and a folder of
# pictures are kept, light, as small PNGs: main-<language>.png and folder-<language>.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
out=$(realpath -m "${1:-docs/screenshots}")
raw=$(mktemp -d "${TMPDIR:-/tmp}/lumisera-screenshots.XXXXXX")
mkdir -p "$out"
language=${LANGUAGE:-}
language=${language%%:*}
language=${language%%[_.@-]*}
shots=
if [ -n "$language" ] && [ "$language" != en ] && [ "$language" != C ]; then
    shots=main-locked-light,folder-pictures-light
fi
export LUMISERA_TOUR_SHOTS=$shots
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    QT_LOGGING_RULES="com.morvenda.Journey*=false" DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
        DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent "$0" "$1"' \
    "${BUILD_DIR:-build}/scripts/screenshot-tour/screenshot-tour" "$raw"
for picture in "$raw"/*.png; do
    # The tour puts the window at (32, 24) with its frame, 960 x 680 inside.
    if [ -n "$shots" ]; then
        name=$(basename "$picture" .png)
        convert "$picture" -crop 960x704+32+4 +repage -resize 75% -colors 256 \
            "PNG8:$out/${name%%-*}-$language.png"
    else
        convert "$picture" -crop 960x704+32+4 +repage -resize 75% -quality 85 "$out/$(basename "${picture%.png}").jpg"
    fi
done
echo "full-screen pictures: $raw"
ls "$out"
