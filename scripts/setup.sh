#!/usr/bin/env bash
# Installs the Debian packages of the named sections of deps/debian-packages that are
# missing, and only those. apt-get update runs only when something has to be installed.
#   scripts/setup.sh SECTION...
#   scripts/setup.sh --list SECTION...       prints the sections' packages, installs nothing
#   scripts/setup.sh --packages PACKAGE...   the same for packages named here (pkg:arch too)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list="$here/deps/debian-packages"
mode=sections
[[ ${1:-} == --list || ${1:-} == --packages ]] && { mode=${1#--}; shift; }

wanted=()
[[ $mode == packages ]] && wanted=("$@") && set --
for section in "$@"; do
    in=0
    while IFS= read -r line; do
        line=${line%%#*}
        [[ $line =~ ^\[(.*)\]$ ]] && { [[ ${BASH_REMATCH[1]} == "$section" ]] && in=1 || in=0; continue; }
        (( in )) || continue
        for p in $line; do wanted+=("$p"); done
    done < "$list"
done

if [[ $mode == list ]]; then
    printf '%s\n' "${wanted[@]}"
    exit 0
fi

missing=()
for p in "${wanted[@]}"; do
    # One status line per installed architecture of the package.
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -qx "install ok installed" || missing+=("$p")
done
(( ${#missing[@]} )) || exit 0

# De-duplicate while keeping order.
declare -A seen; uniq=()
for p in "${missing[@]}"; do [[ -n ${seen[$p]:-} ]] || { seen[$p]=1; uniq+=("$p"); }; done

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "setup: missing packages ${uniq[*]} and no sudo to install them" >&2; exit 1; }
    sudo=sudo
fi
echo "setup: installing ${uniq[*]}" >&2
$sudo apt-get update -q >&2
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${uniq[@]}" >&2
