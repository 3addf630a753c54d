#!/usr/bin/env bash
# Checks the Debian package scripts/package.sh made: usage: check-package.sh DEB [BUILD_DIR]
# Its files are those of packaging/package-files.txt and those `cmake --install` puts into a
# DESTDIR; its description and metainfo speak of the quote viewer only; the metainfo and the
# desktop entry validate; the man page is clean and names every command and option the program's
# help names; bash completion offers them too. lintian, where installed, reports without failing.
set -euo pipefail
export LANGUAGE=en # the checks read the English help
cd "$(dirname "$0")/.."

deb=$(realpath "$1")
build_dir=${2:-build-package}
vault=$build_dir/src/cli/lumisera-vault
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "check-package: $*" >&2
    failures=$((failures + 1))
}

# The files, against the list and against an installation into a DESTDIR.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$scratch/package"
sed "s/@MULTIARCH@/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/" packaging/package-files.txt | sort >"$scratch/expected"
diff -u "$scratch/expected" "$scratch/package" >&2 || fail "the package's files differ from packaging/package-files.txt"
DESTDIR="$scratch/destdir" cmake --install "$build_dir" >/dev/null
(cd "$scratch/destdir" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$scratch/installed"
diff -u "$scratch/installed" "$scratch/package" >&2 || fail "the package's files differ from cmake --install's"

# What the system shows of the application: the daily-quote viewer, nothing more.
dpkg-deb -x "$deb" "$scratch/root"
disguise='vault|encrypt|passcode|secret|hidden|private|pin\b'
for shown in <(dpkg-deb -f "$deb" Description) "$scratch"/root/usr/share/metainfo/*.xml \
    "$scratch"/root/usr/share/applications/*.desktop; do
    if grep -qiE "$disguise" "$shown"; then
        fail "what the system shows gives the vault away:"
        grep -iE "$disguise" "$shown" >&2
    fi
done
for field in Depends Recommends; do
    echo "$field: $(dpkg-deb -f "$deb" "$field")"
done
appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/com.morvenda.Lumisera.metainfo.xml >&2 ||
    fail "the metainfo does not validate"
desktop-file-validate "$scratch"/root/usr/share/applications/com.morvenda.Lumisera.desktop >&2 ||
    fail "the desktop entry does not validate"

# The man page: no groff warning, and every command and option of the help.
man_page="$scratch/root/usr/share/man/man1/lumisera-vault.1.gz"
warnings=$(zcat "$man_page" | groff -man -z -ww 2>&1)
[ -z "$warnings" ] || fail "groff warns about the man page: $warnings"
lexgrog "$man_page" >/dev/null || fail "lexgrog finds no NAME section in the man page"
zcat "$man_page" | sed 's/\\-/-/g; s/\\f[BIRP]//g' >"$scratch/man"
commands=$("$vault" --help | sed -n '/^Commands/,$p' | awk 'NR > 1 { print $1 }')
[ -n "$commands" ] || fail "lumisera-vault --help lists no commands"
options_of() { # the options a help text names
    grep -oE -- '(^|[][ (|,])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z][a-z-]*' | sort -u
}
"$vault" --help | options_of >"$scratch/global-options"
for name in $commands; do
    grep -qw -- "$name" "$scratch/man" || fail "the man page does not name the command $name"
    "$vault" "$name" --help | options_of | grep -vxFf "$scratch/global-options" >"$scratch/options-$name" || true
    for option in $(cat "$scratch/global-options" "$scratch/options-$name"); do
        grep -qw -- "$option" "$scratch/man" || fail "the man page does not name $option ($name --help)"
    done
done

# Bash completion: every command, and each command's options, without any folder look-up.
completions() { # the words bash offers after the given ones, the last one being completed
    DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$0"
        COMP_WORDS=("$@")
        COMP_CWORD=$(($# - 1))
        COMP_LINE="$*"
        COMP_POINT=${#COMP_LINE}
        _lumisera_vault "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}"' "$scratch/root/usr/share/bash-completion/completions/lumisera-vault" "$@" |
        sort
}
[ "$(completions "$vault" '')" = "$(sort <<<"$commands")" ] || fail "completion offers other commands than --help"
for name in $commands; do
    offered=$(completions "$vault" "$name" -)
    for option in $(grep -vx -- -h "$scratch/options-$name"); do
        grep -qx -- "$option" <<<"$offered" || fail "completion of $name does not offer $option"
    done
done
[ -z "$(completions "$vault" ls '' 2>&1)" ] || fail "folder completion without a keyring printed something"

if command -v lintian >/dev/null; then
    echo "lintian (for information):"
    lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v "root privileges" || true
fi

if [ "$failures" -gt 0 ]; then
    echo "check-package: $failures check(s) failed" >&2
    exit 1
fi
echo "check-package: $(basename "$deb") is as expected"
