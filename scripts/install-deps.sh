#!/usr/bin/env bash
# Installs the Debian 12 packages Lumisera builds and runs with; does nothing when all are there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config dbus-daemon dbus-x11 openssl bc
    qt6-base-dev qt6-base-dev-tools qt6-pdf-dev qt6-multimedia-dev qt6-image-formats-plugins
    qt6-l10n-tools qt6-translations-l10n qt6-tools-dev qtkeychain-qt6-dev libssl-dev libxkbcommon-dev libheif-dev
    libx11-dev libxss-dev libwayland-dev wayland-protocols
    gnome-keyring libsecret-1-0 libsecret-tools imagemagick desktop-file-utils
    qt6-wayland weston xvfb xauth openbox at-spi2-core
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
    clang clang-format libclang-rt-14-dev
    appstream desktop-file-utils bash-completion man-db
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
