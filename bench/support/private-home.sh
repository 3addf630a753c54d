# Sourced by the benchmark scripts: a private home in a scratch folder ($scratch) that goes when
# the script ends, so that nothing touches the real one. No keyring takes part: the passcode goes
# to the credentials file. The scratch folder is on disk (TMPDIR, else /var/tmp), not in memory,
# so that flushes reach a device; SCRATCH_NAME names it.
scratch=$(mktemp -d "${TMPDIR:-/var/tmp}/${SCRATCH_NAME:-lumisera-bench}.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
export XDG_RUNTIME_DIR="$scratch/runtime"
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
