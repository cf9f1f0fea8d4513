#!/usr/bin/env bash
# Installs the Debian packages of the named sections of deps/debian-packages that are
# missing, and only those. apt-get update runs only when something has to be installed.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list="$here/deps/debian-packages"

wanted=()
for section in "$@"; do
    in=0
    while IFS= read -r line; do
        line=${line%%#*}
        [[ $line =~ ^\[(.*)\]$ ]] && { [[ ${BASH_REMATCH[1]} == "$section" ]] && in=1 || in=0; continue; }
        (( in )) || continue
        for p in $line; do wanted+=("$p"); done
    done < "$list"
done

missing=()
for p in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
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
