#!/usr/bin/env bash
# Lumisera's window under a headless Weston: it starts natively on Wayland, shows its first frame
# and quits; a second start hands its activation token to the running one and exits 0; the
# running one quits cleanly on SIGTERM. A screenshot of the main screen is kept (first argument, or
# the scratch folder). Exits non-zero when a check fails. Runs in a private home.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v weston >/dev/null || bash scripts/install-deps.sh
program=$(realpath -m "${LUMISERA:-${BUILD_DIR:-build}/src/app/lumisera}")
[ -x "$program" ] || bash scripts/build.sh >/dev/null
scratch=$(mktemp -d "${TMPDIR:-/tmp}/lumisera-wayland.XXXXXX")
shot=$(realpath -m "${1:-$scratch/wayland-main.png}")

export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# No desktop buses: the passcode store and the phase watch say so and go on.
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent
export WAYLAND_DISPLAY=lumisera-check QT_QPA_PLATFORM=wayland
unset DISPLAY XDG_ACTIVATION_TOKEN DESKTOP_STARTUP_ID

failures=0
ok() { echo "ok: $*"; }
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
weston_pid=
first_pid=
cleanup() {
    [ -z "$first_pid" ] || kill "$first_pid" 2>/dev/null || true
    [ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# --debug lets weston-screenshooter take the picture; pixman draws without a GPU.
weston --backend=headless-backend.so --use-pixman --debug --idle-time=0 --width=1024 --height=700 \
    --socket="$WAYLAND_DISPLAY" >"$scratch/weston.log" 2>&1 &
weston_pid=$!
wait_for 10 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || {
    cat "$scratch/weston.log"
    fail "weston did not start"
    exit 1
}
ok "headless weston on $WAYLAND_DISPLAY"

# 1. Start, first frame, quit.
if frame=$(timeout 60 "$program" --quit-after-first-frame 2>"$scratch/first-frame.log") && [ -n "$frame" ]; then
    ok "started on Wayland, drew its first frame and quit (exit 0)"
else
    fail "start with --quit-after-first-frame (see $scratch/first-frame.log)"
fi

# 2. The running window, a second start, and a clean quit.
WAYLAND_DEBUG=1 QT_LOGGING_RULES="com.morvenda.Journey*=true" "$program" >"$scratch/first.log" 2>&1 &
first_pid=$!
if wait_for 60 grep -q 'xdg_surface@[0-9]*\.ack_configure' "$scratch/first.log"; then
    ok "window mapped (xdg_toplevel configured)"
else
    fail "window never mapped (see $scratch/first.log)"
fi
sleep 1 # the first frame after the configure
(cd "$scratch" && weston-screenshooter >/dev/null 2>&1) || true
picture=$(find "$scratch" -maxdepth 1 -name 'wayland-screenshot-*.png' | head -n 1)
if [ -n "$picture" ] && [ "$(convert "$picture" -format '%[fx:standard_deviation>0.02]' info:)" = 1 ]; then
    mkdir -p "$(dirname "$shot")"
    mv "$picture" "$shot"
    ok "screenshot: $shot"
else
    fail "no screenshot, or a blank one"
fi

token="lumisera-check-$$"
if XDG_ACTIVATION_TOKEN="$token" timeout 20 "$program" >"$scratch/second.log" 2>&1; then
    ok "second start answered by the running one and exited 0"
else
    fail "second start (see $scratch/second.log)"
fi
if wait_for 10 grep -q 'raiseWindow: with an activation token' "$scratch/first.log"; then
    ok "the running window was asked to raise, with the second start's token"
else
    fail "the running window never got the raise request with a token"
fi
if grep -q '"xdg_activation_v1"' "$scratch/first.log"; then
    if grep -q "xdg_activation_v1@[0-9]*\.activate(\"$token\"" "$scratch/first.log"; then
        ok "the token went to the compositor (xdg_activation_v1.activate)"
    else
        fail "the compositor offers xdg_activation_v1 but the token never went to it"
    fi
else
    echo "note: this weston offers no xdg_activation_v1; the token reached the window, raising is the compositor's"
fi

kill -TERM "$first_pid"
status=0
wait "$first_pid" || status=$?
first_pid=
if [ "$status" -eq 0 ] && [ ! -e "$XDG_RUNTIME_DIR/lumisera-instance/lumisera.lock" ]; then
    ok "quit cleanly on SIGTERM (exit 0, instance lock released)"
else
    fail "quit on SIGTERM: exit $status"
fi
if grep -Eq 'connection broke|Segmentation|Aborted' "$scratch/first.log"; then
    fail "the window's log shows a broken connection or a crash"
fi

echo "logs: $scratch"
[ "$failures" -eq 0 ] || {
    echo "$failures check(s) failed"
    exit 1
}
echo "all Wayland checks passed"
