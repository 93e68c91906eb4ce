#!/usr/bin/env bash
# Completes pylomir-cli command lines with bash-completion and the shipped
# completion file, and checks the words offered.
# Usage: completion_test.sh COMPLETION_FILE
set -uo pipefail
completion=$1
bash_completion=/usr/share/bash-completion/bash_completion
[[ -r $bash_completion ]] || { echo "FAIL: $bash_completion missing (apt-get install bash-completion)"; exit 1; }
# shellcheck disable=SC1090
source "$bash_completion"
source "$completion"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/dir1" "$tmp/dir2"
: >"$tmp/file.backup"
cd "$tmp" || exit 1

failures=0
# Completes LINE (the cursor at its end) and compares the sorted words.
check() {
    local line=$1 want=$2
    COMP_LINE=$line COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _pylomir_cli pylomir-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | tr '\n' ' ')
    if [[ $got != "${want:+$want }" ]]; then
        echo "FAIL: '$line' offered '$got', want '$want'"
        failures=$((failures + 1))
    fi
}

check 'pylomir-cli ' '--help --version archive clean ignore scan'
check 'pylomir-cli scan --' '--format --help --larger-than --mode --null --older-than --smaller-than'
check 'pylomir-cli clean --t' '--trash'
check 'pylomir-cli clean --dry-run --' '--backup --dry-run --format --help --larger-than --mode --null --older-than --smaller-than --trash --yes'
check 'pylomir-cli scan --mode ' 'bezpieczny mniej-bezpieczny uzytkownika zaawansowany'
check 'pylomir-cli scan --format ' 'csv json text'
check 'pylomir-cli clean --format ' 'json text'
check 'pylomir-cli scan ' 'dir1 dir2'
check 'pylomir-cli clean --yes d' 'dir1 dir2'
check 'pylomir-cli scan --mode bezpieczny ' 'dir1 dir2'
check 'pylomir-cli scan --older-than ' ''
check 'pylomir-cli ignore ' '--help add list remove'
check 'pylomir-cli ignore list --' '--format --help --masks --null'
check 'pylomir-cli ignore add --masks ' ''
check 'pylomir-cli archive ' '--help create info list restore'
check 'pylomir-cli archive create --level ' 'default fastest max none'
check 'pylomir-cli archive restore --to ' 'dir1 dir2'
check 'pylomir-cli archive info f' 'file.backup'
check 'pylomir-cli archive restore --' '--format --full-path --help --rule --to'
check 'pylomir-cli archive create x.backup --' '--format --help --level --max-size --no-file-list --title'

((failures == 0)) && echo ok
exit $((failures > 0))
