#!/usr/bin/env bash
# Installs a package from scripts/package.sh on a bare Debian 12 and uses both programs there, as
# root: check-package-install.sh DEB [CHROOT] [SCREENSHOT.png]
# CHROOT (default /var/tmp/lumisera-bookworm) is made once with `debootstrap --variant=minbase
# bookworm` and kept bare: each run works on a copy of it. In the copy: `apt-get install ./DEB`,
# no library missing, `lumisera-vault --help` and `quote`, the passcode in a GNOME Keyring on a
# private session bus and folder completion from it, the window for a few seconds offscreen and
# under Xvfb (its screenshot saved to SCREENSHOT.png when given), the desktop entry validated.
set -euo pipefail

deb=$(realpath "$1")
base=${2:-/var/tmp/lumisera-bookworm}
screenshot=${3:-}
[ "$(id -u)" -eq 0 ] || { echo "check-package-install: run as root (chroot, mount)" >&2; exit 2; }

if [ ! -x "$base/bin/sh" ]; then
    command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
    debootstrap --variant=minbase bookworm "$base" http://deb.debian.org/debian
fi

root=$(mktemp -d /var/tmp/lumisera-install.XXXXXX)
cleanup() {
    for mount in dev/pts dev proc; do
        mountpoint -q "$root/$mount" && umount -l "$root/$mount"
    done
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT
cp -a "$base/." "$root/"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The same archive as the machine that built the package.
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/"
    : >"$root/etc/apt/sources.list"
fi
cp "$deb" "$root/tmp/"

step() { echo; echo "== $*"; }
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
as_user() { # a person's session: own home and runtime folder
    chroot --userspec=viewer:viewer "$root" /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
        HOME=/home/viewer XDG_RUNTIME_DIR=/run/user/1000 "$@"
}

step "apt-get install ./$(basename "$deb")"
in_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -q "/tmp/$(basename "$deb")" | tail -n 3
in_root dpkg-query -W -f='${Package} ${Version} installed\n' lumisera

step "libraries"
missing=$(in_root sh -c 'ldd /usr/bin/lumisera /usr/bin/lumisera-vault /usr/lib/*/lumisera/lumisera_media.so' |
    grep 'not found' || true)
[ -z "$missing" ] || { echo "missing libraries: $missing"; exit 1; }
echo "every library found"

in_root useradd --create-home --uid 1000 viewer
in_root install -d -m 700 -o viewer -g viewer /run/user/1000

step "lumisera-vault --help"
as_user lumisera-vault --help
step "lumisera-vault quote"
as_user lumisera-vault quote || echo "(exit status $?)"

step "the passcode in GNOME Keyring, and folder completion from it"
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -qq dbus-daemon bash-completion >/dev/null
as_user dbus-run-session -- sh -c '
    printf pass | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    printf "garden path 7\ngarden path 7\n" | lumisera-vault --passcode-stdin init
    echo "passcode-store: $(lumisera-vault passcode-store)"
    printf "garden path 7\n" | lumisera-vault --passcode-stdin mkdir "Tax 2026"
    echo "lumisera-vault ls T<Tab> offers: $(bash -c "
        source /usr/share/bash-completion/bash_completion
        source /usr/share/bash-completion/completions/lumisera-vault
        COMP_WORDS=(lumisera-vault ls T); COMP_CWORD=2; COMP_LINE=\"lumisera-vault ls T\"; COMP_POINT=19
        _lumisera_vault; echo \${COMPREPLY[*]}")"'

step "the window, offscreen, 5 s"
status=0
as_user env QT_QPA_PLATFORM=offscreen timeout 5 lumisera || status=$?
[ "$status" -eq 124 ] || { echo "lumisera ended early with status $status"; exit 1; }
echo "still running after 5 s"

step "the window under Xvfb"
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -qq xvfb xauth x11-apps >/dev/null
as_user xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
    lumisera & sleep 8
    xwd -root -silent >/tmp/lumisera.xwd
    kill $!'
if [ -n "$screenshot" ]; then
    convert "xwd:$root/tmp/lumisera.xwd" "$screenshot"
    echo "screenshot: $screenshot"
fi

step "desktop entry"
desktop=$root/usr/share/applications/com.morvenda.Lumisera.desktop
desktop-file-validate "$desktop" && echo "valid"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
in_root sh -c "command -v ${exec_line%% *}"
echo
echo "check-package-install: done"
