#!/usr/bin/env bash
# Times `lumisera-vault passcode change` against a shell loop with the same durability, on the
# same vault of mixed files: many 3-5 MiB photos and a few 200-500 MiB videos, SIZE_MIB in all
# (random bytes, encrypted with openssl). The loop re-encrypts each file with two `openssl enc`,
# flushes the new form (`sync FILE`) and renames it over the old one. Ours goes first (old ->
# new), the loop second (new -> old), then every file is checked against its plaintext's digest.
# Prints both throughputs in MiB/s and the ratio ours / loop. The data is deleted at the end.
#   BUILD_DIR=build SIZE_MIB=2048 bench/passcode/passcode-change.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

build_dir=${BUILD_DIR:-build}
size_mib=${SIZE_MIB:-2048}
vault="$build_dir/src/cli/lumisera-vault"
[ -x "$vault" ] || cmake --build "$build_dir" --target lumisera-vault

SCRATCH_NAME=lumisera-passcode-bench
# shellcheck source=bench/support/private-home.sh
source bench/support/private-home.sh

old="benchmark passcode 1"
new="another passcode 22"
hexkey() { # the passcode's UTF-8 bytes cut or zero-padded to 16, in hex
    local key
    key=$(printf %s "$1" | head -c 16 | od -An -v -tx1 | tr -d ' \n')
    printf '%-32s' "$key" | tr ' ' 0
}
old_key=$(hexkey "$old")
new_key=$(hexkey "$new")
iv=00000000000000000000000000000000

printf '%s\n%s\n' "$old" "$old" | "$vault" --passcode-stdin init
printf '%s\n' "$old" | "$vault" --passcode-stdin mkdir Photos >/dev/null
printf '%s\n' "$old" | "$vault" --passcode-stdin mkdir Videos >/dev/null
documents=$XDG_DATA_HOME/Morvenda/Lumisera/Documents

# Encrypts size MiB of random bytes into path, noting the plaintext's digest.
store() {
    local path=$1 size=$2
    head -c "$((size * 1024 * 1024))" /dev/urandom | tee >(sha256sum | sed "s|-|$path|" >>"$scratch/digests") |
        openssl enc -aes-128-cbc -K "$old_key" -iv "$iv" -out "$path"
}
: >"$scratch/digests"
total=0
for size in 480 300 220; do
    ((total + size <= size_mib / 2)) || break
    store "$documents/Videos/video$total" "$size"
    total=$((total + size))
done
photo=0
while ((total < size_mib)); do
    size=$((3 + RANDOM % 3))
    store "$documents/Photos/photo$photo" "$size"
    total=$((total + size))
    photo=$((photo + 1))
done
sleep 1 # the digests come from background pipes
files=$(find "$documents" -type f | wc -l)
bytes=$(du -sb "$documents" | cut -f1)
sync

seconds() { # runs "$@", prints its wall time in seconds
    local start end
    start=$(date +%s.%N)
    "$@"
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

ours() { printf '%s\n%s\n%s\n' "$old" "$new" "$new" | "$vault" --passcode-stdin passcode change >/dev/null; }
loop() {
    local file sibling
    find "$documents" -type f | while read -r file; do
        sibling="$(dirname "$file")/.rekey-$(basename "$file")"
        openssl enc -d -aes-128-cbc -K "$new_key" -iv "$iv" -in "$file" |
            openssl enc -e -aes-128-cbc -K "$old_key" -iv "$iv" >"$sibling" &&
            sync "$sibling" && mv "$sibling" "$file"
    done
}
check() { # every file opens with the passcode whose key is $1 and gives its plaintext back
    local path digest
    while read -r digest path; do
        [ "$(openssl enc -d -aes-128-cbc -K "$1" -iv "$iv" -in "$path" | sha256sum | cut -d' ' -f1)" = "$digest" ] ||
            { echo "$path does not open as it should" >&2; exit 1; }
    done <"$scratch/digests"
}

a=$(seconds ours)
check "$new_key"
b=$(seconds loop)
check "$old_key"
mib=$(awk -v b="$bytes" 'BEGIN { print b / 1048576 }')
printf '%d files, %.0f MiB: passcode change %.2f s (%.1f MiB/s), openssl loop %.2f s (%.1f MiB/s), ratio %.2f\n' \
    "$files" "$mib" "$a" "$(awk -v m="$mib" -v t="$a" 'BEGIN { print m / t }')" \
    "$b" "$(awk -v m="$mib" -v t="$b" 'BEGIN { print m / t }')" \
    "$(awk -v a="$a" -v b="$b" 'BEGIN { print b / a }')"
