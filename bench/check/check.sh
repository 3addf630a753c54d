#!/usr/bin/env bash
# Times `lumisera-vault check` over a tree it builds in a private home. Usage:
#   check.sh PATH/TO/lumisera-vault
# FILES (default 5000) small files of 1 to 64 KiB in five folders, plus BIG (default 3) files of
# 64 MiB, to show that the check reads a few bytes per file whatever its size. Prints the best of
# three runs (warm cache) and the time per 1000 files, next to `find -type f -size +0` over the tree.
set -euo pipefail
vault=$(realpath "${1:?usage: check.sh PATH/TO/lumisera-vault}")
files=${FILES:-5000}
big=${BIG:-3}

SCRATCH_NAME=lumisera-check-bench
# shellcheck source=bench/support/private-home.sh
source "$(dirname "$0")/../support/private-home.sh"

passcode=benchmark42
v() { printf '%s\n' "$passcode" | "$vault" --passcode-stdin "$@"; }
printf '%s\n%s\n' "$passcode" "$passcode" | "$vault" --passcode-stdin init

best_of_3() {
    local best="" t
    for _ in 1 2 3; do
        local start
        start=$(date +%s.%N)
        "$@" >/dev/null || true
        t=$(echo "$(date +%s.%N) - $start" | bc)
        if [[ -z $best ]] || (( $(echo "$t < $best" | bc) )); then best=$t; fi
    done
    echo "$best"
}

echo "building $files files of 1-64 KiB and $big of 64 MiB…"
per_folder=$(( (files + 4) / 5 ))
made=0
for folder in 1 2 3 4 5; do
    v mkdir "Folder$folder" >/dev/null
    mkdir -p "$scratch/in$folder"
    for ((i = 0; i < per_folder && made < files; i++, made++)); do
        head -c $(( (RANDOM % 64 + 1) * 1024 )) /dev/urandom > "$scratch/in$folder/file$i.bin"
    done
    # shellcheck disable=SC2016 # expanded by the inner shell
    (cd "$scratch/in$folder" && find . -type f -name '*.bin' -print0 | xargs -0 -r -n 500 bash -c \
        'printf "%s\n" "$0" | "$1" --passcode-stdin add "$2" "${@:3}" >/dev/null' "$passcode" "$vault" "Folder$folder")
    rm -rf "$scratch/in$folder"
done
for ((i = 0; i < big; i++)); do
    head -c $((64 * 1024 * 1024)) /dev/urandom > "$scratch/big$i.bin"
    v add Folder1 "$scratch/big$i.bin" >/dev/null
    rm -f "$scratch/big$i.bin"
done
tree="$XDG_DATA_HOME/Morvenda/Lumisera/Documents"
stored=$(find "$tree" -type f ! -name '.*' | wc -l)
bytes=$(du -sb "$tree" | cut -f1)

v check --local >/dev/null && echo "check: nothing is wrong"
t_check=$(best_of_3 v check --local)
t_find=$(best_of_3 find "$tree" -type f -size +0)
echo "stored files ${stored} ($((bytes / 1024 / 1024)) MiB)"
echo "check ${t_check}s   find ${t_find}s   per 1000 files: $(echo "scale=3; $t_check * 1000 / $stored" | bc)s"
