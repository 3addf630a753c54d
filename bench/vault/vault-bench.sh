#!/usr/bin/env bash
# lumisera-vault against openssl and ls, in a private home. Usage: vault-bench.sh PATH/TO/lumisera-vault
# SIZE_MIB (default 512) and FILES (default 10000) change the sizes. Prints the times and ratios.
set -euo pipefail
vault=$(realpath "${1:?usage: vault-bench.sh PATH/TO/lumisera-vault}")
size_mib=${SIZE_MIB:-512}
files=${FILES:-10000}

SCRATCH_NAME=lumisera-vault-bench
# shellcheck source=bench/support/private-home.sh
source "$(dirname "$0")/../support/private-home.sh"

passcode=benchmark42
key=$(printf '%s' "$passcode" | od -An -tx1 | tr -d ' \n')
key=$(printf '%-32s' "$key" | tr ' ' 0)
iv=00000000000000000000000000000000
v() { printf '%s\n' "$passcode" | "$vault" --passcode-stdin "$@"; }

# Seconds (wall clock) of the command given, best of three.
best_of_3() {
    local best="" t
    for _ in 1 2 3; do
        "${reset:-true}"
        local start=$(date +%s.%N)
        "$@" >/dev/null
        t=$(echo "$(date +%s.%N) - $start" | bc)
        if [[ -z $best ]] || (( $(echo "$t < $best" | bc) )); then best=$t; fi
    done
    echo "$best"
}
ratio() { echo "scale=3; $1 / $2" | bc; }

printf '%s\n%s\n' "$passcode" "$passcode" | "$vault" --passcode-stdin init
v mkdir Big >/dev/null
docs="$XDG_DATA_HOME/Morvenda/Lumisera/Documents"

echo "== ${size_mib} MiB file =="
head -c $((size_mib * 1024 * 1024)) /dev/urandom > "$scratch/big.bin"
remove_stored() { find "$docs/Big" -type f -delete; rm -f "$scratch/big.out" "$scratch/openssl.enc" "$scratch/openssl.dec"; }

reset=remove_stored
t_add=$(best_of_3 v add Big "$scratch/big.bin")
t_enc=$(best_of_3 openssl enc -aes-128-cbc -K "$key" -iv "$iv" -in "$scratch/big.bin" -out "$scratch/openssl.enc")
echo "add  ${t_add}s   openssl enc    ${t_enc}s   ratio $(ratio "$t_add" "$t_enc")"

v add Big "$scratch/big.bin" >/dev/null
openssl enc -aes-128-cbc -K "$key" -iv "$iv" -in "$scratch/big.bin" -out "$scratch/openssl.enc"
remove_outputs() { rm -f "$scratch/big.out" "$scratch/openssl.dec"; }
reset=remove_outputs
t_get=$(best_of_3 v get Big big.bin -o "$scratch/big.out")
t_dec=$(best_of_3 openssl enc -d -aes-128-cbc -K "$key" -iv "$iv" -in "$scratch/openssl.enc" -out "$scratch/openssl.dec")
echo "get  ${t_get}s   openssl enc -d ${t_dec}s   ratio $(ratio "$t_get" "$t_dec")"
v get Big big.bin -o "$scratch/big.out" && cmp "$scratch/big.bin" "$scratch/big.out" && echo "round trip: identical"
rm -f "$scratch/big.bin" "$scratch/big.out" "$scratch/openssl.enc" "$scratch/openssl.dec"
v rmdir Big --yes

echo "== folder of ${files} files =="
v mkdir Many >/dev/null
mkdir "$scratch/many"
for i in $(seq 1 "$files"); do printf 'x' > "$scratch/many/note$i.txt"; done
(cd "$scratch/many" && ls | xargs printf "$scratch/many/%s\n" | xargs -d '\n' -n 2000 sh -c \
    'printf "%s\n" "$0" | "$1" --passcode-stdin add Many "$@" >/dev/null' "$passcode" "$vault")
reset=true
t_ls=$(best_of_3 v ls Many)
t_lsl=$(best_of_3 ls -l "$docs/Many")
t_root=$(best_of_3 v ls)
echo "ls FOLDER ${t_ls}s   ls -l ${t_lsl}s   ratio $(ratio "$t_ls" "$t_lsl")"
echo "fixed cost of one command (ls of the root): ${t_root}s"
echo "listed: $(v ls Many | wc -l) names"
if command -v perf >/dev/null && perf stat -e task-clock true >/dev/null 2>&1; then
    echo "== where ls FOLDER spends its time (perf, top symbols) =="
    printf '%s\n' "$passcode" > "$scratch/pass"
    perf record -q -g -o "$scratch/perf.data" -- "$vault" --passcode-stdin ls Many <"$scratch/pass" >/dev/null 2>&1
    perf report -q -i "$scratch/perf.data" --no-children -g none --percent-limit 1.5 --sort dso,symbol 2>/dev/null | grep -v "^$" | sed -E "s/[[:space:]]+(-[[:space:]]+)*$//" | head -25
fi
