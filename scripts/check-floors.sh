#!/usr/bin/env bash
# The house in floors: every folder under src/ stands on a floor, and a file may
# include only its own floor and the floors below it. Reads every
# `#include "..."` under the source folder and names each one that climbs.
#   scripts/check-floors.sh [SOURCE-FOLDER]   (default: src/ of this tree)
# Exits 0 when no include climbs, 1 otherwise (2 when the folder is missing).
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}
if [ ! -d "$src" ]; then
    echo "check-floors: no source folder $src" >&2
    exit 2
fi

# The floor of each folder, lowest first. A sub-folder named here stands on its
# own floor; one not named stands on its parent's.
declare -A floor=(
    [platform]=1                                       # the platform's stand-ins
    [symbology]=2 [pdf417]=2 [QRCode]=2 [databar]=2    # the engine
    [labels]=3                                         # the label document model
    [vector]=4 [picture]=4                             # the painters and their services
    [labels/runs]=5 [picture/output]=5                 # the runs and the output files
    [automation]=6 [app]=6 [labels/windows]=6 [portable_views]=6 [main.cpp]=6 [desktop_main.cpp]=6 [icons_main.cpp]=6  # front ends
)

# Prints the floor of a path relative to the source folder (a file or a
# folder), by its longest named prefix; nothing when no prefix is named.
floor_of() {
    local p=$1
    while :; do
        if [ -n "${floor[$p]+set}" ]; then
            echo "${floor[$p]}"
            return
        fi
        [[ $p == */* ]] || return 0
        p=${p%/*}
    done
}

status=0
while IFS= read -r -d '' file; do
    rel=${file#"$src"/}
    own=$(floor_of "$rel")
    if [ -z "$own" ]; then
        echo "$rel: its folder has no floor (name it in scripts/check-floors.sh)"
        status=1
        continue
    fi
    dir=$(dirname "$rel")
    while IFS= read -r line; do
        inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$line")
        # A bare name is a file of the including folder.
        [[ $inc == */* ]] || continue
        target=$(floor_of "$inc")
        if [ -z "$target" ]; then
            # Not a source folder of ours (a path relative to the file, say).
            [ -e "$src/$dir/$inc" ] && target=$(floor_of "$dir/$inc")
            [ -n "$target" ] || continue
        fi
        if [ "$target" -gt "$own" ]; then
            echo "$rel: #include \"$inc\" climbs from floor $own to floor $target"
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ $status -ne 0 ]; then
    echo "check-floors: includes climb (each folder includes only its floor and those below)" >&2
fi
exit $status
